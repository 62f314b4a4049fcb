#include "platform/file_copy.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include "platform/posix/contained_files.h"
#include "platform/file_system.h"

namespace quorvale {
namespace {

// FAT (vfat, msdos) and exFAT keep modification times in steps of 2 seconds; the
// kernel names the volume's file system type, and everything else keeps nanoseconds.
std::int64_t TimeResolutionOf(const struct statfs& volume) {
  constexpr long kMsdosMagic = 0x4d44;
  constexpr long kExfatMagic = 0x2011BAB0;
  const auto type = static_cast<long>(volume.f_type);
  return type == kMsdosMagic || type == kExfatMagic ? kFatTimeResolution : 1;
}

std::int64_t TimeResolutionOf(const std::string& path) {
  struct statfs volume {};
  return ::statfs(path.c_str(), &volume) == 0 ? TimeResolutionOf(volume) : 1;
}

std::int64_t TimeResolutionOf(int folder) {
  struct statfs volume {};
  return ::fstatfs(folder, &volume) == 0 ? TimeResolutionOf(volume) : 1;
}

}  // namespace

std::optional<FileStamp> StampOf(const std::string& path, std::string* reason) {
  struct stat status {};
  if (path.empty() || ::stat(path.c_str(), &status) != 0) {
    if (reason) *reason = path.empty() || errno == ENOENT || errno == ENOTDIR ? std::string() : LastSystemReason();
    return std::nullopt;
  }
  if (!S_ISREG(status.st_mode)) {
    if (reason) reason->clear();
    return std::nullopt;
  }
  return FileStamp{static_cast<std::uintmax_t>(status.st_size), static_cast<std::int64_t>(status.st_mtim.tv_sec),
                   static_cast<std::int64_t>(status.st_mtim.tv_nsec), TimeResolutionOf(path)};
}

namespace {

// Copies the whole content; the kernel moves the bytes where it can.
bool CopyContent(int from, int to, std::uintmax_t size) {
  std::uintmax_t left = size;
  while (left > 0) {
    const ssize_t moved = ::copy_file_range(from, nullptr, to, nullptr, left, 0);
    if (moved < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) break;
    if (moved < 0) return false;
    if (moved == 0) return true;  // the source got shorter meanwhile
    left -= static_cast<std::uintmax_t>(moved);
  }
  if (left == 0) return true;
  // Fallback where the file systems cannot copy between themselves: plain reads and writes.
  if (::lseek(from, static_cast<off_t>(size - left), SEEK_SET) < 0) return false;
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = ::read(from, buffer, sizeof buffer);
    if (got < 0) return false;
    if (got == 0) return true;
    for (ssize_t done = 0; done < got;) {
      const ssize_t put = ::write(to, buffer + done, static_cast<std::size_t>(got - done));
      if (put < 0) return false;
      done += put;
    }
  }
}

}  // namespace

std::optional<FileStamp> StampBelow(const std::string& root, const std::string& path) {
  auto opened = OpenParentBelow(root, path);
  auto* parent = std::get_if<ContainedParent>(&opened);
  struct stat status {};
  if (parent == nullptr || ::fstatat(parent->folder.get(), parent->name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0 ||
      !S_ISREG(status.st_mode)) {
    return std::nullopt;
  }
  return FileStamp{static_cast<std::uintmax_t>(status.st_size), static_cast<std::int64_t>(status.st_mtim.tv_sec),
                   static_cast<std::int64_t>(status.st_mtim.tv_nsec), TimeResolutionOf(parent->folder.get())};
}

std::optional<std::string> CopyFileBelow(const std::string& root, const std::string& source,
                                         const std::string& destination) {
  // The source is the user's and may be reached through links; a FIFO in its place is
  // opened without waiting and refused.
  Descriptor from(::open(source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (!from.valid()) return LastSystemReason();
  struct stat status {};
  if (::fstat(from.get(), &status) != 0) return LastSystemReason();
  if (!S_ISREG(status.st_mode)) return NotRegularRefusal(source);

  auto opened = OpenParentBelow(root, destination);
  if (auto* reason = std::get_if<std::string>(&opened)) return *reason;
  const auto& [folder, name] = std::get<ContainedParent>(opened);
  std::optional<struct stat> existing;
  if (auto reason = CheckReplaceable(folder.get(), name, destination, existing)) return reason;
  if (existing && IsReadOnly(*existing)) return SystemReason(EACCES);

  auto created = CreateTemporaryIn(folder.get(), kCopyTemporaryPrefix, status.st_mode & 0777);
  if (auto* reason = std::get_if<std::string>(&created)) return *reason;
  auto [to, temporary] = std::get<std::pair<Descriptor, std::string>>(std::move(created));
  const auto fail = [&, temporary = temporary](int error) -> std::optional<std::string> {
    ::unlinkat(folder.get(), temporary.c_str(), 0);
    return SystemReason(error);
  };
  if (!CopyContent(from.get(), to.get(), static_cast<std::uintmax_t>(status.st_size))) return fail(errno);
  // The access time is left alone; the modification time becomes the source's, exactly.
  const struct timespec times[2] = {{0, UTIME_OMIT}, status.st_mtim};
  if (::futimens(to.get(), times) != 0) return fail(errno);
  if (!to.Close()) return fail(errno);
  if (::renameat(folder.get(), temporary.c_str(), folder.get(), name.c_str()) != 0) return fail(errno);
  return std::nullopt;
}

std::optional<std::string> CopyFileKeepingTime(const std::string& source, const std::string& destination) {
  return CopyFileBelow(std::string(), source, destination);
}

std::optional<std::string> CreateFolderBelow(const std::string& root, const std::string& path) {
  auto opened = OpenParentBelow(root, path);
  if (auto* reason = std::get_if<std::string>(&opened)) return *reason;
  const auto& [folder, name] = std::get<ContainedParent>(opened);
  if (::mkdirat(folder.get(), name.c_str(), 0777) == 0) return std::nullopt;
  const int error = errno;
  struct stat status {};
  if (error == EEXIST && ::fstatat(folder.get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
    if (S_ISDIR(status.st_mode)) return std::nullopt;
    if (S_ISLNK(status.st_mode)) return LinkRefusal(path);
    return NotFolderRefusal(path);
  }
  return SystemReason(error);
}

std::optional<std::string> CreateFolder(const std::string& path) { return CreateFolderBelow(std::string(), path); }

}  // namespace quorvale
