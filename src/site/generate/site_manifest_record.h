#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_copy.h"

namespace quorvale {

// What wrote the site's manifest file and its changes file last: the identity of the
// code, the digest of the files they list (SiteManifest::Digest) and the two files as
// the run left them (the changes file, when there was one). While they hold, a run of
// the same digest need not make the manifest's lines to know that the files already
// list them.
struct SiteManifestRecord {
  std::string code;
  std::string digest;
  FileStamp manifest;
  std::optional<FileStamp> changes;
  bool operator==(const SiteManifestRecord&) const = default;
};

// A record file holds at most this many bytes; a larger one is not read.
inline constexpr std::uintmax_t kMaxSiteManifestRecordBytes = 4096;

// The record as a file: a line naming the format, then the code's identity, the digest,
// the manifest file's size, seconds and nanoseconds, and the changes file's (three empty
// fields when there is none), tab-separated, each line ended by CR LF.
std::string SiteManifestRecordBytes(const SiteManifestRecord& record);

// The record in `bytes`, or nothing when they are not a whole, well-formed record: a
// damaged record only means the manifest's lines are made again.
std::optional<SiteManifestRecord> ParseSiteManifestRecord(std::string_view bytes);

}  // namespace quorvale
