#include "viewers/html/html_page_record.h"

#include "platform/number_text.h"
#include "platform/text_codec.h"

namespace quorvale {
namespace {

constexpr std::string_view kFormatLine = "quorvale-page 1";
constexpr std::string_view kLineEnd = "\r\n";

// The text before the next tab, taken off `line`; nothing when there is no tab.
std::optional<std::string_view> TakeField(std::string_view& line) {
  const std::size_t tab = line.find('\t');
  if (tab == std::string_view::npos) return std::nullopt;
  const std::string_view field = line.substr(0, tab);
  line.remove_prefix(tab + 1);
  return field;
}

}  // namespace

std::string HtmlPageRecordBytes(const HtmlPageRecord& record) {
  std::string bytes(kFormatLine);
  bytes.append(kLineEnd).append(record.digest).append("\t");
  bytes.append(std::to_string(record.page.size)).append("\t");
  bytes.append(std::to_string(record.page.modified_seconds)).append("\t");
  bytes.append(std::to_string(record.page.modified_nanoseconds)).append(kLineEnd);
  return bytes;
}

std::optional<HtmlPageRecord> ParseHtmlPageRecord(std::string_view bytes) {
  // The format's line, then one more line, each ended by CR LF.
  const std::size_t second_line_at = kFormatLine.size() + kLineEnd.size();
  if (bytes.size() <= second_line_at + kLineEnd.size() || !bytes.starts_with(kFormatLine) ||
      !bytes.substr(kFormatLine.size()).starts_with(kLineEnd) || !bytes.ends_with(kLineEnd)) {
    return std::nullopt;
  }
  std::string_view line = bytes.substr(second_line_at, bytes.size() - second_line_at - kLineEnd.size());
  HtmlPageRecord record;
  const auto digest = TakeField(line);
  const auto size = TakeField(line);
  const auto seconds = TakeField(line);
  if (!digest || digest->empty() || !IsOneField(*digest) || !size || !seconds ||
      !ReadWholeNumber(*size, record.page.size) || !ReadWholeNumber(*seconds, record.page.modified_seconds) ||
      !ReadWholeNumber(line, record.page.modified_nanoseconds)) {
    return std::nullopt;
  }
  record.digest = *digest;
  return record;
}

}  // namespace quorvale
