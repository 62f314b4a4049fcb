#pragma once

namespace quorvale {

class GenerationContext;

// Copies album `album_number`'s pictures into its image folder under their file names,
// skipping a picture whose published copy has the same size and last-modified time.
// A missing picture is an error, an album without pictures a warning. A stop request
// is honoured before each picture.
void PublishAlbumPictures(GenerationContext& context, int album_number);

}  // namespace quorvale
