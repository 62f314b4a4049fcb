#pragma once

#include <filesystem>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "imaging/picture_imaging.h"

namespace quorvale::testing {

// Answers with a few bytes for each image, naming its source, and with sizes made from
// the settings; a source whose name starts with "bad" is refused, one starting with
// "small" serves as its own display copy.
class FakeImaging : public PictureImaging {
 public:
  std::variant<PreparedImages, std::string> Prepare(const std::string& source,
                                                    const ImagingSettings& settings) override {
    {
      std::lock_guard lock(mutex_);
      opened_.insert(std::filesystem::path(source).filename().string());
      ++calls_;
    }
    if (on_prepare) on_prepare();
    const std::string name = std::filesystem::path(source).filename().string();
    if (name.starts_with("bad")) return "not a picture";
    // Thumbnails of every side; display copies of every box, or the original alone; a
    // WebP beside each thumbnail, none beside the display copies.
    const bool original = name.starts_with("small");
    PreparedImages images;
    images.sizes.display_is_original = original;
    images.sizes.thumbnails_webp = true;
    for (const int side : settings.thumbnail_sides) {
      images.sizes.thumbnails.push_back({side, side});
      images.thumbnails.push_back({"thumbnail of " + name, "WebP thumbnail of " + name});
    }
    for (const int box : original ? std::vector<int>{640} : settings.display_boxes) {
      images.sizes.displays.push_back({box, box / 2});
      images.displays.push_back({original ? std::string() : "display copy of " + name, {}});
    }
    return images;
  }

  // The cleaned original: what was removed, then the source's bytes; bytes that start
  // with "bad" cannot be cleaned.
  std::variant<CleanedOriginal, std::string> CleanOriginal(std::string_view bytes, bool keep_location) override {
    if (bytes.starts_with("bad")) return "its metadata cannot be rewritten";
    return CleanedOriginal{(keep_location ? "without serials: " : "without location and serials: ") +
                           std::string(bytes)};
  }

  // The stand-in JPEG: a few bytes naming its source; a source whose name starts with
  // "bad" cannot be made one.
  std::variant<StandInJpeg, std::string> MakeStandIn(const std::string& source) override {
    const std::string name = std::filesystem::path(source).filename().string();
    if (name.starts_with("bad")) return "not a picture";
    return StandInJpeg{"JPEG made from " + name};
  }

  std::set<std::string> TakeOpened() {
    std::lock_guard lock(mutex_);
    return std::exchange(opened_, {});
  }
  int calls() const { return calls_; }
  std::function<void()> on_prepare;

 private:
  std::mutex mutex_;
  std::set<std::string> opened_;
  int calls_ = 0;
};

}  // namespace quorvale::testing
