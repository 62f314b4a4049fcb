#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/picture_imaging.h"
#include "platform/file_copy.h"

namespace quorvale {

// What an earlier run made for one picture: from which source (as it was then), the
// stems of its thumbnails and display copies (see SizedImagePath), their sizes, and
// the images' stamps as written (in SizedImagePaths order; empty when not known), so a
// later run needs only the folders' listings to find them still there.
struct RecordedPicture {
  std::string source;
  FileStamp source_stamp;
  std::string thumbnail;
  std::string display;
  PreparedPicture sizes;
  std::vector<FileStamp> image_stamps;
  bool operator==(const RecordedPicture&) const = default;
};

// The record of an album's images, kept beside them so that an unchanged picture is
// not opened again. Only valid for the settings it was made with.
struct ImagingRecord {
  ImagingSettings settings;
  std::vector<RecordedPicture> pictures;
  // The settled stamps (see SettledFolderStampBelow) of the folders of thumbnails and of
  // display copies taken before a run found each holding the record's images and no
  // other file; nothing where no such stamp was had. While a folder keeps its stamp,
  // it holds just those images and need not be listed.
  std::optional<FileStamp> thumbnail_folder;
  std::optional<FileStamp> display_folder;
  bool operator==(const ImagingRecord&) const = default;
};

// The record as a file: a first line naming the format, a settings line, a line of the
// folders' stamps ("folders", then each stamp as "size.seconds.nanoseconds" or "-"
// for none, separated by blanks), then one line per picture of tab-separated fields (the sizes as "256x256,512x512", the images'
// stamps as "size.seconds.nanoseconds" separated by commas, the paths last, in UTF-8),
// every line ended by CR LF. A picture whose paths hold a tab or a line break is left
// out, so it is made again next time rather than misread. Records of the two formats
// before are read too: without the folders' stamps, and without the images' stamps
// either.
std::string ImagingRecordBytes(const ImagingRecord& record);

// The largest record that is read, and the longest line in it. An album holds at most a
// hundred pictures, each line three paths and a few sizes: far below both. Anything
// larger is refused before it is read or split, and the work is done again.
inline constexpr std::size_t kMaxImagingRecordBytes = std::size_t{16} << 20;
inline constexpr std::size_t kMaxImagingRecordLineBytes = std::size_t{1} << 20;

// The record in `bytes`, or nothing when they are not a whole, well-formed record: a
// damaged or oversized record only means the work is done again. Each line is checked
// for its length and its number of fields before they are read.
std::optional<ImagingRecord> ParseImagingRecord(std::string_view bytes);

}  // namespace quorvale
