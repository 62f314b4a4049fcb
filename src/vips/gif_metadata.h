#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvale {

// Whether `bytes` begin like a GIF file.
bool IsGif(std::string_view bytes);

// A GIF file without the application blocks that may carry metadata (XMP among them);
// the header, colour tables, image data, comments, and the blocks that loop an
// animation or hold its colour profile are copied unchanged, and anything after the
// trailer is dropped. Nothing when the file's block structure is damaged.
std::optional<std::string> GifWithoutMetadata(std::string_view bytes);

}  // namespace quorvale
