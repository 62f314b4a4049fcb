#include "viewers/html/html_page_record.h"

#include <array>

#include "platform/number_text.h"
#include "platform/text_codec.h"

namespace quorvale {
namespace {

constexpr std::string_view kFormatLine = "quorvale-page 1";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kPageFields = 5;
constexpr std::size_t kDisplayFields = 9;

// The tab-separated fields of `line`, when there are exactly `Count` of them.
template <std::size_t Count>
std::optional<std::array<std::string_view, Count>> Fields(std::string_view line) {
  std::array<std::string_view, Count> fields;
  for (std::size_t i = 0; i + 1 < Count; ++i) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return std::nullopt;
    fields[i] = line.substr(0, tab);
    line.remove_prefix(tab + 1);
  }
  if (line.find('\t') != std::string_view::npos) return std::nullopt;
  fields[Count - 1] = line;
  return fields;
}

std::string& AppendStamp(std::string& bytes, const FileStamp& stamp) {
  AppendNumber(bytes, stamp.size) += '\t';
  AppendNumber(bytes, stamp.modified_seconds) += '\t';
  return AppendNumber(bytes, stamp.modified_nanoseconds);
}

bool ReadStamp(const std::string_view* fields, FileStamp& stamp) {
  return ReadWholeNumber(fields[0], stamp.size) && ReadWholeNumber(fields[1], stamp.modified_seconds) &&
         ReadWholeNumber(fields[2], stamp.modified_nanoseconds);
}

std::optional<std::pair<std::string, DisplayFacts>> ParseDisplay(std::string_view line) {
  const auto fields = Fields<kDisplayFields>(line);
  DisplayFacts display;
  PictureFacts& facts = display.facts;
  if (!fields || (*fields)[0].empty() || !ReadStamp(&(*fields)[1], display.copy) ||
      !ReadWholeNumber((*fields)[4], facts.width) || !ReadWholeNumber((*fields)[5], facts.height)) {
    return std::nullopt;
  }
  facts.taken = (*fields)[6];
  facts.camera = (*fields)[7];
  facts.location = (*fields)[8];
  facts.bytes = display.copy.size;
  return std::pair{std::string((*fields)[0]), std::move(display)};
}

}  // namespace

std::string HtmlPageRecordBytes(const HtmlPageRecord& record) {
  std::string bytes(kFormatLine);
  bytes.append(kLineEnd).append(record.code).append("\t").append(record.digest).append("\t");
  AppendStamp(bytes, record.page).append(kLineEnd);
  for (const auto& [name, display] : record.display_facts) {
    const PictureFacts& facts = display.facts;
    if (!IsOneField(name) || !IsOneField(facts.taken) || !IsOneField(facts.camera) || !IsOneField(facts.location)) {
      continue;
    }
    AppendStamp(bytes.append(name) += '\t', display.copy) += '\t';
    AppendNumber(bytes, facts.width) += '\t';
    AppendNumber(bytes, facts.height) += '\t';
    bytes.append(facts.taken).append("\t").append(facts.camera).append("\t").append(facts.location).append(kLineEnd);
  }
  return bytes;
}

std::optional<HtmlPageRecord> ParseHtmlPageRecord(std::string_view bytes) {
  // Every line, the last included, ends with CR LF: a file cut short is damaged.
  if (bytes.size() > kMaxHtmlPageRecordBytes || !bytes.ends_with(kLineEnd)) return std::nullopt;
  HtmlPageRecord record;
  std::size_t number = 0;
  for (std::size_t from = 0; from < bytes.size(); ++number) {
    const std::size_t end = bytes.find(kLineEnd, from);
    const std::string_view line = bytes.substr(from, end - from);
    from = end + kLineEnd.size();
    if (number == 0) {
      if (line != kFormatLine) return std::nullopt;
    } else if (number == 1) {
      const auto fields = Fields<kPageFields>(line);
      if (!fields || (*fields)[0].empty() || (*fields)[1].empty() || !ReadStamp(&(*fields)[2], record.page)) {
        return std::nullopt;
      }
      record.code = (*fields)[0];
      record.digest = (*fields)[1];
    } else {
      auto display = ParseDisplay(line);
      if (!display) return std::nullopt;
      record.display_facts.insert(std::move(*display));
    }
  }
  if (number < 2) return std::nullopt;
  return record;
}

}  // namespace quorvale
