#include "platform/folder_removal.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include "platform/posix/contained_files.h"
#include "platform/path.h"

namespace quorvale {
namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// The names in a folder, in byte order, without "." and "..". Only one folder's names
// are held at a time.
std::optional<std::vector<std::string>> SortedNames(int folder, int& error) {
  const int listing = ::dup(folder);
  DIR* dir = listing < 0 ? nullptr : ::fdopendir(listing);
  if (dir == nullptr) {
    error = errno;
    if (listing >= 0) ::close(listing);
    return std::nullopt;
  }
  ::rewinddir(dir);  // the copy shares its position with `folder`, read before
  std::vector<std::string> names;
  errno = 0;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  error = errno;
  ::closedir(dir);
  if (error != 0) return std::nullopt;
  std::sort(names.begin(), names.end());
  return names;
}

RemovalFailure Failed(std::string entry, int error) { return {std::move(entry), SystemReason(error), false}; }
RemovalFailure ReadOnly(std::string entry) { return {std::move(entry), SystemReason(EACCES), true}; }

bool SameEntry(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// The name under which `child` (a folder) appears in `parent`.
std::optional<std::string> NameIn(int parent, const struct stat& child) {
  int error = 0;
  const auto names = SortedNames(parent, error);
  if (!names) return std::nullopt;
  for (const std::string& name : *names) {
    struct stat status {};
    if (::fstatat(parent, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 && SameEntry(status, child)) return name;
  }
  return std::nullopt;
}

// Deletes the folder `top_name` in `top_parent` with everything below it.
std::optional<RemovalFailure> RemoveTreeIn(int top_parent, const std::string& top_name) {
  ForgetRememberedFolders();
  Descriptor current(::openat(top_parent, top_name.c_str(), kFolderFlags));
  struct stat top {};
  if (!current.valid() || ::fstat(current.get(), &top) != 0) return Failed(top_name, errno);
  if (IsReadOnly(top)) return ReadOnly(top_name);

  // Down to the first folder that still holds something, deleting files on the way;
  // up through ".." once a folder is empty, deleting it from its parent. Nothing of
  // the way is remembered, so the memory stays the same at any depth.
  for (;;) {
    int error = 0;
    const auto names = SortedNames(current.get(), error);
    if (!names) return Failed(".", error);
    std::optional<Descriptor> below;
    for (const std::string& name : *names) {
      struct stat status {};
      if (::fstatat(current.get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT) continue;  // gone meanwhile
        return Failed(name, errno);
      }
      if (!S_ISDIR(status.st_mode)) {
        if (!S_ISLNK(status.st_mode) && IsReadOnly(status)) return ReadOnly(name);
        if (::unlinkat(current.get(), name.c_str(), 0) != 0 && errno != ENOENT) return Failed(name, errno);
        continue;
      }
      if (IsReadOnly(status)) return ReadOnly(name);
      Descriptor folder(::openat(current.get(), name.c_str(), kFolderFlags));
      if (!folder.valid()) return Failed(name, errno);
      below = std::move(folder);
      break;
    }
    if (below) {
      current = std::move(*below);
      continue;
    }
    // This folder is empty now.
    struct stat here {};
    if (::fstat(current.get(), &here) != 0) return Failed(".", errno);
    if (SameEntry(here, top)) break;
    Descriptor parent(::openat(current.get(), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!parent.valid()) return Failed("..", errno);
    const auto name = NameIn(parent.get(), here);
    if (!name) return Failed(".", ENOENT);
    if (::unlinkat(parent.get(), name->c_str(), AT_REMOVEDIR) != 0) return Failed(*name, errno);
    current = std::move(parent);
  }
  current.Close();
  if (::unlinkat(top_parent, top_name.c_str(), AT_REMOVEDIR) != 0) return Failed(top_name, errno);
  return std::nullopt;
}

// Deletes the regular file (or, with `folder`, the empty folder) at `path` below `root`;
// a link or another kind of entry stays, and a missing one is no failure.
std::optional<std::string> RemoveEntryBelow(const std::string& root, const std::string& path, bool folder) {
  auto opened = OpenParentBelow(root, path);
  if (auto* reason = std::get_if<std::string>(&opened)) return *reason;
  const auto& [parent, name] = std::get<ContainedParent>(opened);
  struct stat status {};
  if (::fstatat(parent.get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
    return errno == ENOENT ? std::nullopt : std::optional<std::string>(SystemReason(errno));
  }
  if (S_ISLNK(status.st_mode)) return LinkRefusal(path);
  if (folder && !S_ISDIR(status.st_mode)) return NotFolderRefusal(path);
  if (!folder && !S_ISREG(status.st_mode)) return NotRegularRefusal(path);
  if (folder) ForgetRememberedFolders();
  if (::unlinkat(parent.get(), name.c_str(), folder ? AT_REMOVEDIR : 0) != 0 && errno != ENOENT) {
    return SystemReason(errno);
  }
  return std::nullopt;
}

}  // namespace

std::optional<RemovalFailure> RemoveFolderTree(const std::string& path) {
  if (path.empty()) return Failed(path, ENOENT);
  const std::string top_name = FileNameOf(path);
  const std::string top_parent_path = FolderOf(path);
  Descriptor top_parent(::open(top_parent_path.empty() ? (path.front() == kPathSeparator ? "/" : ".")
                                                       : top_parent_path.c_str(),
                               O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!top_parent.valid()) return Failed(top_name, errno);
  return RemoveTreeIn(top_parent.get(), top_name);
}

std::optional<RemovalFailure> RemoveFolderTreeBelow(const std::string& root, const std::string& path) {
  auto opened = OpenParentBelow(root, path);
  if (auto* reason = std::get_if<std::string>(&opened)) return RemovalFailure{FileNameOf(path), *reason, false};
  const auto& [folder, name] = std::get<ContainedParent>(opened);
  struct stat status {};
  if (::fstatat(folder.get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(status.st_mode)) {
    return RemovalFailure{name, LinkRefusal(path), false};
  }
  return RemoveTreeIn(folder.get(), name);
}

std::optional<std::string> RemoveFileBelow(const std::string& root, const std::string& path) {
  return RemoveEntryBelow(root, path, false);
}

std::optional<std::string> RemoveEmptyFolderBelow(const std::string& root, const std::string& path) {
  return RemoveEntryBelow(root, path, true);
}

}  // namespace quorvale
