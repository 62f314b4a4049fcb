#include "generate/originals_record.h"

#include <array>

#include "platform/number_text.h"
#include "platform/record_text.h"

namespace quorvale {
namespace {

constexpr std::string_view kFormatLine = "quorvale-originals 3";
constexpr std::string_view kFormatLineWithoutFolder = "quorvale-originals 2";
constexpr std::string_view kFormatLineWithoutFacts = "quorvale-originals 1";
constexpr std::string_view kFolderWord = "folder";
constexpr std::string_view kKeepLocationLine = "keep-location 1";
constexpr std::string_view kDropLocationLine = "keep-location 0";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kStampFields = 6;
constexpr std::size_t kFactFields = 5;
constexpr std::string_view kUnknown = "-";

// One original's line: six numbers, the facts when `with_facts`, the name, the source;
// nothing when it is not so.
std::optional<std::pair<std::string, PublishedOriginalEntry>> ParseEntry(std::string_view line, bool with_facts) {
  std::array<std::string_view, kStampFields + kFactFields + 2> fields;
  const std::size_t count = kStampFields + (with_facts ? kFactFields : 0) + 2;
  for (std::size_t i = 0; i + 1 < count; ++i) {
    const std::size_t cut = line.find('\t');
    if (cut == std::string_view::npos) return std::nullopt;
    fields[i] = line.substr(0, cut);
    line.remove_prefix(cut + 1);
  }
  fields[count - 1] = line;  // the source path: the rest of the line, tabs cannot be in it
  const std::string_view name = fields[count - 2];
  const std::string_view source = fields[count - 1];
  PublishedOriginalEntry entry;
  FileStamp& from = entry.source_stamp;
  FileStamp& copy = entry.copy_stamp;
  if (!ReadWholeNumber(fields[0], from.size) || !ReadWholeNumber(fields[1], from.modified_seconds) ||
      !ReadWholeNumber(fields[2], from.modified_nanoseconds) || !ReadWholeNumber(fields[3], copy.size) ||
      !ReadWholeNumber(fields[4], copy.modified_seconds) || !ReadWholeNumber(fields[5], copy.modified_nanoseconds) ||
      name.empty() || source.empty() || !IsOneField(source)) {
    return std::nullopt;
  }
  if (with_facts && !(fields[6] == kUnknown && fields[7] == kUnknown)) {
    PictureFacts facts;
    if (!ReadWholeNumber(fields[6], facts.width) || !ReadWholeNumber(fields[7], facts.height)) return std::nullopt;
    facts.taken = fields[8];
    facts.camera = fields[9];
    facts.location = fields[10];
    facts.bytes = copy.size;
    entry.facts = std::move(facts);
  }
  entry.source = source;
  return std::pair{std::string(name), std::move(entry)};
}

// The facts' fields of an entry, each followed by a tab.
std::string FactFields(const std::optional<PictureFacts>& facts) {
  if (!facts || !IsOneField(facts->taken) || !IsOneField(facts->camera) || !IsOneField(facts->location)) {
    return std::string(kUnknown) + '\t' + std::string(kUnknown) + "\t\t\t\t";
  }
  return std::to_string(facts->width) + '\t' + std::to_string(facts->height) + '\t' + facts->taken + '\t' +
         facts->camera + '\t' + facts->location + '\t';
}

}  // namespace

std::string OriginalsRecordBytes(const OriginalsRecord& record) {
  std::string bytes;
  bytes.append(kFormatLine).append(kLineEnd);
  bytes.append(record.keep_location ? kKeepLocationLine : kDropLocationLine).append(kLineEnd);
  bytes.append(kFolderWord);
  if (const auto& folder = record.folder) {
    AppendNumber(bytes += '\t', folder->size) += '\t';
    AppendNumber(bytes, folder->modified_seconds) += '\t';
    AppendNumber(bytes, folder->modified_nanoseconds);
  }
  bytes.append(kLineEnd);
  for (const auto& [name, entry] : record.originals) {
    if (!IsOneField(name) || !IsOneField(entry.source)) continue;
    for (const FileStamp* stamp : {&entry.source_stamp, &entry.copy_stamp}) {
      bytes += std::to_string(stamp->size) + '\t' + std::to_string(stamp->modified_seconds) + '\t' +
               std::to_string(stamp->modified_nanoseconds) + '\t';
    }
    bytes += FactFields(entry.facts);
    bytes.append(name).append("\t").append(entry.source).append(kLineEnd);
  }
  return bytes;
}

std::optional<OriginalsRecord> ParseOriginalsRecord(std::string_view bytes) {
  if (bytes.size() > kMaxOriginalsRecordBytes) return std::nullopt;
  OriginalsRecord record;
  bool with_facts = true;
  bool with_folder = true;
  std::size_t lines = 0;
  const bool whole = ReadRecordLines(bytes, [&](std::size_t number, std::string_view line) {
    lines = number + 1;
    if (number == 0) {
      with_folder = line == kFormatLine;
      with_facts = with_folder || line == kFormatLineWithoutFolder;
      return with_facts || line == kFormatLineWithoutFacts;
    }
    if (number == 1) {
      record.keep_location = line == kKeepLocationLine;
      return record.keep_location || line == kDropLocationLine;
    }
    if (number == 2 && with_folder) {
      if (line == kFolderWord) return true;
      const auto fields = SplitFields<4>(line, '\t');
      FileStamp& folder = record.folder.emplace();
      return fields && (*fields)[0] == kFolderWord && ReadWholeNumber((*fields)[1], folder.size) &&
             ReadWholeNumber((*fields)[2], folder.modified_seconds) &&
             ReadWholeNumber((*fields)[3], folder.modified_nanoseconds);
    }
    auto entry = ParseEntry(line, with_facts);
    if (!entry) return false;
    // Written in name order, so each goes in at the end without a search.
    record.originals.insert(record.originals.end(), std::move(*entry));
    return true;
  });
  if (!whole || lines < (with_folder ? 3u : 2u)) return std::nullopt;
  return record;
}

}  // namespace quorvale
