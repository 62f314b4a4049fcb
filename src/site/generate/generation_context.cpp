#include "generate/generation_context.h"

#include "layout/site_layout.h"
#include "platform/file_copy.h"
#include "platform/file_system.h"

namespace quorvale {

GenerationContext::GenerationContext(const GenerationJob& job, GenerationEvents& events, std::stop_token stop)
    : job_(job), events_(events), stop_(std::move(stop)), tip_pending_(job.project.PictureCountTipPending),
      manifest_(job.settings.PublishDirectory),
      lookahead_(job.project, job.settings.PublishDirectory, job.viewer.album_reads, stop_) {
  transcript_.SetHandlers([this](std::string_view appended) { events_.TranscriptAppended(appended); },
                          [this] { events_.TranscriptReplaced(transcript_.View()); });
  for (int n = 0; n < job_.project.AlbumCount(); ++n) progress_.pictures_total += job_.project.AlbumPictures(n).Count();
}

void GenerationContext::SetStatus(const std::string& caption) { events_.StatusChanged(caption); }

Answer GenerationContext::ShowMessage(const MessageRequest& request) { return events_.ShowMessage(request); }

void GenerationContext::BeginAlbum(int album_number) {
  progress_.album_number = album_number;
  progress_.album_title = job_.project.AlbumTitles(album_number);
  events_.ProgressChanged(progress_);
  manifest_.SetAside();  // what the albums before published
  lookups_ = lookahead_.Begin(album_number);
}

std::optional<FileStamp> GenerationContext::LookedUpSource(int album_number, std::size_t index) const {
  if (lookups_.album_number != album_number || index >= lookups_.sources.size()) return std::nullopt;
  return lookups_.sources[index];
}

std::any GenerationContext::TakeRead(int album_number, const std::string& path) {
  if (lookups_.album_number != album_number) return {};
  auto found = lookups_.files.extract(path);
  return found ? std::move(found.mapped()) : std::any();
}

std::optional<LookedAtFolder> GenerationContext::TakeListedAhead(int album_number, const std::string& folder) {
  if (lookups_.album_number != album_number) return std::nullopt;
  auto found = lookups_.listings.extract(folder);
  return found ? std::optional(std::move(found.mapped())) : std::nullopt;
}

std::optional<FileStamp> GenerationContext::TakeLookedUpCopy(int album_number, const std::string& name) {
  if (lookups_.album_number != album_number) return std::nullopt;
  const auto found = lookups_.copies.extract(name);
  return found ? std::optional(found.mapped()) : std::nullopt;
}

std::optional<FileStamp> GenerationContext::TakeLookedUpStamp(int album_number, const std::string& path) {
  if (lookups_.album_number != album_number) return std::nullopt;
  const auto found = lookups_.stamps.extract(path);
  return found ? std::optional(found.mapped()) : std::nullopt;
}

void GenerationContext::RemoveAlbumLeftovers(int album_number) {
  if (lookups_.album_number == album_number && lookups_.leftover_writes == false) return;
  RemoveLeftoverWrites(publish_directory(), AlbumImageFolder(publish_directory(), album_number));
}

void GenerationContext::PictureDone() {
  ++progress_.pictures_done;
  events_.ProgressChanged(progress_);
}

bool GenerationContext::TakePictureCountTip() {
  const bool pending = tip_pending_;
  tip_pending_ = false;
  return pending;
}

void GenerationContext::ReportFailure(const std::string& indentation, const std::string& what,
                                      const std::string& reason) {
  if (IsRefusal(reason) && !refusals_reported_.insert(reason).second) return;
  transcript_.AppendLine(indentation + "ERROR: " + what + " failed: " + reason + ".");
  ++counters_.ErrorCount;
}

bool GenerationContext::EnsureFolder(const std::string& indentation, const std::string& folder) {
  if (const auto reason = CreateFolderBelow(publish_directory(), folder)) {
    ReportFailure(indentation, "Creating folder " + folder, *reason);
    return false;
  }
  return true;
}

std::optional<std::string> GenerationContext::WriteSiteFile(const std::string& path, std::string_view bytes) const {
  return WriteFileBelow(publish_directory(), path, bytes);
}

bool GenerationContext::WritePage(const std::string& path, std::string_view bytes) {
  return WritePage(path, WholePieces(bytes));
}

bool GenerationContext::WritePage(const std::string& path, const BytePieces& pieces) {
  if (const auto reason = WritePiecesBelow(publish_directory(), path, pieces)) {
    ReportFailure("", "Writing page " + path, *reason);
    return false;
  }
  Published(path);
  return true;
}

}  // namespace quorvale
