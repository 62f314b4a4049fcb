#include "upload/site_upload.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <set>
#include <thread>

#include "generate/generation_log.h"
#include "generate/site_manifest_changes.h"
#include "layout/site_layout.h"
#include "platform/content_hash.h"
#include "platform/file_reading.h"
#include "platform/path.h"

namespace quorvale {
namespace {

constexpr std::string_view kUploadedHeader = "Quorvale uploaded site 1\n";
constexpr std::uintmax_t kSiteFileLimit = std::uintmax_t{4} * 1024 * 1024 * 1024;
// The server's manifest is brought up to date this often, so an upload cut short keeps
// what it sent.
constexpr std::size_t kFilesBetweenManifests = 100;
constexpr const char* kUploadIndent = "    ";

// Pictures, images and viewer files first, then the album pages and index files, and
// the home page last: a page never arrives before what it shows.
int SendOrder(const std::string& path) {
  if (path == kHomePageName) return 2;
  const bool page = path.find('/') == std::string::npos && path.ends_with(kPageExtension);
  return page || path.ends_with(kIndexExtension) ? 1 : 0;
}

std::string NativeBelow(const std::string& root, const std::string& path) {
  std::string native = path;
  std::replace(native.begin(), native.end(), '/', kPathSeparator);
  return JoinPath(root, native);
}

std::string DelayText(std::chrono::milliseconds delay) {
  if (delay.count() > 0 && delay.count() % 1000 == 0) return std::to_string(delay.count() / 1000) + " s";
  return std::to_string(delay.count()) + " ms";
}

std::string CountsText(const UploadCounts& counts) {
  return std::to_string(counts.uploaded) + " uploaded, " + std::to_string(counts.unchanged) + " unchanged, " +
         std::to_string(counts.deleted) + " deleted, " + std::to_string(counts.kept) + " kept, " +
         std::to_string(counts.errors) + " ERRORS";
}

class Upload {
 public:
  Upload(const UploadJob& job, Transfer& transfer, const UploadEvents& events, std::stop_token stop)
      : job_(job), transfer_(transfer), events_(events), stop_(std::move(stop)) {}

  UploadResult Run();

 private:
  void Line(const std::string& text) const {
    if (events_.line) events_.line(text);
  }
  // Calls `operation` until it succeeds, fails for the file alone, or the connection
  // stays lost after every retry; each wait is longer than the one before, and a stop
  // ends the waiting.
  template <typename Operation>
  auto WithRetries(Operation operation) -> decltype(operation()) {
    auto outcome = operation();
    // A connection cut while the server runs a command (the rename after an upload)
    // can look like the server refusing it: a refusal is tried once more at once.
    if (Refused(outcome) && !stop_.stop_requested()) outcome = operation();
    for (const auto delay : job_.retry_delays) {
      const TransferFailure* lost = LostConnection(outcome);
      if (!lost || stop_.stop_requested()) break;
      Line(std::string(kUploadIndent) + "The connection was lost (" + lost->reason + "): trying again in " +
           DelayText(delay) + ".");
      std::this_thread::sleep_for(delay);
      outcome = operation();
    }
    if (LostConnection(outcome)) lost_ = true;
    return outcome;
  }
  static bool Refused(const std::optional<TransferFailure>& outcome) { return outcome && !outcome->connection_lost; }
  template <typename T>
  static bool Refused(const std::variant<T, TransferFailure>& outcome) {
    const auto* failure = std::get_if<TransferFailure>(&outcome);
    return failure && !failure->connection_lost;
  }
  static const TransferFailure* LostConnection(const std::optional<TransferFailure>& outcome) {
    return outcome && outcome->connection_lost ? &*outcome : nullptr;
  }
  template <typename T>
  static const TransferFailure* LostConnection(const std::variant<T, TransferFailure>& outcome) {
    const auto* failure = std::get_if<TransferFailure>(&outcome);
    return failure && failure->connection_lost ? failure : nullptr;
  }
  void Failed(const std::string& what, const TransferFailure& failure) {
    Line(std::string(kUploadIndent) + "ERROR: " + what + " failed: " + failure.reason + ".");
    ++counts_.errors;
  }
  void SendFile(const SiteFile& file);
  void RemoveEmptiedFolders(const std::vector<std::string>& deleted);
  bool SaveManifest();
  void Finish(const char* how);

  const UploadJob& job_;
  Transfer& transfer_;
  const UploadEvents& events_;
  std::stop_token stop_;
  UploadCounts counts_;
  UploadedSite earlier_;  // what the server's manifest said when the upload began
  UploadedSite uploaded_;  // what it says from now on
  bool lost_ = false;
};

void Upload::SendFile(const SiteFile& file) {
  const auto before = earlier_.find(file.path);
  const std::string time = StampTimeText(file.stamp);
  if (before != earlier_.end() && before->second.size == file.stamp.size && before->second.time == time) {
    ++counts_.unchanged;  // not even read: the same size and time as when it was sent
    return;
  }
  const std::string local = NativeBelow(job_.publish_directory, file.path);
  std::string reason;
  const auto bytes = ReadFileBelow(job_.publish_directory, local, kSiteFileLimit, &reason);
  if (!bytes) {
    Failed("Reading " + local, {reason.empty() ? "the file is gone" : reason});
    return;
  }
  const UploadedFile now{file.stamp.size, time, ContentHash(*bytes)};
  if (before != earlier_.end() && before->second.size == now.size && before->second.hash == now.hash) {
    uploaded_[file.path] = now;  // touched, not changed
    ++counts_.unchanged;
    return;
  }
  if (before == earlier_.end()) {
    // A file under this name that no upload recorded: the same bytes arrived with an
    // upload that was cut short, anything else is someone else's and stays.
    const auto there = WithRetries([&] { return transfer_.Fetch(file.path); });
    if (const auto* failure = std::get_if<TransferFailure>(&there)) return Failed("Looking for " + file.path, *failure);
    if (const auto& theirs = std::get<std::optional<std::string>>(there)) {
      if (ContentHash(*theirs) == now.hash && theirs->size() == now.size) {
        uploaded_[file.path] = now;
        ++counts_.unchanged;
      } else {
        Line(std::string(kUploadIndent) + "Kept " + file.path +
             ": it is on the server, and no upload of this site put it there.");
        ++counts_.kept;
      }
      return;
    }
  }
  Line(std::string(kUploadIndent) + "Uploading " + file.path + ".");
  if (const auto failure = WithRetries([&] { return transfer_.PutBytes(*bytes, file.path); })) {
    return Failed("Uploading " + file.path, *failure);
  }
  uploaded_[file.path] = now;
  ++counts_.uploaded;
}

void Upload::RemoveEmptiedFolders(const std::vector<std::string>& deleted) {
  // The folders of the deleted files and the folders above them, but not the site's
  // own folder. A set puts a folder before the folders inside it: backwards, the
  // deepest come first.
  std::set<std::string> folders;
  for (const std::string& path : deleted) {
    for (std::size_t slash = path.rfind('/'); slash != std::string::npos && slash > 0;
         slash = path.rfind('/', slash - 1)) {
      folders.insert(path.substr(0, slash));
    }
  }
  for (auto folder = folders.rbegin(); folder != folders.rend() && !lost_ && !stop_.stop_requested(); ++folder) {
    const std::string inside = *folder + "/";
    const auto next = uploaded_.lower_bound(inside);
    if (next != uploaded_.end() && next->first.starts_with(inside)) continue;  // the site still has files there
    // A folder that holds files of someone else's is refused by the server and stays.
    if (!WithRetries([&] { return transfer_.RemoveFolder(*folder); })) {
      Line(std::string(kUploadIndent) + "Deleted the empty folder " + *folder + ".");
    }
  }
}

bool Upload::SaveManifest() {
  if (const auto failure = WithRetries([&] { return transfer_.PutBytes(UploadedManifestBytes(uploaded_), kUploadedManifestPath); })) {
    Failed("Uploading " + std::string(kUploadedManifestPath), *failure);
    return false;
  }
  return true;
}

void Upload::Finish(const char* how) {
  const std::string summary = std::string(how) + " (" + job_.clock->NowText() + "): " + CountsText(counts_) + ".";
  Line(summary);
  if (const auto reason = AppendLogEntry(job_.publish_directory, job_.clock->NowText(),
                                         std::string(kUploadIndent) + "Uploaded to " + job_.destination + ": " +
                                             CountsText(counts_) + ".")) {
    Line(std::string(kUploadIndent) + "ERROR: Appending to log file " + GenerationLogPath(job_.publish_directory) +
         " failed: " + *reason + ".");
    ++counts_.errors;
  }
}

UploadResult Upload::Run() {
  UploadResult result;
  const auto site = ReadSiteManifest(job_.publish_directory);
  if (!site) {
    Line("ERROR: " + job_.publish_directory + " holds no finished site: generate the albums, then upload them.");
    return result;
  }
  Line("Upload to " + job_.destination + " started (" + job_.clock->NowText() + ") ....");

  const auto fetched = WithRetries([&] { return transfer_.Fetch(kUploadedManifestPath); });
  if (const auto* failure = std::get_if<TransferFailure>(&fetched)) {
    Failed("Reading " + std::string(kUploadedManifestPath), *failure);
    result.outcome = UploadOutcome::kConnectionLost;
    result.counts = counts_;
    Finish("Upload failed");
    return result;
  }
  if (const auto& bytes = std::get<std::optional<std::string>>(fetched)) {
    // A manifest that cannot be read names nothing to delete or skip: every file is
    // looked for, and one already there is kept.
    earlier_ = ParseUploadedManifest(*bytes).value_or(UploadedSite{});
  }
  uploaded_ = earlier_;

  std::vector<SiteFile> files = *site;
  std::stable_sort(files.begin(), files.end(),
                   [](const SiteFile& a, const SiteFile& b) { return SendOrder(a.path) < SendOrder(b.path); });
  std::size_t done = 0;
  std::size_t since_saved = 0;
  for (const SiteFile& file : files) {
    if (stop_.stop_requested() || lost_) break;
    const long long sent_before = counts_.uploaded;
    SendFile(file);
    since_saved += static_cast<std::size_t>(counts_.uploaded - sent_before);
    if (since_saved >= kFilesBetweenManifests && SaveManifest()) since_saved = 0;
    if (events_.progress) events_.progress(++done, files.size());
  }

  if (!stop_.stop_requested() && !lost_) {
    std::set<std::string> in_site;
    for (const SiteFile& file : files) in_site.insert(file.path);
    std::vector<std::string> deleted;
    for (const auto& [path, _] : earlier_) {
      if (in_site.contains(path) || stop_.stop_requested() || lost_) continue;
      Line(std::string(kUploadIndent) + "Deleting " + path + ".");
      if (const auto failure = WithRetries([&, &p = path] { return transfer_.Remove(p); })) {
        Failed("Deleting " + path, *failure);
        continue;
      }
      uploaded_.erase(path);
      deleted.push_back(path);
      ++counts_.deleted;
    }
    RemoveEmptiedFolders(deleted);
  }
  // An upload that changed nothing leaves the server's record as it is.
  if (!lost_ && uploaded_ != earlier_) SaveManifest();

  result.outcome = lost_                      ? UploadOutcome::kConnectionLost
                   : stop_.stop_requested()   ? UploadOutcome::kStopped
                                              : UploadOutcome::kCompleted;
  Finish(result.outcome == UploadOutcome::kCompleted ? "Upload completed"
         : result.outcome == UploadOutcome::kStopped ? "Upload stopped"
                                                     : "Upload failed");
  result.counts = counts_;
  return result;
}

}  // namespace

std::string UploadedManifestBytes(const UploadedSite& site) {
  std::string bytes(kUploadedHeader);
  for (const auto& [path, file] : site) {
    bytes += std::to_string(file.size) + '\t' + file.time + '\t' + file.hash + '\t' + path + '\n';
  }
  return bytes;
}

std::optional<UploadedSite> ParseUploadedManifest(std::string_view bytes) {
  if (!bytes.starts_with(kUploadedHeader)) return std::nullopt;
  bytes.remove_prefix(kUploadedHeader.size());
  UploadedSite site;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    if (end == std::string_view::npos) return std::nullopt;
    std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end + 1);
    std::string_view fields[4];
    for (int i = 0; i < 3; ++i) {
      const std::size_t tab = line.find('\t');
      if (tab == std::string_view::npos) return std::nullopt;
      fields[i] = line.substr(0, tab);
      line.remove_prefix(tab + 1);
    }
    fields[3] = line;
    UploadedFile file;
    const auto [size_end, error] = std::from_chars(fields[0].data(), fields[0].data() + fields[0].size(), file.size);
    if (error != std::errc() || size_end != fields[0].data() + fields[0].size() || fields[3].empty()) {
      return std::nullopt;
    }
    file.time = std::string(fields[1]);
    file.hash = std::string(fields[2]);
    site[std::string(fields[3])] = std::move(file);
  }
  return site;
}

UploadResult UploadSite(const UploadJob& job, Transfer& transfer, const UploadEvents& events, std::stop_token stop) {
  return Upload(job, transfer, events, std::move(stop)).Run();
}

}  // namespace quorvale
