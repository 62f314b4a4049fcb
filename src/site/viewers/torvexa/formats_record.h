#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "model/picture_format.h"
#include "platform/file_copy.h"

namespace quorvale {

// What a picture was found to be when it had this size and last-modified time.
struct RecordedFormat {
  FileStamp stamp;
  PictureFormat format = PictureFormat::kNone;
  bool operator==(const RecordedFormat&) const = default;
};

// The Torvexa site's record of an album's pictures' formats, by picture path, so a run
// need not read an unchanged picture again to tell whether the applet can show it.
using FormatsRecord = std::unordered_map<std::string, RecordedFormat>;

// A record file holds at most this many bytes; a larger one is not read.
inline constexpr std::uintmax_t kMaxFormatsRecordBytes = 8u << 20;

// The record as a file: a first line naming the format, then one line per picture, in
// path order, of tab-separated fields: size, seconds, nanoseconds, the format's name
// ("JPEG", ...; "-" for none Quorvale knows) and the path in UTF-8, every line ended by
// CR LF. A path holding a tab or a line break is left out.
std::string FormatsRecordBytes(const FormatsRecord& record);
// The record of a file, or nothing when it is no whole record of this format.
std::optional<FormatsRecord> ParseFormatsRecord(std::string_view bytes);

}  // namespace quorvale
