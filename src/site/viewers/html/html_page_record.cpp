#include "viewers/html/html_page_record.h"

#include "platform/number_text.h"
#include "platform/record_text.h"

namespace quorvale {
namespace {

constexpr std::string_view kFormatLine = "quorvale-page 1";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kPageFields = 5;
constexpr std::size_t kDisplayFields = 9;

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
  const auto fields = SplitFields<kDisplayFields>(line, '\t');
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
  if (bytes.size() > kMaxHtmlPageRecordBytes) return std::nullopt;
  HtmlPageRecord record;
  std::size_t lines = 0;
  const bool whole = ReadRecordLines(bytes, [&](std::size_t number, std::string_view line) {
    lines = number + 1;
    if (number == 0) return line == kFormatLine;
    if (number == 1) {
      const auto fields = SplitFields<kPageFields>(line, '\t');
      if (!fields || (*fields)[0].empty() || (*fields)[1].empty() || !ReadStamp(&(*fields)[2], record.page)) {
        return false;
      }
      record.code = (*fields)[0];
      record.digest = (*fields)[1];
      return true;
    }
    auto display = ParseDisplay(line);
    if (!display) return false;
    record.display_facts.insert(std::move(*display));
    return true;
  });
  if (!whole || lines < 2) return std::nullopt;
  return record;
}

}  // namespace quorvale
