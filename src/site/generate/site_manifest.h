#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_copy.h"
#include "platform/file_system.h"
#include "platform/scratch_file.h"

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
//
// A site of a hundred thousand pictures publishes half a million files: the manifest
// holds only the files published since it last set aside what it had. What it sets aside
// goes to a scratch file (in memory when none can be made), stamped, in the order
// published, and into the manifest's digest. When the manifest file is to be written,
// the files set aside become lines of it, sorted, a run of them per folder, and the runs
// are merged as the file is written. A run whose digest is the last finished run's need
// not make the lines at all.
class SiteManifest {
 public:
  explicit SiteManifest(std::string publish_directory);
  ~SiteManifest();
  // `path` lies below the Publishing Directory; its stamp, when the step knows it (a copy
  // has its source's), spares looking it up. A file published twice keeps the last stamp
  // it was given.
  void Published(const std::string& path, std::optional<FileStamp> stamp = std::nullopt);
  // Sets aside the files published since the last call, the stamps not yet known looked
  // up now: a run calls it as each album begins, so what the manifest holds does not
  // grow with the albums. A file gone by now is left out.
  void SetAside();
  // The digest of every file published and its stamp, in the order published (what is
  // not set aside yet set aside first): two manifests of the same digest write the same
  // manifest file. As text, to be kept in a record.
  std::string Digest();
  // The manifest file, what is not set aside yet set aside first: a first line naming the
  // format, then one line per file, in path order: size, a tab, seconds.nanoseconds, a
  // tab, the path; UTF-8 with LF line ends. A file published again after it was set
  // aside has the stamp of its last publishing. The pieces stay valid while the manifest
  // lives and nothing more is published.
  BytePieces Pieces();

 private:
  // A published file: its path as the manifest names it (at `path_at` in `paths_`), the
  // `sequence`-th published since the last setting aside, and the size and time its step
  // gave, when `stamped`.
  struct Entry {
    std::size_t path_at = 0;
    std::uint32_t path_size = 0;
    std::uint32_t sequence = 0;
    std::uintmax_t size = 0;
    std::int64_t seconds = 0;
    std::int32_t nanoseconds = 0;
    std::uint32_t folder_size = 0;  // the path's part up to its last "/"
    bool stamped = false;
  };
  static constexpr std::size_t kNotKept = static_cast<std::size_t>(-1);
  // Bytes set aside: at `offset` in the scratch file, or in `kept_[kept]` when there is
  // none.
  struct Stored {
    std::uint64_t offset = 0;
    std::size_t size = 0;
    std::size_t kept = kNotKept;
  };

  // Lines of one folder set aside together, in path order; `order` counts the settings
  // aside. Its first and last paths tell whether other runs' lines fall between its
  // own.
  struct Run {
    Stored lines;
    std::uint32_t order = 0;
    std::string first_path;
    std::string last_path;
  };

  std::string_view PathOf(const Entry& entry) const { return {paths_.data() + entry.path_at, entry.path_size}; }
  // The files being made into runs, folder by folder, each folder's in path order, a
  // file published twice in the order published.
  std::vector<const Entry*> InManifestOrder() const;
  // Keeps `bytes` in the scratch file, or in memory when it cannot take them.
  Stored Store(std::string bytes);
  // The bytes of `stored`, read into `buffer` when they are in the scratch file; nothing
  // when it fails them.
  std::optional<std::string_view> StoredBytes(const Stored& stored, std::string& buffer) const;
  // The `order`-th files set aside, as `bytes` holds them, as runs of manifest lines.
  void WriteRuns(std::string_view bytes, std::uint32_t order);
  // Hands `consume` the lines of every run merged in path order, each path once: from
  // the run set aside last that names it. Returns the failure's reason.
  std::optional<std::string> Merge(const PieceConsumer& consume) const;

  std::string publish_directory_;
  std::vector<Entry> entries_;
  std::string paths_;
  std::vector<Stored> set_aside_;  // each setting aside's files, stamped
  std::size_t set_aside_in_runs_ = 0;  // how many of them are runs already
  std::vector<Run> runs_;
  std::vector<std::string> kept_;
  std::unique_ptr<ScratchFile> scratch_;  // made with the first setting aside
  std::uint64_t digest_;
  std::uint64_t digest_files_ = 0;
  std::uint64_t digest_bytes_ = 0;
};

// The first line of a manifest file, which names its format.
inline constexpr std::string_view kSiteManifestHeader = "Quorvale site manifest 1\n";

// A stamp's time as the manifest writes it: seconds, a dot, nine digits of nanoseconds.
std::string StampTimeText(const FileStamp& stamp);

// The file one line of a manifest file names (the line without its end), or nothing
// when it is no such line.
std::optional<SiteFile> ParseSiteManifestLine(std::string_view line);

// The files of a manifest file, or nothing when it is not one.
std::optional<std::vector<SiteFile>> ParseSiteManifest(std::string_view bytes);

}  // namespace quorvale
