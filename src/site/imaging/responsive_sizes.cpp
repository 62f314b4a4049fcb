#include "imaging/responsive_sizes.h"

#include <algorithm>
#include <cmath>

namespace quorvale {
namespace {

// `width` x `height` scaled to fit `box` x `box`, never up.
ImageSize Fit(int width, int height, int box) {
  const int longer = std::max(width, height);
  if (longer <= box) return {width, height};
  const double scale = static_cast<double>(box) / longer;
  return {std::max(1, static_cast<int>(std::lround(width * scale))),
          std::max(1, static_cast<int>(std::lround(height * scale)))};
}

std::vector<int> Ascending(std::vector<int> values) {
  std::sort(values.begin(), values.end());
  return values;
}

}  // namespace

ResponsiveSizes ResponsiveSizesOf(int width, int height, const ImagingSettings& settings) {
  ResponsiveSizes sizes;
  if (width <= 0 || height <= 0) return sizes;
  for (const int box : Ascending(settings.display_boxes)) {
    const ImageSize size = Fit(width, height, box);
    if (sizes.displays.empty() || sizes.displays.back().width != size.width) sizes.displays.push_back(size);
  }
  const int shorter = std::min(width, height);
  for (const int side : Ascending(settings.thumbnail_sides)) {
    const int made = std::min(side, shorter);
    if (sizes.thumbnails.empty() || sizes.thumbnails.back().width != made) sizes.thumbnails.push_back({made, made});
  }
  return sizes;
}

std::string SizedImagePath(const std::string& stem, int width, bool webp) {
  const std::string number = std::to_string(width);
  std::string path;
  path.reserve(stem.size() + 1 + number.size() + 5);
  path.append(stem).append("-").append(number).append(webp ? ".webp" : ".jpg");
  return path;
}

std::vector<std::string> SizedImagePaths(const std::string& thumbnail_stem, const std::string& display_stem,
                                         const PreparedPicture& sizes) {
  std::vector<std::string> paths;
  paths.reserve(2 * (sizes.thumbnails.size() + sizes.displays.size()));
  for (const ImageSize& size : sizes.thumbnails) {
    paths.push_back(SizedImagePath(thumbnail_stem, size.width, false));
    if (sizes.thumbnails_webp) paths.push_back(SizedImagePath(thumbnail_stem, size.width, true));
  }
  for (std::size_t i = 0; i < sizes.displays.size(); ++i) {
    const bool original = sizes.display_is_original && i + 1 == sizes.displays.size();
    if (!original) paths.push_back(SizedImagePath(display_stem, sizes.displays[i].width, false));
    if (sizes.displays_webp) paths.push_back(SizedImagePath(display_stem, sizes.displays[i].width, true));
  }
  return paths;
}

}  // namespace quorvale
