#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "imaging/picture_facts.h"
#include "platform/file_copy.h"

namespace quorvale {

// The facts a page shows of one display copy (a site that publishes no originals shows
// those of the widest), with the copy's stamp when they were read: while the copy keeps
// that stamp, it need not be read for them again.
struct DisplayFacts {
  FileStamp copy;
  PictureFacts facts;
  bool operator==(const DisplayFacts&) const = default;
};

// What made an album's page: the identity of the code that made it, the digest of
// everything the page shows (HtmlAlbumPageDigest) and the page file as the run left it.
// While they hold, the page need not be built again to know that it is up to date. The
// display copies' facts, by file name, were read by that code.
struct HtmlPageRecord {
  std::string code;
  std::string digest;
  FileStamp page;
  std::map<std::string, DisplayFacts> display_facts;
  bool operator==(const HtmlPageRecord&) const = default;
};

// A record file holds at most this many bytes; a larger one is not read.
inline constexpr std::uintmax_t kMaxHtmlPageRecordBytes = 1u << 20;

// The record as a file: a line naming the format; a line of the code's identity, the
// digest, the page's size, seconds and nanoseconds; then a line per display copy: its
// name, size, seconds, nanoseconds, and the facts' width, height, date, camera and
// location. Fields are tab-separated, lines ended by CR LF, texts in UTF-8. A display
// copy whose name or facts hold a tab or line end is left out.
std::string HtmlPageRecordBytes(const HtmlPageRecord& record);

// The record in `bytes`, or nothing when they are not a whole, well-formed record: a
// damaged record only means the page is built and compared, and the copies read, again.
std::optional<HtmlPageRecord> ParseHtmlPageRecord(std::string_view bytes);

}  // namespace quorvale
