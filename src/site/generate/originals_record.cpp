#include "generate/originals_record.h"

#include <array>
#include <charconv>

namespace quorvale {
namespace {

constexpr std::string_view kFormatLine = "quorvale-originals 1";
constexpr std::string_view kKeepLocationLine = "keep-location 1";
constexpr std::string_view kDropLocationLine = "keep-location 0";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kNumberFields = 6;

bool Storable(std::string_view text) { return text.find_first_of("\t\r\n") == std::string_view::npos; }

template <typename Number>
bool ReadNumber(std::string_view text, Number& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

// One original's line: six numbers, the name, the source; nothing when it is not so.
std::optional<std::pair<std::string, PublishedOriginalEntry>> ParseEntry(std::string_view line) {
  std::array<std::string_view, kNumberFields + 2> fields;
  for (std::size_t i = 0; i + 1 < fields.size(); ++i) {
    const std::size_t cut = line.find('\t');
    if (cut == std::string_view::npos) return std::nullopt;
    fields[i] = line.substr(0, cut);
    line.remove_prefix(cut + 1);
  }
  fields.back() = line;  // the source path: the rest of the line, tabs cannot be in it
  PublishedOriginalEntry entry;
  FileStamp& from = entry.source_stamp;
  FileStamp& copy = entry.copy_stamp;
  if (!ReadNumber(fields[0], from.size) || !ReadNumber(fields[1], from.modified_seconds) ||
      !ReadNumber(fields[2], from.modified_nanoseconds) || !ReadNumber(fields[3], copy.size) ||
      !ReadNumber(fields[4], copy.modified_seconds) || !ReadNumber(fields[5], copy.modified_nanoseconds) ||
      fields[6].empty() || fields[7].empty() || !Storable(fields[7])) {
    return std::nullopt;
  }
  entry.source = fields[7];
  return std::pair{std::string(fields[6]), std::move(entry)};
}

}  // namespace

std::string OriginalsRecordBytes(const OriginalsRecord& record) {
  std::string bytes;
  bytes.append(kFormatLine).append(kLineEnd);
  bytes.append(record.keep_location ? kKeepLocationLine : kDropLocationLine).append(kLineEnd);
  for (const auto& [name, entry] : record.originals) {
    if (!Storable(name) || !Storable(entry.source)) continue;
    for (const FileStamp* stamp : {&entry.source_stamp, &entry.copy_stamp}) {
      bytes += std::to_string(stamp->size) + '\t' + std::to_string(stamp->modified_seconds) + '\t' +
               std::to_string(stamp->modified_nanoseconds) + '\t';
    }
    bytes.append(name).append("\t").append(entry.source).append(kLineEnd);
  }
  return bytes;
}

std::optional<OriginalsRecord> ParseOriginalsRecord(std::string_view bytes) {
  // Every line, the last included, ends with CR LF: a file cut short is damaged.
  if (bytes.size() > kMaxOriginalsRecordBytes || !bytes.ends_with(kLineEnd)) return std::nullopt;
  OriginalsRecord record;
  std::size_t number = 0;
  for (std::size_t from = 0; from < bytes.size(); ++number) {
    const std::size_t end = bytes.find(kLineEnd, from);
    const std::string_view line = bytes.substr(from, end - from);
    from = end + kLineEnd.size();
    if (number == 0) {
      if (line != kFormatLine) return std::nullopt;
    } else if (number == 1) {
      if (line != kKeepLocationLine && line != kDropLocationLine) return std::nullopt;
      record.keep_location = line == kKeepLocationLine;
    } else {
      auto entry = ParseEntry(line);
      if (!entry) return std::nullopt;
      record.originals.insert(std::move(*entry));
    }
  }
  if (number < 2) return std::nullopt;
  return record;
}

}  // namespace quorvale
