#include "platform/folder_listing.h"

#include <cerrno>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/path.h"
#include "platform/posix/contained_files.h"

namespace quorvale {
namespace {

FolderEntry::Kind KindOf(DIR* dir, const dirent& entry) {
  unsigned char type = entry.d_type;
  if (type == DT_UNKNOWN) {  // some file systems do not say; ask for the entry itself
    struct stat status {};
    if (::fstatat(::dirfd(dir), entry.d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) return FolderEntry::Kind::kOther;
    type = S_ISREG(status.st_mode) ? DT_REG : S_ISDIR(status.st_mode) ? DT_DIR : S_ISLNK(status.st_mode) ? DT_LNK : 0;
  }
  switch (type) {
    case DT_REG: return FolderEntry::Kind::kFile;
    case DT_DIR: return FolderEntry::Kind::kFolder;
    case DT_LNK: return FolderEntry::Kind::kLink;
    default: return FolderEntry::Kind::kOther;
  }
}

// Every entry of an open listing, which it closes.
std::optional<std::vector<FolderEntry>> ListOpened(DIR* dir, std::string* reason) {
  std::vector<FolderEntry> entries;
  errno = 0;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") entries.push_back({std::string(name), KindOf(dir, *entry)});
  }
  const int error = errno;
  ::closedir(dir);
  if (error != 0) {
    if (reason) *reason = SystemReason(error);
    return std::nullopt;
  }
  return entries;
}

}  // namespace

std::optional<std::vector<FolderEntry>> ListFolder(const std::string& path, std::string* reason) {
  DIR* dir = ::opendir(path.c_str());
  if (dir == nullptr) {
    if (reason) *reason = SystemReason(errno);
    return std::nullopt;
  }
  return ListOpened(dir, reason);
}

std::optional<std::vector<FolderEntry>> ListFolderBelow(const std::string& root, const std::string& path,
                                                        std::string* reason) {
  // The walk to a name inside the folder checks the folder itself on the way.
  auto opened = OpenParentBelow(root, JoinPath(path, "."));
  if (auto* why = std::get_if<std::string>(&opened)) {
    if (reason) *reason = *why;
    return std::nullopt;
  }
  // The walk's folder may be shared with later walks: the listing reads its own opening.
  Descriptor listing = ReopenFolder(std::get<ContainedParent>(opened).folder.get());
  DIR* dir = listing.valid() ? ::fdopendir(listing.get()) : nullptr;
  if (dir == nullptr) {
    if (reason) *reason = SystemReason(errno);
    return std::nullopt;
  }
  static_cast<void>(listing.Release());  // the listing closes it
  return ListOpened(dir, reason);
}

}  // namespace quorvale
