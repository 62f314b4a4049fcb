#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace quorvale {

// What decides whether a copy is up to date: the size in bytes and the last-modified
// time, as finely as the system keeps it. One status call per file, nothing read.
struct FileStamp {
  std::uintmax_t size = 0;
  std::int64_t modified_seconds = 0;
  std::int64_t modified_nanoseconds = 0;
  // The step in which the file's volume keeps times: 2 seconds on FAT and exFAT,
  // otherwise the finest the system reports (1 ns on POSIX, 100 ns on Windows).
  std::int64_t resolution_nanoseconds = 1;
  // The same state of a file: size and time. The resolution is the volume's, so a
  // stamp read back from a record (which does not keep it) still compares equal.
  bool operator==(const FileStamp& other) const {
    return size == other.size && modified_seconds == other.modified_seconds &&
           modified_nanoseconds == other.modified_nanoseconds;
  }
};

// The time step of FAT and exFAT volumes.
inline constexpr std::int64_t kFatTimeResolution = 2'000'000'000;

// Whether a file's time could have been kept by a FAT or exFAT volume, whose times fall
// on whole steps of 10 ms or more. A finer time proves the volume keeps times finely,
// so the stamp readers ask the volume for its resolution only when this holds.
inline bool MayBeCoarseTime(std::int64_t modified_nanoseconds) { return modified_nanoseconds % 10'000'000 == 0; }

// Whether `copy` is still an up-to-date copy of `source`: the same size, and times that
// differ by less than the coarser of the two resolutions. Where both volumes keep times
// finely that means equal times; a copy on a FAT stick, whose time the stick rounded to
// 2 seconds, still counts as up to date.
bool IsUpToDateCopy(const FileStamp& source, const FileStamp& copy);
// The same for a copy that may be missing (never up to date).
inline bool IsUpToDateCopy(const FileStamp& source, const std::optional<FileStamp>& copy) {
  return copy && IsUpToDateCopy(source, *copy);
}

// The stamp of an existing regular file, or nothing: a missing path (or one that is no
// regular file) leaves `reason` empty, any other failure sets it to the system's reason.
std::optional<FileStamp> StampOf(const std::string& path, std::string* reason = nullptr);

// StampOf for the user's files, looked up folder by folder: the folder of the last file
// stays open, so the pictures of one folder, looked up in a row, are each found by name
// in it instead of by walking their whole path again, and the volume is asked for its
// time resolution at most once per folder. Answers exactly as StampOf, following links
// as it does; where a folder cannot be opened, StampOf answers. One thread at a time.
class SourceStamps {
 public:
  SourceStamps();
  SourceStamps(SourceStamps&& other) noexcept;
  SourceStamps& operator=(SourceStamps&& other) noexcept;
  ~SourceStamps();

  std::optional<FileStamp> Of(const std::string& path, std::string* reason = nullptr);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The stamp of the regular file at `path` below `root`, reached without following a
// link (see WriteFileBelow); nothing when it is missing, not reachable so, or no
// regular file. What decides whether a copy there is up to date.
std::optional<FileStamp> StampBelow(const std::string& root, const std::string& path);

// The stamp of the folder at `path` below `root` (reached without following a link),
// when it is settled: the folder's size and the time of its last change of status,
// which every entry made, removed or renamed in it moves on, kept finely and at least a
// second past. Any change to the folder from now on gives it another stamp, so a stamp
// taken before the folder is listed vouches for that listing for as long as the folder
// keeps it. Nothing when the folder cannot be reached, is not settled, lies on a volume
// that keeps times coarsely, or lies on Windows, whose folder times are not relied on.
std::optional<FileStamp> SettledFolderStampBelow(const std::string& root, const std::string& path);

// Copies `source` over `destination` below `root` and gives the copy the source's
// last-modified time, so a later run finds it up to date. The copy is made in a
// temporary file beside the destination and renamed over it, with the rules of
// WriteFileBelow: no link below `root` followed, a destination that is a link or no
// regular file left alone, the source read only when it is a regular file, nothing
// that waits. Returns the failure's reason.
std::optional<std::string> CopyFileBelow(const std::string& root, const std::string& source,
                                         const std::string& destination);

// A folder below a root, reached once without following a link and kept open for the
// many files in it, so a picture folder's stamps and copies do not walk the path from
// the root again for every file, and the volume is asked for its time resolution at most
// once. Stamp, Copy and ReadStart answer exactly as StampBelow, CopyFileBelow and
// ReadFileStartBelow would for the file `name` (a plain file name) in the folder; when
// the folder could not be opened (missing, a link, no folder) they are those calls, so
// each file meets the reason itself. The open folder cannot be swapped for a link
// meanwhile. One thread at a time.
class FolderBelow {
 public:
  // `folder` is `root`, a separator and a relative part, or `root` itself.
  FolderBelow(const std::string& root, const std::string& folder);
  FolderBelow(FolderBelow&& other) noexcept;
  FolderBelow& operator=(FolderBelow&& other) noexcept;
  ~FolderBelow();

  std::optional<FileStamp> Stamp(const std::string& name);
  std::optional<std::string> Copy(const std::string& source, const std::string& name);
  // As ReadFileStartBelow.
  std::optional<std::string> ReadStart(const std::string& name, std::size_t count, std::uintmax_t& size);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Creates one folder below `root` (its parent must exist), reaching it without
// following a link. Returns the failure's reason; an existing folder is no failure, a
// link in its place is refused ("<path> is a link; not followed"), and so is any other
// entry that is no folder ("<path> is not a folder").
std::optional<std::string> CreateFolderBelow(const std::string& root, const std::string& path);

}  // namespace quorvale
