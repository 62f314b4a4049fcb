#pragma once

#include <cstdint>
#include <memory>
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
  // A published file: its path as the manifest names it, the `sequence`-th published,
  // and the size and time its step gave, when `stamped`. Forty bytes: a site's hundred
  // thousand pictures publish a million files.
  struct Entry {
    const char* path = nullptr;
    std::uint32_t path_size = 0;
    std::uint32_t sequence = 0;
    std::uintmax_t size = 0;
    std::int64_t seconds = 0;
    std::int32_t nanoseconds = 0;
    bool stamped = false;
    std::string_view Path() const { return {path, path_size}; }
  };

  std::string publish_directory_;
  // In the order published, sorted once, when written. The entries and the paths they
  // view are kept in blocks that are filled and never moved: a site's hundred thousand
  // files take no allocation each, and nothing is copied as the list grows.
  std::vector<std::unique_ptr<char[]>> path_blocks_;
  char* path_next_ = nullptr;  // where the last block's free room starts
  std::size_t path_block_left_ = 0;
  std::vector<std::vector<Entry>> entry_blocks_;
  std::size_t count_ = 0;
};

// A stamp's time as the manifest writes it: seconds, a dot, nine digits of nanoseconds.
std::string StampTimeText(const FileStamp& stamp);

// The files of a manifest file, or nothing when it is not one.
std::optional<std::vector<SiteFile>> ParseSiteManifest(std::string_view bytes);

}  // namespace quorvale
