#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/file_copy.h"

namespace quorvale {

// What made an album's page: the digest of everything the page shows (HtmlAlbumPageDigest)
// and the page file as the run left it. While both hold, the page need not be built
// again to know that it is up to date.
struct HtmlPageRecord {
  std::string digest;
  FileStamp page;
  bool operator==(const HtmlPageRecord&) const = default;
};

// A record file holds at most this many bytes; a larger one is not read.
inline constexpr std::uintmax_t kMaxHtmlPageRecordBytes = 4096;

// The record as a file: a line naming the format, then the digest, the page's size,
// seconds and nanoseconds, tab-separated, each line ended by CR LF.
std::string HtmlPageRecordBytes(const HtmlPageRecord& record);

// The record in `bytes`, or nothing when they are not a whole, well-formed record: a
// damaged record only means the page is built and compared again.
std::optional<HtmlPageRecord> ParseHtmlPageRecord(std::string_view bytes);

}  // namespace quorvale
