#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/picture_format.h"
#include "platform/file_copy.h"

namespace quorvale {

class GenerationContext;

// Copies album `album_number`'s pictures into its image folder under their file names,
// skipping a picture whose published copy has the same size and last-modified time.
// A missing picture is an error, an album without pictures a warning. A stop request
// is honoured before each picture.
void PublishAlbumPictures(GenerationContext& context, int album_number);

// How one picture is published: under its file name as it is, or, for a picture of a
// format the viewer cannot show, as a JPEG made from it under a name of its own.
struct PicturePublication {
  std::string name;
  PictureFormat stand_in_for = PictureFormat::kNone;  // the picture's format when `name` is a stand-in
  std::optional<FileStamp> source_stamp{};  // the picture's, when already looked up in this run
};

// PublishAlbumPictures with the publications of the album's pictures, in album order.
// A stand-in is one counted WARNING line saying so instead of the copying line; it is
// made through the job's imaging port unless it is newer than its picture.
void PublishAlbumPictures(GenerationContext& context, int album_number,
                          const std::vector<PicturePublication>& publications);

// What every way of publishing an album's pictures reports alike.
// An album without pictures: the warning line, one warning.
void ReportEmptyAlbum(GenerationContext& context);
// The stamp of picture `path`, to be published; nothing when it cannot be: a missing
// picture is the "ERROR IN COPY" line and one error, one that cannot be looked up a
// counted failure naming the reason. Looked up through `sources`, unless `known` (looked
// up earlier in the run) gives it.
std::optional<FileStamp> StampOfPictureToPublish(GenerationContext& context, SourceStamps& sources,
                                                 const std::string& path,
                                                 const std::optional<FileStamp>& known = std::nullopt);

// The stamp of the published file `name` in album `album_number`'s image folder, open as
// `folder`: as looked up before the album's step, else through `folder`.
std::optional<FileStamp> StampOfPublishedFile(GenerationContext& context, FolderBelow& folder, int album_number,
                                              const std::string& name);

}  // namespace quorvale
