#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "imaging/picture_facts.h"
#include "platform/file_copy.h"

namespace quorvale {

// What an earlier run published as one original: from which source (as it was then)
// and the published file as that run left it. A published original is cleaned of
// metadata, so its size differs from the source's: this, not the copy's own size and
// time, says whether it is still up to date. The facts the published file shows (its
// size being the copy's) are kept too, so a later run need not read the file for them.
struct PublishedOriginalEntry {
  std::string source;
  FileStamp source_stamp;
  FileStamp copy_stamp;
  std::optional<PictureFacts> facts;
  bool operator==(const PublishedOriginalEntry&) const = default;
};

// The record of an album's published originals, by published file name. Only valid for
// the location choice it was made with.
struct OriginalsRecord {
  bool keep_location = false;
  std::map<std::string, PublishedOriginalEntry> originals;
  // The settled stamp (see SettledFolderStampBelow) of the album's image folder, when a
  // run found it holding these originals and nothing else: while the folder keeps it,
  // it holds them still, and nothing a killed run left half-written.
  std::optional<FileStamp> folder;
  bool operator==(const OriginalsRecord&) const = default;
};

// A record file holds at most this many bytes; a larger one is not read.
inline constexpr std::uintmax_t kMaxOriginalsRecordBytes = 8u << 20;

// The record as a file: a first line naming the format, a settings line, a line of the
// folder's stamp ("folder", then its size, seconds and nanoseconds, tab-separated, or
// "folder" alone when there is none), then one line per original of tab-separated fields (the source's size and time, the copy's size
// and time, the facts' width, height, date, camera and location, then the published
// name and the source path, in UTF-8), every line ended by CR LF. Facts that are not
// known, or hold a tab or a line break, are written as a width and height of "-" and
// empty texts. An entry whose name or path holds a tab or a line break is left out, so
// it is published again next time rather than misread. Records of the formats before,
// without the folder's line (and the first of them without facts), are read too.
std::string OriginalsRecordBytes(const OriginalsRecord& record);

// The record in `bytes`, or nothing when they are not a whole, well-formed record: a
// damaged record only means the originals are published again.
std::optional<OriginalsRecord> ParseOriginalsRecord(std::string_view bytes);

}  // namespace quorvale
