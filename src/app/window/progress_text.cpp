#include "window/progress_text.h"

namespace quorvale {

std::string ProgressText(const GenerationProgress& progress) {
  std::string text = std::to_string(progress.pictures_done) + " of " + std::to_string(progress.pictures_total) +
                     (progress.pictures_total == 1 ? " picture" : " pictures");
  if (progress.album_number >= 0) {
    text += " - album " + std::to_string(progress.album_number + 1) + ": " + progress.album_title;
  }
  return text;
}

}  // namespace quorvale
