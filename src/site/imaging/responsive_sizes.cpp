#include "imaging/responsive_sizes.h"

#include <algorithm>
#include <charconv>
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
  std::string path;
  AssignSizedImagePath(path, stem, width, webp);
  return path;
}

void AssignSizedImagePath(std::string& path, std::string_view stem, int width, bool webp) {
  // Written in place: a run names every image of every picture this way.
  char number[16];
  const auto [end, error] = std::to_chars(number, number + sizeof number, width);
  const std::string_view digits(number, static_cast<std::size_t>(end - number));
  const std::string_view extension = webp ? ".webp" : ".jpg";
  path.resize(stem.size() + 1 + digits.size() + extension.size());
  char* out = path.data();
  out = std::copy(stem.begin(), stem.end(), out);
  *out++ = '-';
  out = std::copy(digits.begin(), digits.end(), out);
  std::copy(extension.begin(), extension.end(), out);
}

std::vector<std::string> SizedImagePaths(const std::string& thumbnail_stem, const std::string& display_stem,
                                         const PreparedPicture& sizes) {
  std::vector<std::string> paths;
  paths.reserve(2 * (sizes.thumbnails.size() + sizes.displays.size()));
  ForEachSizedImage(sizes, [&](bool thumbnail, int width, bool webp) {
    paths.push_back(SizedImagePath(thumbnail ? thumbnail_stem : display_stem, width, webp));
  });
  return paths;
}

}  // namespace quorvale
