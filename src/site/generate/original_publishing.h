#pragma once

#include <optional>
#include <string>
#include <vector>

#include "imaging/picture_facts.h"
#include "platform/file_copy.h"

namespace quorvale {

class GenerationContext;

// Publishes album `album_number`'s originals for download, for a viewer whose pages
// link them, each under the name at its position in `published_names` (one per picture,
// in album order).
//
// With PublishPictures off nothing is published: a missing picture is still an error
// and an album without pictures a warning, as when copying. With it on, each original
// is published cleaned of the fields that identify the camera and its owner and, unless
// KeepLocation, of its location, through the job's imaging port; the cleaned bytes are
// written below the Publishing Directory by the contained writer. A record beside the
// album folder (the source's size and time, the copy as written, the location choice)
// says which originals are up to date: those are skipped without being read. A picture
// that cannot be cleaned is one counted error and is not published. A stop request is
// honoured before each picture.
//
// What the step learnt of one picture, for the steps that follow in the same run.
struct PublishedOriginal {
  // The source's stamp as it was looked up; nothing for a picture that was not found or
  // not reached.
  std::optional<FileStamp> source_stamp;
  // The facts of the original as published (kept in the record with it, so an
  // original that stays as it was is not read for them); nothing when none was.
  std::optional<PictureFacts> facts;
};

// Returns what it learnt of each picture, in album order.
std::vector<PublishedOriginal> PublishAlbumOriginals(GenerationContext& context, int album_number,
                                                     const std::vector<std::string>& published_names);

// For a site that no longer publishes album `album_number`'s originals, called once its
// page links none: removes from the album's image folder the files under the album's
// published names (what this or an earlier release published there, location and all)
// and under the names its record lists, then the record. Only regular files are
// removed; a link or any other entry in such a place is one counted error and stays.
void WithdrawAlbumOriginals(GenerationContext& context, int album_number,
                            const std::vector<std::string>& published_names);

}  // namespace quorvale
