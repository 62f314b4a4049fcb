#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "upload/transfer.h"

namespace quorvale {

// Where the server keeps what the uploads of this site put there: each file's size,
// its time on this computer and its content hash. Written last, so an upload cut short
// is finished by the next one without sending again what already arrived.
inline constexpr const char* kUploadedManifestPath = "PhotoAlbum/.quorvale-site";

struct UploadedFile {
  std::uintmax_t size = 0;
  std::string time;  // seconds.nanoseconds, as the site manifest gives it
  std::string hash;
  bool operator==(const UploadedFile&) const = default;
};
using UploadedSite = std::map<std::string, UploadedFile>;  // by path below the site

std::string UploadedManifestBytes(const UploadedSite& site);
// The files an earlier upload recorded; nothing for bytes that are no such manifest.
std::optional<UploadedSite> ParseUploadedManifest(std::string_view bytes);

struct UploadCounts {
  long long uploaded = 0;
  long long unchanged = 0;
  long long deleted = 0;
  long long kept = 0;    // on the server under a site file's name, put there by no upload: left alone
  long long errors = 0;
  bool operator==(const UploadCounts&) const = default;
};

enum class UploadOutcome {
  kNoSite,          // no manifest of a finished run in the Publishing Directory: nothing sent
  kCompleted,       // every file was handled; the counts say how
  kStopped,         // stopped by the user; the next upload goes on from there
  kConnectionLost,  // the server went away and stayed away; the next upload goes on from there
};

struct UploadResult {
  UploadOutcome outcome = UploadOutcome::kNoSite;
  UploadCounts counts;
};

struct UploadEvents {
  std::function<void(const std::string& line)> line;  // a transcript line, without its line end
  std::function<void(std::size_t done, std::size_t total)> progress;
};

struct UploadJob {
  std::string publish_directory;
  std::string destination;  // as the user wrote it, for the transcript and the log (never a password)
  const Clock* clock = nullptr;
  // Waits before each new try of a file whose connection was lost.
  std::vector<std::chrono::milliseconds> retry_delays = {std::chrono::seconds(1), std::chrono::seconds(2),
                                                         std::chrono::seconds(4)};
};

// Copies the site a finished run wrote (its manifest says which files) through
// `transfer`: only the files the server does not have in that size and content, each
// whole under its name, the pages after the pictures they show and the home page last;
// then deletes what an earlier upload put there and the site no longer has, and the
// folders that this left empty. A file the server holds under a site file's name that
// no upload put there is reported and kept. A lost connection is tried again after each
// of the job's delays, each try a transcript line. The transcript lines go to
// `events`, and the log of the Publishing Directory gets an entry with the counts.
UploadResult UploadSite(const UploadJob& job, Transfer& transfer, const UploadEvents& events,
                        std::stop_token stop = {});

}  // namespace quorvale
