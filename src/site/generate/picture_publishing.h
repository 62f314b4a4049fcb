#pragma once

#include <optional>
#include <string>

#include "platform/file_copy.h"

namespace quorvale {

class GenerationContext;

// Copies album `album_number`'s pictures into its image folder under their file names,
// skipping a picture whose published copy has the same size and last-modified time.
// A missing picture is an error, an album without pictures a warning. A stop request
// is honoured before each picture.
void PublishAlbumPictures(GenerationContext& context, int album_number);

// What every way of publishing an album's pictures reports alike.
// An album without pictures: the warning line, one warning.
void ReportEmptyAlbum(GenerationContext& context);
// The stamp of picture `path`, to be published; nothing when it cannot be: a missing
// picture is the "ERROR IN COPY" line and one error, one that cannot be looked up a
// counted failure naming the reason.
std::optional<FileStamp> StampOfPictureToPublish(GenerationContext& context, const std::string& path);

}  // namespace quorvale
