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

ProgressBarState ProgressBarFor(const GenerationProgress& progress) {
  return {progress.pictures_done, progress.pictures_total, ProgressText(progress)};
}

ProgressBarState FileProgressBar(std::size_t done, std::size_t total) {
  return {static_cast<int>(done), static_cast<int>(total),
          std::to_string(done) + " of " + std::to_string(total) + (total == 1 ? " file" : " files")};
}

}  // namespace quorvale
