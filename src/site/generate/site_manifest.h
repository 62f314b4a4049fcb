#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_copy.h"

namespace quorvale {

// One file of a generated site: its path below the Publishing Directory with "/" between
// names, its size and its last-modified time.
struct SiteFile {
  std::string path;
  FileStamp stamp;
  bool operator==(const SiteFile&) const = default;
};

// The files a run published: pages, index files, viewer files, pictures, thumbnails and
// display copies, each written or found up to date by its step. The lock, the records
// that decide what is up to date and the log are the run's own bookkeeping, not the
// site's (the log takes an entry every run; the manifest changes only with the site).
class SiteManifest {
 public:
  explicit SiteManifest(std::string publish_directory) : publish_directory_(std::move(publish_directory)) {}
  // `path` lies below the Publishing Directory; its stamp, when the step knows it (a copy
  // has its source's), spares looking it up again. A file published twice keeps the
  // last stamp it was given.
  void Published(const std::string& path, std::optional<FileStamp> stamp = std::nullopt);
  // The manifest file of every published file that is still there, each folder opened
  // once to look up the stamps not yet known: a first line naming the format, then one
  // line per file, in path order: size, a tab, seconds.nanoseconds, a tab, the path;
  // UTF-8 with LF line ends.
  std::string Bytes() const;

 private:
  // A published file: its path as the manifest names it, at `at` in `paths_`.
  struct Entry {
    std::size_t at = 0;
    std::size_t size = 0;
    std::optional<FileStamp> stamp;
  };
  std::string_view PathOf(const Entry& entry) const { return std::string_view(paths_).substr(entry.at, entry.size); }

  std::string publish_directory_;
  // In the order published, sorted once, when written. The paths lie one after another
  // in one string: a site's hundred thousand files take no allocation each.
  std::string paths_;
  std::vector<Entry> files_;
};

// A stamp's time as the manifest writes it: seconds, a dot, nine digits of nanoseconds.
std::string StampTimeText(const FileStamp& stamp);

// The files of a manifest file, or nothing when it is not one.
std::optional<std::vector<SiteFile>> ParseSiteManifest(std::string_view bytes);

}  // namespace quorvale
