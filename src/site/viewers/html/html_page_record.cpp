#include "viewers/html/html_page_record.h"

#include <charconv>

namespace quorvale {
namespace {

constexpr std::string_view kFormatLine = "quorvale-page 1";
constexpr std::string_view kLineEnd = "\r\n";

template <typename Number>
bool ReadNumber(std::string_view text, Number& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

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
  if (!bytes.starts_with(kFormatLine) || !bytes.substr(kFormatLine.size()).starts_with(kLineEnd) ||
      !bytes.ends_with(kLineEnd)) {
    return std::nullopt;
  }
  std::string_view line = bytes.substr(kFormatLine.size() + kLineEnd.size());
  line.remove_suffix(kLineEnd.size());
  HtmlPageRecord record;
  const auto digest = TakeField(line);
  const auto size = TakeField(line);
  const auto seconds = TakeField(line);
  if (!digest || digest->empty() || digest->find_first_of("\r\n") != std::string_view::npos || !size ||
      !seconds || !ReadNumber(*size, record.page.size) || !ReadNumber(*seconds, record.page.modified_seconds) ||
      !ReadNumber(line, record.page.modified_nanoseconds)) {
    return std::nullopt;
  }
  record.digest = *digest;
  return record;
}

}  // namespace quorvale
