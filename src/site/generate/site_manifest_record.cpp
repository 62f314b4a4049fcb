#include "generate/site_manifest_record.h"

#include "platform/number_text.h"
#include "platform/record_text.h"

namespace quorvale {
namespace {

constexpr std::string_view kFormatLine = "quorvale-manifest 2";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kFields = 8;

}  // namespace

std::string SiteManifestRecordBytes(const SiteManifestRecord& record) {
  std::string bytes(kFormatLine);
  bytes.append(kLineEnd).append(record.code).append("\t").append(record.digest) += '\t';
  AppendNumber(bytes, record.manifest.size) += '\t';
  AppendNumber(bytes, record.manifest.modified_seconds) += '\t';
  AppendNumber(bytes, record.manifest.modified_nanoseconds);
  if (!record.changes) return bytes.append("\t\t\t").append(kLineEnd);
  AppendNumber(bytes += '\t', record.changes->size) += '\t';
  AppendNumber(bytes, record.changes->modified_seconds) += '\t';
  AppendNumber(bytes, record.changes->modified_nanoseconds).append(kLineEnd);
  return bytes;
}

std::optional<SiteManifestRecord> ParseSiteManifestRecord(std::string_view bytes) {
  if (bytes.size() > kMaxSiteManifestRecordBytes) return std::nullopt;
  SiteManifestRecord record;
  std::size_t lines = 0;
  const bool whole = ReadRecordLines(bytes, [&](std::size_t number, std::string_view line) {
    lines = number + 1;
    if (number == 0) return line == kFormatLine;
    const auto fields = SplitFields<kFields>(line, '\t');
    if (number > 1 || !fields || (*fields)[0].empty() || (*fields)[1].empty() ||
        !ReadWholeNumber((*fields)[2], record.manifest.size) ||
        !ReadWholeNumber((*fields)[3], record.manifest.modified_seconds) ||
        !ReadWholeNumber((*fields)[4], record.manifest.modified_nanoseconds)) {
      return false;
    }
    if (!(*fields)[5].empty() || !(*fields)[6].empty() || !(*fields)[7].empty()) {
      FileStamp& changes = record.changes.emplace();
      if (!ReadWholeNumber((*fields)[5], changes.size) || !ReadWholeNumber((*fields)[6], changes.modified_seconds) ||
          !ReadWholeNumber((*fields)[7], changes.modified_nanoseconds)) {
        return false;
      }
    }
    record.code = (*fields)[0];
    record.digest = (*fields)[1];
    return true;
  });
  if (!whole || lines != 2) return std::nullopt;
  return record;
}

}  // namespace quorvale
