#include "platform/file_copy.h"

#include <algorithm>
#include <cerrno>
#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include "platform/posix/contained_files.h"
#include "platform/file_reading.h"
#include "platform/file_system.h"
#include "platform/path.h"

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

// The stamp of a file's status; `resolution` gives the volume's time step, asked only
// when the file's time could come from a coarse volume.
template <typename Resolution>
FileStamp StampFrom(const struct stat& status, Resolution&& resolution) {
  const auto nanoseconds = static_cast<std::int64_t>(status.st_mtim.tv_nsec);
  return FileStamp{static_cast<std::uintmax_t>(status.st_size), static_cast<std::int64_t>(status.st_mtim.tv_sec),
                   nanoseconds, MayBeCoarseTime(nanoseconds) ? resolution() : 1};
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
  return StampFrom(status, [&path] { return TimeResolutionOf(path); });
}

struct SourceStamps::State {
  std::string folder;                      // the open folder's path, as the files name it
  Descriptor opened;                       // invalid when it could not be opened
  std::optional<std::int64_t> resolution;  // asked once per folder, when first needed
};

SourceStamps::SourceStamps() : state_(std::make_unique<State>()) {}
SourceStamps::SourceStamps(SourceStamps&& other) noexcept = default;
SourceStamps& SourceStamps::operator=(SourceStamps&& other) noexcept = default;
SourceStamps::~SourceStamps() = default;

std::optional<FileStamp> SourceStamps::Of(const std::string& path, std::string* reason) {
  const std::string name = FileNameOf(path);
  const std::string folder = FolderOf(path);
  if (!IsPlainName(name) || folder.empty()) return StampOf(path, reason);
  State& state = *state_;
  if (folder != state.folder) {
    state.opened = Descriptor(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC));
    state.folder = folder;
    state.resolution.reset();
  }
  // A folder that may be searched but not read answers by path.
  if (!state.opened.valid()) return StampOf(path, reason);
  struct stat status {};
  if (::fstatat(state.opened.get(), name.c_str(), &status, 0) != 0) {
    if (reason) *reason = errno == ENOENT || errno == ENOTDIR ? std::string() : LastSystemReason();
    return std::nullopt;
  }
  if (!S_ISREG(status.st_mode)) {
    if (reason) reason->clear();
    return std::nullopt;
  }
  return StampFrom(status, [&state] {
    if (!state.resolution) state.resolution = TimeResolutionOf(state.opened.get());
    return *state.resolution;
  });
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

// The stamp of the regular file `name` in `folder`, not followed when it is a link.
template <typename Resolution>
std::optional<FileStamp> StampIn(int folder, const std::string& name, Resolution&& resolution) {
  struct stat status {};
  if (::fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(status.st_mode)) {
    return std::nullopt;
  }
  return StampFrom(status, resolution);
}

// A copy's source, opened for reading, with its status.
struct OpenedSource {
  Descriptor file;
  struct stat status;
};

// The source is the user's and may be reached through links; a FIFO in its place is
// opened without waiting and refused.
std::variant<OpenedSource, std::string> OpenSource(const std::string& source) {
  OpenedSource opened{Descriptor(::open(source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)), {}};
  if (!opened.file.valid()) return LastSystemReason();
  if (::fstat(opened.file.get(), &opened.status) != 0) return LastSystemReason();
  if (!S_ISREG(opened.status.st_mode)) return NotRegularRefusal(source);
  return opened;
}

// Copies the opened source over the file `name` in `folder`, which `destination` names.
std::optional<std::string> CopyInto(int folder, const std::string& name, const OpenedSource& source,
                                    const std::string& destination) {
  const Descriptor& from = source.file;
  const struct stat& status = source.status;
  std::optional<struct stat> existing;
  if (auto reason = CheckReplaceable(folder, name, destination, existing)) return reason;
  if (existing && IsReadOnly(*existing)) return SystemReason(EACCES);

  auto created = CreateTemporaryIn(folder, kCopyTemporaryPrefix, status.st_mode & 0777);
  if (auto* reason = std::get_if<std::string>(&created)) return *reason;
  auto [to, temporary] = std::get<std::pair<Descriptor, std::string>>(std::move(created));
  const auto fail = [&, temporary = temporary](int error) -> std::optional<std::string> {
    ::unlinkat(folder, temporary.c_str(), 0);
    return SystemReason(error);
  };
  if (!CopyContent(from.get(), to.get(), static_cast<std::uintmax_t>(status.st_size))) return fail(errno);
  // The access time is left alone; the modification time becomes the source's, exactly.
  const struct timespec times[2] = {{0, UTIME_OMIT}, status.st_mtim};
  if (::futimens(to.get(), times) != 0) return fail(errno);
  if (!to.Close()) return fail(errno);
  if (::renameat(folder, temporary.c_str(), folder, name.c_str()) != 0) return fail(errno);
  return std::nullopt;
}

}  // namespace

std::optional<FileStamp> StampBelow(const std::string& root, const std::string& path) {
  auto opened = OpenParentBelow(root, path);
  auto* parent = std::get_if<ContainedParent>(&opened);
  if (parent == nullptr) return std::nullopt;
  return StampIn(parent->folder.get(), parent->name, [parent] { return TimeResolutionOf(parent->folder.get()); });
}

std::optional<FileStamp> SettledFolderStampBelow(const std::string& root, const std::string& path) {
  // A second is far more than the system clock's step between two changes.
  constexpr std::int64_t kSettledAfterSeconds = 1;
  struct timespec now {};
  if (::clock_gettime(CLOCK_REALTIME, &now) != 0) return std::nullopt;
  auto opened = OpenParentBelow(root, JoinPath(path, "."));
  auto* folder = std::get_if<ContainedParent>(&opened);
  struct stat status {};
  if (folder == nullptr || ::fstat(folder->folder.get(), &status) != 0 || !S_ISDIR(status.st_mode)) return std::nullopt;
  const auto seconds = static_cast<std::int64_t>(status.st_ctim.tv_sec);
  const auto nanoseconds = static_cast<std::int64_t>(status.st_ctim.tv_nsec);
  const auto settled_before = static_cast<std::int64_t>(now.tv_sec) - kSettledAfterSeconds;
  if (seconds > settled_before || (seconds == settled_before && nanoseconds > now.tv_nsec)) return std::nullopt;
  if (MayBeCoarseTime(nanoseconds) && TimeResolutionOf(folder->folder.get()) != 1) return std::nullopt;
  return FileStamp{static_cast<std::uintmax_t>(status.st_size), seconds, nanoseconds, 1};
}

std::optional<std::string> CopyFileBelow(const std::string& root, const std::string& source,
                                         const std::string& destination) {
  auto from = OpenSource(source);
  if (auto* reason = std::get_if<std::string>(&from)) return *reason;
  auto opened = OpenParentBelow(root, destination);
  if (auto* reason = std::get_if<std::string>(&opened)) return *reason;
  const auto& [folder, name] = std::get<ContainedParent>(opened);
  return CopyInto(folder.get(), name, std::get<OpenedSource>(from), destination);
}

struct FolderBelow::State {
  std::string root;
  std::string path;
  Descriptor folder;                       // invalid when the folder could not be opened
  std::optional<std::int64_t> resolution;  // asked once, when first needed
};

FolderBelow::FolderBelow(const std::string& root, const std::string& folder)
    : state_(std::make_unique<State>(State{root, folder, Descriptor(), std::nullopt})) {
  if (auto opened = OpenFolderBelow(root, folder); auto* descriptor = std::get_if<Descriptor>(&opened)) {
    state_->folder = std::move(*descriptor);
  }
}
FolderBelow::FolderBelow(FolderBelow&& other) noexcept = default;
FolderBelow& FolderBelow::operator=(FolderBelow&& other) noexcept = default;
FolderBelow::~FolderBelow() = default;

std::optional<FileStamp> FolderBelow::Stamp(const std::string& name) {
  State& state = *state_;
  if (!state.folder.valid() || !IsPlainName(name)) return StampBelow(state.root, JoinPath(state.path, name));
  return StampIn(state.folder.get(), name, [&state] {
    if (!state.resolution) state.resolution = TimeResolutionOf(state.folder.get());
    return *state.resolution;
  });
}

std::optional<std::string> FolderBelow::Copy(const std::string& source, const std::string& name) {
  const State& state = *state_;
  const std::string destination = JoinPath(state.path, name);
  if (!state.folder.valid() || !IsPlainName(name)) return CopyFileBelow(state.root, source, destination);
  auto from = OpenSource(source);
  if (auto* reason = std::get_if<std::string>(&from)) return *reason;
  return CopyInto(state.folder.get(), name, std::get<OpenedSource>(from), destination);
}

std::optional<std::string> FolderBelow::ReadStart(const std::string& name, std::size_t count, std::uintmax_t& size) {
  const State& state = *state_;
  const std::string path = JoinPath(state.path, name);
  if (!state.folder.valid() || !IsPlainName(name)) return ReadFileStartBelow(state.root, path, count, size);
  return ReadIn(state.folder.get(), name, path, 0, std::max<std::size_t>(count, 1), size, nullptr);
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

}  // namespace quorvale
