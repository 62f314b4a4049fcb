#pragma once

#include <string>
#include <vector>

namespace quorvale {

class GenerationContext;

// Copies album `album_number`'s pictures into its image folder under their file names,
// skipping a picture whose published copy has the same size and last-modified time.
// A missing picture is an error, an album without pictures a warning. A stop request
// is honoured before each picture.
void PublishAlbumPictures(GenerationContext& context, int album_number);

// The same, each picture published under the name at its position in `published_names`
// (one per picture of the album, in album order) instead of its own file name, for a
// viewer whose next step (the pictures' images) counts the run's progress.
void PublishAlbumPictures(GenerationContext& context, int album_number,
                          const std::vector<std::string>& published_names);

}  // namespace quorvale
