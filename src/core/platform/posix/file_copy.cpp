#include "platform/file_copy.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include "platform/file_system.h"

namespace quorvale {

namespace fs = std::filesystem;

namespace {

// FAT (vfat, msdos) and exFAT keep modification times in steps of 2 seconds; the
// kernel names the file system type, everything else keeps nanoseconds.
std::int64_t TimeResolutionOf(const std::string& path) {
  constexpr long kMsdosMagic = 0x4d44;
  constexpr long kExfatMagic = 0x2011BAB0;
  struct statfs volume {};
  if (::statfs(path.c_str(), &volume) != 0) return 1;
  const long type = static_cast<long>(volume.f_type);
  return type == kMsdosMagic || type == kExfatMagic ? kFatTimeResolution : 1;
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

// Closes a descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // Closes now, so that a failure of the close itself is seen.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

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

std::optional<std::string> CopyFileKeepingTime(const std::string& source, const std::string& destination) {
  Descriptor from(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (from.get() < 0) return LastSystemReason();
  struct stat status {};
  if (::fstat(from.get(), &status) != 0) return LastSystemReason();
  if (!S_ISREG(status.st_mode)) return std::string("not a regular file");
  Descriptor to(::open(destination.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, status.st_mode & 0777));
  if (to.get() < 0) return LastSystemReason();
  if (!CopyContent(from.get(), to.get(), static_cast<std::uintmax_t>(status.st_size))) return LastSystemReason();
  // The access time is left alone; the modification time becomes the source's, exactly.
  const struct timespec times[2] = {{0, UTIME_OMIT}, status.st_mtim};
  if (::futimens(to.get(), times) != 0) return LastSystemReason();
  if (!to.Close()) return LastSystemReason();
  return std::nullopt;
}

std::optional<std::string> CreateFolder(const std::string& path) {
  std::error_code error;
  if (fs::create_directory(path, error) || !error) return std::nullopt;
  return error.message();
}

}  // namespace quorvale
