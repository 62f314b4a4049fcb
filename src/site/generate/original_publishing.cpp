#include "generate/original_publishing.h"

#include <algorithm>
#include <set>
#include <variant>

#include "generate/generation_context.h"
#include "generate/originals_record.h"
#include "generate/picture_publishing.h"
#include "platform/file_copy.h"
#include "platform/file_reading.h"
#include "platform/folder_listing.h"
#include "platform/folder_removal.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "layout/site_layout.h"

namespace quorvale {
namespace {

// The record of an earlier run, when it is whole and made with this location choice.
std::optional<OriginalsRecord> EarlierRecord(GenerationContext& context, int album_number,
                                             const std::string& record_path, bool keep_location) {
  auto record = context.ReadRecord(album_number, record_path, kMaxOriginalsRecordBytes, ParseOriginalsRecord);
  if (!record || record->keep_location != keep_location) return std::nullopt;
  return record;
}

// The names in the album's image folder as the run found them before it wrote there:
// listed, or, while the folder keeps the stamp at which the earlier record vouched for
// it, the record's. Nothing when neither is known, or the folder was not settled.
std::optional<std::vector<std::string>> FoundNames(const std::optional<LookedAtFolder>& looked,
                                                   const std::optional<OriginalsRecord>& earlier) {
  if (!looked || !looked->settled_stamp) return std::nullopt;
  std::vector<std::string> names;
  if (looked->entries) {
    for (const FolderEntry& entry : *looked->entries) names.push_back(entry.name);
  } else if (earlier && earlier->folder == looked->settled_stamp) {
    for (const auto& entry : earlier->originals) names.push_back(entry.first);
  } else {
    return std::nullopt;
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The facts of a published original whose start is `start` and whose size is `size`.
PictureFacts FactsOf(std::string_view start, std::uintmax_t size) {
  PictureFacts facts = ReadPictureFacts(start.substr(0, kPictureFactsBytes));
  facts.bytes = size;
  return facts;
}

// Reads `source`, has the imaging port clean it and writes the result at `target`.
// Returns the failure's reason, or the published bytes' facts.
std::variant<PictureFacts, std::string> PublishCleaned(const GenerationContext& context, const std::string& source,
                                                       const std::string& target, bool keep_location) {
  std::string reason;
  const auto bytes = ReadWholeFile(source, &reason);
  if (!bytes) return reason;
  PictureImaging* imaging = context.job().imaging;
  if (imaging == nullptr) return std::string(kNoImagingReason);
  auto cleaned = imaging->CleanOriginal(*bytes, keep_location);
  if (auto* failure = std::get_if<std::string>(&cleaned)) return std::move(*failure);
  const std::string& published = std::get<CleanedOriginal>(cleaned).bytes;
  if (auto failure = context.WriteSiteFile(target, published)) return std::move(*failure);
  return FactsOf(published, published.size());
}

}  // namespace

std::vector<PublishedOriginal> PublishAlbumOriginals(GenerationContext& context, int album_number,
                                                     const std::vector<std::string>& published_names) {
  const PictureMap& pictures = context.project().AlbumPictures(album_number);
  std::vector<PublishedOriginal> learnt(published_names.size());
  const std::string& publish_directory = context.publish_directory();
  const bool publish = context.settings().PublishPictures != 0;
  const bool keep_location = context.settings().KeepLocation;
  const std::string album_folder = AlbumImageFolder(publish_directory, album_number);
  Transcript& transcript = context.transcript();
  // Without its folder none of the album's originals can be published: one error says
  // so. An album without pictures is still reported as such.
  const bool have_folder = !publish || (context.EnsureFolder(kPictureStepIndent, ImagesFolderPath(publish_directory)) &&
                                        context.EnsureFolder(kPictureStepIndent, album_folder));
  if (pictures.Empty()) {
    ReportEmptyAlbum(context);
    return learnt;
  }
  if (!have_folder) return learnt;

  const std::string record_path = AlbumOriginalsRecordPath(publish_directory, album_number);
  // The earlier record becomes this run's: an entry still true is kept as it is, one no
  // longer true is replaced or dropped, and one no picture reached goes at the end. Only
  // a record that changed is written.
  std::optional<OriginalsRecord> earlier =
      publish ? EarlierRecord(context, album_number, record_path, keep_location) : std::nullopt;
  const std::optional<LookedAtFolder> looked =
      publish ? context.TakeListedAhead(album_number, album_folder) : std::nullopt;
  const std::optional<std::vector<std::string>> found = FoundNames(looked, earlier);
  bool changed = !earlier;
  OriginalsRecord record = earlier ? std::move(*earlier) : OriginalsRecord{keep_location, {}, std::nullopt};
  std::vector<std::string_view> kept;  // the names of the entries this run keeps or makes
  kept.reserve(published_names.size());
  // The album folder, opened once to look up every published original in it.
  FolderBelow published(publish_directory, album_folder);
  SourceStamps sources;
  std::size_t position = 0;
  for (const Picture& picture : pictures) {
    const std::size_t index = position++;
    const std::string& published_name = published_names.at(index);
    if (context.StopRequested()) break;
    transcript.CutIfLong();
    const std::string& path = picture.path;
    const auto source_stamp =
        StampOfPictureToPublish(context, sources, path, context.LookedUpSource(album_number, index));
    learnt[index].source_stamp = source_stamp;
    if (!source_stamp || !publish) continue;
    const std::string target = JoinPath(album_folder, published_name);
    const auto copy_stamp = StampOfPublishedFile(context, published, album_number, published_name);
    const auto recorded = record.originals.find(published_name);
    if (copy_stamp && recorded != record.originals.end() && recorded->second.source == path &&
        recorded->second.source_stamp == *source_stamp && recorded->second.copy_stamp == *copy_stamp) {
      transcript.AppendLine({kPictureStepIndent, "Skipping copy picture ", path, " (", target, ") EXISTS."});
      PublishedOriginalEntry& entry = recorded->second;
      // A record of an earlier release has no facts: they are read once and kept.
      std::uintmax_t size = 0;
      if (!entry.facts) {
        if (const auto start = published.ReadStart(published_name, kPictureFactsBytes, size)) {
          entry.facts = FactsOf(*start, size);
          changed = true;
        }
      }
      learnt[index].facts = entry.facts;
      kept.push_back(published_name);
      context.Published(target, copy_stamp);
      continue;
    }
    transcript.AppendLine(std::string(kPictureStepIndent) + "Copying picture " + path + " to " + target +
                          (keep_location ? " without its serial numbers and owner."
                                         : " without its location, serial numbers and owner."));
    auto published_facts = PublishCleaned(context, path, target, keep_location);
    if (const auto* failure = std::get_if<std::string>(&published_facts)) {
      context.ReportFailure(kPictureStepIndent, "Publishing picture " + path + " to " + target, *failure);
      continue;
    }
    learnt[index].facts = std::move(std::get<PictureFacts>(published_facts));
    if (const auto written = published.Stamp(published_name)) {
      record.originals[published_name] = {path, *source_stamp, *written, learnt[index].facts};
      kept.push_back(published_name);
      changed = true;
      context.Published(target, written);
    }
  }
  if (!publish) return learnt;
  // The entries of pictures that are gone, were not reached, or failed, go. The names
  // kept are distinct and all in the record: as many as it holds means all of it.
  if (kept.size() != record.originals.size()) {
    const std::set<std::string_view> keep(kept.begin(), kept.end());
    std::erase_if(record.originals, [&keep](const auto& entry) { return !keep.contains(entry.first); });
    changed = true;
  }
  // A folder found holding this record's originals and nothing else is vouched for at
  // the stamp it was found with (one this run wrote to has another stamp by now, and is
  // listed next time).
  const auto same_name = [](const std::string& name, const auto& entry) { return name == entry.first; };
  const bool vouched =
      found && std::equal(found->begin(), found->end(), record.originals.begin(), record.originals.end(), same_name);
  const std::optional<FileStamp> folder = vouched ? looked->settled_stamp : std::nullopt;
  if (folder != record.folder) {
    record.folder = folder;
    changed = true;
  }
  if (!changed) return learnt;  // what it would say is what it says
  // Kept even after a stop: what was published stays known. It lives beside the
  // images' records, which the first run makes only after the originals.
  if (!context.EnsureFolder(kPictureStepIndent, ThumbnailsFolderPath(publish_directory))) return learnt;
  if (const auto failure = context.WriteSiteFile(record_path, OriginalsRecordBytes(record))) {
    context.ReportFailure(kPictureStepIndent, "Writing record " + record_path, *failure);
  }
  return learnt;
}

void WithdrawAlbumOriginals(GenerationContext& context, int album_number,
                            const std::vector<std::string>& published_names) {
  const std::string& publish_directory = context.publish_directory();
  const std::string album_folder = AlbumImageFolder(publish_directory, album_number);
  const std::string record_path = AlbumOriginalsRecordPath(publish_directory, album_number);
  // Once its originals are gone, a later run finds the folder empty and tries no name.
  const std::optional<LookedAtFolder> looked = context.TakeListedAhead(album_number, album_folder);
  const auto entries = looked && looked->entries ? looked->entries : ListFolderBelow(publish_directory, album_folder);
  if (entries ? !entries->empty() : FolderExists(album_folder)) {
    std::set<std::string> names(published_names.begin(), published_names.end());
    if (const auto record =
            context.ReadRecord(album_number, record_path, kMaxOriginalsRecordBytes, ParseOriginalsRecord)) {
      for (const auto& entry : record->originals) names.insert(entry.first);
    }
    for (const std::string& name : names) {
      const std::string path = JoinPath(album_folder, name);
      if (const auto failure = RemoveFileBelow(publish_directory, path)) {
        context.ReportFailure(kPictureStepIndent, "Removing picture " + path, *failure);
      }
    }
  }
  if (const auto failure = RemoveFileBelow(publish_directory, record_path)) {
    context.ReportFailure(kPictureStepIndent, "Removing record " + record_path, *failure);
  }
}

}  // namespace quorvale
