#include "generate/site_manifest_files.h"

#include "generate/generation_context.h"
#include "generate/site_manifest_changes.h"
#include "generate/site_manifest_record.h"
#include "layout/site_layout.h"
#include "platform/code_identity.h"
#include "platform/file_copy.h"
#include "platform/file_reading.h"
#include "platform/folder_removal.h"

namespace quorvale {
namespace {

// Changes of more than an eighth of the manifest file save little of writing it again,
// and every reader reads both: the manifest is then written again, and the changes go.
constexpr std::size_t kManifestBytesPerChangesByte = 8;

// The manifest first: changes without their manifest are never read.
void RemoveManifest(GenerationContext& context) {
  const std::string& publish_directory = context.publish_directory();
  for (const std::string& path : {SiteManifestPath(publish_directory), SiteManifestChangesPath(publish_directory)}) {
    if (const auto reason = RemoveFileBelow(publish_directory, path)) {
      context.ReportFailure("", "Removing site manifest " + path, *reason);
    }
  }
}

}  // namespace

void RecordSiteManifest(GenerationContext& context, bool finished) {
  if (!finished) return RemoveManifest(context);
  const std::string& publish_directory = context.publish_directory();
  const std::string path = SiteManifestPath(publish_directory);
  const std::string changes_path = SiteManifestChangesPath(publish_directory);
  // The record beside the manifest says what wrote it: while the files are as that run
  // left them and this run published the same files with the same stamps, they list
  // what this run would, and its lines are not made at all. A program without a code
  // identity keeps no record.
  SiteManifest& manifest = context.manifest();
  const std::string record_path = SiteManifestRecordPath(publish_directory);
  const std::optional<std::string> code = CodeIdentity();
  std::optional<SiteManifestRecord> record;
  if (code) {
    record = SiteManifestRecord{*code, manifest.Digest(), {}, {}};
    const auto bytes = ReadFileBelow(publish_directory, record_path, kMaxSiteManifestRecordBytes);
    const auto earlier = bytes ? ParseSiteManifestRecord(*bytes) : std::nullopt;
    if (earlier && earlier->code == record->code && earlier->digest == record->digest &&
        StampBelow(publish_directory, path) == earlier->manifest &&
        StampBelow(publish_directory, changes_path) == earlier->changes) {
      return;
    }
  }
  // The lines as they come, compared with the manifest file on disk: what differs goes to
  // the changes file, unless it is too much.
  const BytePieces lines = manifest.Pieces();
  std::string failure;
  std::optional<std::string> changes;
  if (const auto written = ReadFileBelow(publish_directory, path, kMaxSiteManifestBytes)) {
    changes = SiteManifestChanges(*written, lines, written->size() / kManifestBytesPerChangesByte, failure);
  }
  const auto failed = [&](const std::string& reason, const std::string& file) {
    context.ReportFailure("", "Writing site manifest " + file, reason);
    RemoveManifest(context);  // a manifest that lists another site is worse than none
  };
  if (!failure.empty()) return failed(failure, path);
  if (changes) {
    const auto reason = changes->empty() ? RemoveFileBelow(publish_directory, changes_path)
                                         : context.WriteSiteFile(changes_path, *changes);
    if (reason) return failed(*reason, changes_path);
  } else {
    if (const auto reason = WritePiecesBelow(publish_directory, path, lines)) return failed(*reason, path);
    // Changes left behind belong to the manifest before: a reader takes the two for no
    // site at all, so the failure is reported.
    if (const auto reason = RemoveFileBelow(publish_directory, changes_path)) {
      context.ReportFailure("", "Removing site manifest " + changes_path, *reason);
    }
  }
  const auto stamp = record ? StampBelow(publish_directory, path) : std::nullopt;
  if (!stamp) return;
  record->manifest = *stamp;
  record->changes = StampBelow(publish_directory, changes_path);
  if (const auto reason = context.WriteSiteFile(record_path, SiteManifestRecordBytes(*record))) {
    context.ReportFailure("", "Writing record " + record_path, *reason);
  }
}

}  // namespace quorvale
