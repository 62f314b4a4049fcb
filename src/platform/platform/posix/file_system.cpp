#include "platform/file_system.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/contained_files.h"
#include "platform/path.h"

namespace quorvale {
namespace {

struct ReplaceOptions {
  bool sync = false;              // the file, then its folder, reach the disk before success
  std::string temporary_prefix;   // the temporary file's name up to its random part
};

// The content goes to a temporary file in the target's folder, which then replaces the
// target in one rename.
std::optional<std::string> ReplaceIn(int folder, const std::string& name, const BytePieces& pieces,
                                     const std::optional<struct stat>& existing, const ReplaceOptions& options) {
  // State: a fresh temporary file, locked so that the next save knows it is in use.
  auto created = CreateTemporaryIn(folder, options.temporary_prefix, 0666);
  if (auto* reason = std::get_if<std::string>(&created)) return *reason;
  auto [file, temporary] = std::get<std::pair<Descriptor, std::string>>(std::move(created));
  ::flock(file.get(), LOCK_EX | LOCK_NB);
  const auto fail = [&, temporary = temporary](int error) -> std::optional<std::string> {
    ::unlinkat(folder, temporary.c_str(), 0);
    return SystemReason(error);
  };
  // State: the content written, the old file's permission bits kept.
  int write_error = 0;
  const auto source_failure = pieces([&](std::string_view piece) {
    if (WriteAll(file.get(), piece)) return true;
    write_error = errno;
    return false;
  });
  if (write_error != 0) return fail(write_error);
  if (source_failure) {
    ::unlinkat(folder, temporary.c_str(), 0);
    return source_failure;
  }
  if (existing && ::fchmod(file.get(), existing->st_mode & 07777) != 0) return fail(errno);
  if (options.sync && ::fsync(file.get()) != 0) return fail(errno);
  // State: the temporary file is complete; it replaces the target in one step.
  if (::renameat(folder, temporary.c_str(), folder, name.c_str()) != 0) return fail(errno);
  // State: the rename reaches the disk with the folder.
  if (options.sync && ::fsync(folder) != 0) return SystemReason(errno);
  if (!file.Close()) return SystemReason(errno);
  return std::nullopt;
}

// Whether the regular file `name` in `folder`, whose status is `existing`, holds
// exactly the `pieces` (of `size` bytes, when known): then writing them would change
// nothing, and the file, its time included, is left as it is. A file that cannot be
// read is written as ever.
bool HoldsExactly(int folder, const std::string& name, const struct stat& existing, const BytePieces& pieces,
                  std::optional<std::uintmax_t> size) {
  if (size && static_cast<std::uintmax_t>(existing.st_size) != *size) return false;
  Descriptor file(::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  struct stat status {};
  if (!file.valid() || ::fstat(file.get(), &status) != 0 || status.st_ino != existing.st_ino ||
      status.st_dev != existing.st_dev || !S_ISREG(status.st_mode)) {
    return false;
  }
  return PiecesMatchRead(pieces, [&](char* buffer, std::size_t capacity) -> std::ptrdiff_t {
    for (;;) {
      const ssize_t got = ::read(file.get(), buffer, capacity);
      if (got >= 0 || errno != EINTR) return got;
    }
  });
}

// WriteFileBelow and WritePiecesBelow: `size` is the content's, when known.
std::optional<std::string> WriteBelow(const std::string& root, const std::string& path, const BytePieces& pieces,
                                      std::optional<std::uintmax_t> size) {
  auto opened = OpenParentBelow(root, path);
  if (auto* reason = std::get_if<std::string>(&opened)) return *reason;
  const auto& [folder, name] = std::get<ContainedParent>(opened);
  std::optional<struct stat> existing;
  if (auto reason = CheckReplaceable(folder.get(), name, path, existing)) return reason;
  if (existing && IsReadOnly(*existing)) return SystemReason(EACCES);
  if (existing && HoldsExactly(folder.get(), name, *existing, pieces, size)) return std::nullopt;
  return ReplaceIn(folder.get(), name, pieces, existing, {false, std::string(kWriteTemporaryPrefix)});
}

// Removes the temporary files whose names are `prefix` and six more characters. With
// `unless_locked`, a file that a writer still holds a lock on (a save in progress) is
// kept: a killed save no longer holds its lock.
void RemoveTemporaries(int folder, std::string_view prefix, bool unless_locked) {
  // `folder` may be shared with other walks: the listing reads its own opening.
  Descriptor listing = ReopenFolder(folder);
  DIR* dir = listing.valid() ? ::fdopendir(listing.get()) : nullptr;
  if (dir == nullptr) return;
  static_cast<void>(listing.Release());  // the listing closes it
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name.size() != prefix.size() + kTemporaryRandomLength || name.compare(0, prefix.size(), prefix) != 0) continue;
    if (!unless_locked) {
      ::unlinkat(folder, entry->d_name, 0);
      continue;
    }
    Descriptor leftover(::openat(folder, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (!leftover.valid() || ::fstat(leftover.get(), &status) != 0 || !S_ISREG(status.st_mode)) continue;
    if (::flock(leftover.get(), LOCK_EX | LOCK_NB) == 0) ::unlinkat(folder, entry->d_name, 0);
  }
  ::closedir(dir);
}

// The file that a chain of symbolic links ends at; a relative link is read from the
// link's own folder. The path itself when it is no link.
std::string FollowLinks(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    char target[PATH_MAX];
    const ssize_t length = ::readlink(path.c_str(), target, sizeof target);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof target) return path;
    const std::string link(target, static_cast<std::size_t>(length));
    const std::string folder = FolderOf(path);
    path = link.front() == kPathSeparator || (folder.empty() && path.find(kPathSeparator) == std::string::npos)
               ? link
               : JoinPath(folder, link);
  }
  return path;
}

}  // namespace

std::string LastSystemReason() { return SystemReason(errno); }

// Asked of the system directly: a project's check asks it of every picture, and a
// filesystem path would first be taken apart into its components.
bool FolderExists(const std::string& path) {
  struct stat status {};
  return !path.empty() && ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool FileExists(const std::string& path) {
  struct stat status {};
  return !path.empty() && ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

std::optional<std::string> ReadFileStart(const std::string& path, std::size_t limit, std::string* reason) {
  // Opened without waiting, so a FIFO in the file's place cannot hold the caller.
  Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  struct stat status {};
  std::string failure;
  if (!file.valid() || ::fstat(file.get(), &status) != 0) {
    failure = LastSystemReason();
  } else if (!S_ISREG(status.st_mode)) {
    failure = NotRegularRefusal(path);
  } else {
    std::string content;
    char buffer[65536];
    for (;;) {
      // No more than the caller wants: a format check of a camera's file reads its
      // first bytes, not the first 64 KB.
      const ssize_t got = ::read(file.get(), buffer, std::min(sizeof buffer, limit - content.size()));
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        failure = LastSystemReason();
        break;
      }
      content.append(buffer, static_cast<std::size_t>(got));
      if (got == 0 || content.size() == limit) return content;
    }
  }
  if (reason) *reason = failure;
  return std::nullopt;
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::string* reason) {
  return ReadFileStart(path, std::string::npos, reason);
}

std::optional<std::string> WriteFileBelow(const std::string& root, const std::string& path, std::string_view bytes) {
  return WriteBelow(root, path, WholePieces(bytes), bytes.size());
}

std::optional<std::string> WritePiecesBelow(const std::string& root, const std::string& path, const BytePieces& pieces) {
  return WriteBelow(root, path, pieces, std::nullopt);
}

void RemoveLeftoverWrites(const std::string& root, const std::string& folder) {
  auto opened = OpenParentBelow(root, JoinPath(folder, kWriteTemporaryPrefix));
  auto* parent = std::get_if<ContainedParent>(&opened);
  if (parent == nullptr) return;
  for (const std::string_view prefix : {kWriteTemporaryPrefix, kCopyTemporaryPrefix}) RemoveTemporaries(parent->folder.get(), prefix, false);
}

std::optional<std::string> WriteWholeFile(const std::string& path, std::string_view bytes) {
  return WriteFileBelow(std::string(), path, bytes);
}

std::optional<std::string> WriteFileAtomically(const std::string& path, std::string_view bytes) {
  // State: the file the path stands for: a link is saved through, and stays a link.
  const std::string target = FollowLinks(path);
  auto opened = OpenParentBelow(std::string(), target);
  if (auto* reason = std::get_if<std::string>(&opened)) return *reason;
  const auto& [folder, name] = std::get<ContainedParent>(opened);
  std::optional<struct stat> existing;
  if (auto reason = CheckReplaceable(folder.get(), name, target, existing)) return reason;
  if (existing && IsReadOnly(*existing)) return std::string(kReadOnlyReason);
  // State: what a killed save of this target left behind is gone. The temporary name
  // is short whatever the target's, so a target named as long as the system allows
  // still gets one.
  const std::string prefix = SaveTemporaryPrefix(name);
  RemoveTemporaries(folder.get(), prefix, true);
  return ReplaceIn(folder.get(), name, WholePieces(bytes), existing, {true, prefix});
}

std::optional<std::string> AppendToFileBelow(const std::string& root, const std::string& path,
                                             std::string_view bytes) {
  auto opened = OpenParentBelow(root, path);
  if (auto* reason = std::get_if<std::string>(&opened)) return *reason;
  const auto& [folder, name] = std::get<ContainedParent>(opened);
  // Without waiting: a FIFO without a reader fails at once, one with a reader is refused
  // below like any entry that is no regular file.
  Descriptor file(
      ::openat(folder.get(), name.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
  if (!file.valid()) {
    const int error = errno;
    struct stat status {};
    if (::fstatat(folder.get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
      if (S_ISLNK(status.st_mode)) return LinkRefusal(path);
      if (!S_ISREG(status.st_mode)) return NotRegularRefusal(path);
    }
    return SystemReason(error);
  }
  struct stat status {};
  if (::fstat(file.get(), &status) != 0) return LastSystemReason();
  if (!S_ISREG(status.st_mode)) return NotRegularRefusal(path);
  if (!WriteAll(file.get(), bytes)) return LastSystemReason();
  if (!file.Close()) return LastSystemReason();
  return std::nullopt;
}

}  // namespace quorvale
