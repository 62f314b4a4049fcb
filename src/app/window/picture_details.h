#pragma once

#include <cstdint>
#include <string>

namespace quorvale {

// The texts under the picture preview on the Content page.
inline constexpr const char* kPictureNotFound = "Picture not found";
inline constexpr const char* kCannotReadPicture = "Cannot read this picture";

// The selected picture's pixel size and file size, as "4000 × 3000 pixels, 5.2 MB".
// Sizes count in units of 1024 bytes with one decimal; under 1 KB in bytes.
std::string PictureDetails(int width, int height, std::uintmax_t file_bytes);

}  // namespace quorvale
