#include "viewers/torvexa/formats_record.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/number_text.h"
#include "platform/record_text.h"

namespace quorvale {
namespace {

constexpr std::string_view kFormatLine = "quorvale-formats 1";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kNoFormat = "-";
constexpr std::array kFormats = {PictureFormat::kJpeg, PictureFormat::kGif,  PictureFormat::kPng,
                                 PictureFormat::kWebp, PictureFormat::kHeif, PictureFormat::kAvif,
                                 PictureFormat::kTiff};

std::string_view FormatText(PictureFormat format) {
  return format == PictureFormat::kNone ? kNoFormat : PictureFormatName(format);
}

std::optional<PictureFormat> ReadFormat(std::string_view text) {
  if (text == kNoFormat) return PictureFormat::kNone;
  for (const PictureFormat format : kFormats) {
    if (text == PictureFormatName(format)) return format;
  }
  return std::nullopt;
}

}  // namespace

std::string FormatsRecordBytes(const FormatsRecord& record) {
  std::vector<const FormatsRecord::value_type*> lines;
  for (const auto& entry : record) {
    if (IsOneField(entry.first)) lines.push_back(&entry);
  }
  std::sort(lines.begin(), lines.end(), [](const auto* a, const auto* b) { return a->first < b->first; });
  std::string bytes;
  bytes.append(kFormatLine).append(kLineEnd);
  for (const auto* line : lines) {
    const auto& [path, known] = *line;
    AppendNumber(bytes, known.stamp.size) += '\t';
    AppendNumber(bytes, known.stamp.modified_seconds) += '\t';
    AppendNumber(bytes, known.stamp.modified_nanoseconds) += '\t';
    bytes.append(FormatText(known.format)).append("\t").append(path).append(kLineEnd);
  }
  return bytes;
}

std::optional<FormatsRecord> ParseFormatsRecord(std::string_view bytes) {
  if (!bytes.starts_with(kFormatLine) || bytes.size() > kMaxFormatsRecordBytes) return std::nullopt;
  bytes.remove_prefix(kFormatLine.size());
  if (bytes.empty()) return std::nullopt;  // cut short in its first line
  FormatsRecord record;
  while (!bytes.empty()) {
    // Every line, the first included, ends with CR LF; the next line follows it.
    if (!bytes.starts_with(kLineEnd)) return std::nullopt;
    bytes.remove_prefix(kLineEnd.size());
    if (bytes.empty()) break;
    const std::size_t end = bytes.find(kLineEnd);
    if (end == std::string_view::npos) return std::nullopt;
    std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end);
    std::array<std::string_view, 5> fields;
    for (std::size_t i = 0; i < fields.size(); ++i) {
      const std::size_t tab = i + 1 < fields.size() ? line.find('\t') : line.size();
      if (tab == std::string_view::npos) return std::nullopt;
      fields[i] = line.substr(0, tab);
      line.remove_prefix(std::min(tab + 1, line.size()));
    }
    RecordedFormat known;
    const auto format = ReadFormat(fields[3]);
    if (!ReadWholeNumber(fields[0], known.stamp.size) || !ReadWholeNumber(fields[1], known.stamp.modified_seconds) ||
        !ReadWholeNumber(fields[2], known.stamp.modified_nanoseconds) || !format || fields[4].empty() ||
        fields[4].find('\t') != std::string_view::npos) {
      return std::nullopt;
    }
    known.format = *format;
    record.emplace(std::string(fields[4]), known);
  }
  return record;
}

}  // namespace quorvale
