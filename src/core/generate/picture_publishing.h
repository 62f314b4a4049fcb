#pragma once

#include <string>

#include "generate/generation_context.h"

namespace quorvale {

// PhotoAlbum/images/album-N in the Publishing Directory (plain concatenation).
std::string AlbumImageFolder(const std::string& publish_directory, int album_number);

// Copies album `album_number`'s pictures into its image folder under their file names,
// skipping a picture whose published copy has the same size and last-modified time.
// A missing picture is an error, an album without pictures a warning.
void PublishAlbumPictures(const GenerationContext& context, const std::string& publish_directory, int album_number);

}  // namespace quorvale
