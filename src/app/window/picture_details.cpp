#include "window/picture_details.h"

#include <array>
#include <cstdio>

namespace quorvale {
namespace {

std::string FileSizeText(std::uintmax_t bytes) {
  if (bytes < 1024) return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
  static constexpr std::array<const char*, 4> kUnits = {"KB", "MB", "GB", "TB"};
  double size = static_cast<double>(bytes) / 1024.0;
  std::size_t unit = 0;
  // 1023.96 KB would print as "1024.0 KB": such a size is shown in the next unit.
  while (size >= 1023.95 && unit + 1 < kUnits.size()) {
    size /= 1024.0;
    ++unit;
  }
  std::array<char, 32> text{};
  std::snprintf(text.data(), text.size(), "%.1f %s", size, kUnits[unit]);
  return text.data();
}

}  // namespace

std::string PictureDetails(int width, int height, std::uintmax_t file_bytes) {
  return std::to_string(width) + " \xC3\x97 " + std::to_string(height) + " pixels, " + FileSizeText(file_bytes);
}

}  // namespace quorvale
