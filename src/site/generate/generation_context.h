#pragma once

#include <any>
#include <cstdint>
#include <optional>
#include <set>
#include <stop_token>
#include <string>
#include <string_view>

#include "generate/album_lookahead.h"
#include "generate/generation_job.h"
#include "generate/site_manifest.h"
#include "generate/transcript.h"
#include "platform/file_reading.h"
#include "platform/file_system.h"

namespace quorvale {

// The indent of the transcript lines a picture's publishing step writes.
inline constexpr const char* kPictureStepIndent = "        ";

// The state of one running job, shared by the run, the viewer and the publishing steps.
// Everything the run reports goes through here to the events sink.
class GenerationContext {
 public:
  GenerationContext(const GenerationJob& job, GenerationEvents& events, std::stop_token stop);
  GenerationContext(const GenerationContext&) = delete;
  GenerationContext& operator=(const GenerationContext&) = delete;

  const GenerationJob& job() const { return job_; }
  const Project& project() const { return job_.project; }
  const ProjectSettings& settings() const { return job_.settings; }
  const std::string& publish_directory() const { return job_.settings.PublishDirectory; }
  const std::string& project_name() const { return job_.project_name; }
  std::string NowText() const { return job_.clock->NowText(); }
  std::string NowIsoText() const { return job_.clock->NowIsoText(); }

  Transcript& transcript() { return transcript_; }
  GenerationCounters& counters() { return counters_; }
  const GenerationProgress& progress() const { return progress_; }

  // A new status caption.
  void SetStatus(const std::string& caption);
  // A message box; waits for its answer.
  Answer ShowMessage(const MessageRequest& request);
  // The album now being written; the progress event says so. The next album's pictures
  // and copies are looked up meanwhile.
  void BeginAlbum(int album_number);
  // The stamp of picture `index` of album `album_number` as looked up before its step;
  // nothing when it was not (the step looks it up).
  std::optional<FileStamp> LookedUpSource(int album_number, std::size_t index) const;
  // The stamp of the file `name` in album `album_number`'s image folder as found before
  // its step, given once: a step may write the file after asking. Nothing when it was
  // not looked up or not there (the step looks it up).
  std::optional<FileStamp> TakeLookedUpCopy(int album_number, const std::string& name);
  // The stamp of a file of the album's part of the site that the viewer's reads name
  // (see AlbumReads::stamps), looked up before any step of this run wrote there; nothing
  // when it was not looked up or not found.
  std::optional<FileStamp> TakeLookedUpStamp(int album_number, const std::string& path);
  // What the viewer's parse made of the file at `path` in album `album_number`'s part of
  // the site, and the entries of the folder `folder` there, as read before the album's
  // step (the viewer asks for them); given once, as a step may write what it read.
  // Nothing when they were not read: the step reads them.
  template <typename Parsed>
  std::optional<Parsed> TakeReadAhead(int album_number, const std::string& path) {
    std::any read = TakeRead(album_number, path);
    Parsed* parsed = std::any_cast<Parsed>(&read);
    return parsed ? std::optional<Parsed>(std::move(*parsed)) : std::nullopt;
  }
  std::optional<LookedAtFolder> TakeListedAhead(int album_number, const std::string& folder);
  // The record at `path` in album `album_number`'s part of the site, as `parse` makes it
  // of the file's bytes: as read ahead when it was, else read now (no link followed, at
  // most `limit` bytes). Nothing when the file is missing, refused, too large or not a
  // whole record.
  template <typename Record>
  std::optional<Record> ReadRecord(int album_number, const std::string& path, std::uintmax_t limit,
                                   std::optional<Record> (*parse)(std::string_view)) {
    if (auto read = TakeReadAhead<std::optional<Record>>(album_number, path)) return std::move(*read);
    const auto bytes = ReadFileBelow(publish_directory(), path, limit);
    return bytes ? parse(*bytes) : std::nullopt;
  }
  // Removes what a killed run left half-written in album `album_number`'s image folder,
  // when the folder holds any (the album's lookups say so, else the folder is listed).
  // Only for a run holding the Publishing Directory's lock.
  void RemoveAlbumLeftovers(int album_number);
  // One more picture handled (copied, skipped or missing).
  void PictureDone();

  // The once-per-project picture-count tip: true when it is still to be shown, and from
  // then on false.
  bool TakePictureCountTip();
  bool PictureCountTipPending() const { return tip_pending_; }

  // Whether the driver asked the run to stop; checked between files.
  bool StopRequested() const { return stop_.stop_requested(); }
  std::stop_token StopToken() const { return stop_; }

  // A file-system failure: one transcript line (the step's indentation, "ERROR: ", what
  // failed with its path, the system's reason) and one more error. The run goes on. A
  // path left alone on purpose (a link, a FIFO, a folder where a file must go) is
  // reported once: every later write that meets it again is left out silently.
  void ReportFailure(const std::string& indentation, const std::string& what, const std::string& reason);
  // Creates the folder when it is missing; a failure is reported with `indentation` and
  // gives false.
  bool EnsureFolder(const std::string& indentation, const std::string& folder);

  // Writes a file of the site whole. Every file a run writes goes through these or
  // through the platform's writers with the Publishing Directory as their root, so no
  // link below the Publishing Directory is followed and no special file waited on.
  std::optional<std::string> WriteSiteFile(const std::string& path, std::string_view bytes) const;
  // Writes page `path` of the site whole, or given in pieces; a failure is one counted
  // "Writing page" error. Returns whether the page holds the new bytes.
  bool WritePage(const std::string& path, std::string_view bytes);
  bool WritePage(const std::string& path, const BytePieces& pieces);

  // A file of the site is in place, written or found up to date by a step: it goes
  // into the site's manifest (see SiteManifest::Published).
  void Published(const std::string& path, std::optional<FileStamp> stamp = std::nullopt) {
    manifest_.Published(path, stamp);
  }
  SiteManifest& manifest() { return manifest_; }

 private:
  // What was read ahead of the file at `path`, taken out of the lookups; empty when none.
  std::any TakeRead(int album_number, const std::string& path);
  const GenerationJob& job_;
  GenerationEvents& events_;
  std::stop_token stop_;
  Transcript transcript_;
  GenerationCounters counters_;
  GenerationProgress progress_;
  bool tip_pending_;
  std::set<std::string> refusals_reported_;
  SiteManifest manifest_;
  AlbumLookahead lookahead_;
  AlbumLookups lookups_;  // of the album being written
};

}  // namespace quorvale
