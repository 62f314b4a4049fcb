#include "platform/posix/contained_files.h"

#include <cerrno>
#include <cstring>
#include <random>
#include <tuple>
#include <vector>

#include <fcntl.h>

#include "platform/folder_walks.h"
#include "platform/path.h"

namespace quorvale {
namespace {

// strerror_r comes in two shapes: the GNU one returns the text, the POSIX one fills
// the buffer and returns 0. Overloads take whichever this C library has.
[[maybe_unused]] const char* ReasonText(const char* gnu_result, const char*) { return gnu_result; }
[[maybe_unused]] const char* ReasonText(int posix_result, const char* buffer) {
  return posix_result == 0 ? buffer : "Unknown error";
}

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

// The folder `name` in `parent`, opened without following a link or waiting; `path`
// names it in the reason of a refusal.
std::variant<Descriptor, std::string> OpenSubfolder(int parent, const std::string& name, const std::string& path) {
  Descriptor folder(::openat(parent, name.c_str(), kFolderFlags | O_NOFOLLOW | O_NONBLOCK));
  if (folder.valid()) return folder;
  const int error = errno;
  struct stat status {};
  if (::fstatat(parent, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
    if (S_ISLNK(status.st_mode)) return LinkRefusal(path);
    if (!S_ISDIR(status.st_mode)) return NotFolderRefusal(path);
  }
  return SystemReason(error);
}

// The folders a FolderWalkMemory keeps for its thread: each folder's path as the walk
// spelled it, and the folder, opened and shared with the walks that reach it; the most
// recently opened last.
struct RememberedFolder {
  std::string path;
  SharedFolder folder;
};
struct WalkMemory {
  std::string root;
  std::vector<RememberedFolder> folders;
};
constexpr std::size_t kRememberedFolders = 8;  // a run's layout folders and an album's
thread_local WalkMemory* walk_memory = nullptr;

// The memory for walks below `root` on this thread, if one is kept.
WalkMemory* MemoryFor(const std::string& root) {
  return walk_memory != nullptr && walk_memory->root == root ? walk_memory : nullptr;
}

// The deepest remembered folder that holds `path`, and the length of its path; an
// invalid folder when none does.
std::pair<SharedFolder, std::size_t> DeepestRemembered(const WalkMemory& memory, const std::string& path) {
  const RememberedFolder* deepest = nullptr;
  for (const RememberedFolder& folder : memory.folders) {
    const std::size_t size = folder.path.size();
    if ((deepest == nullptr || size > deepest->path.size()) && path.size() > size && path[size] == kPathSeparator &&
        path.compare(0, size, folder.path) == 0) {
      deepest = &folder;
    }
  }
  if (deepest == nullptr) return {SharedFolder(), 0};
  return {deepest->folder, deepest->path.size()};
}

void Remember(WalkMemory& memory, std::string path, const SharedFolder& folder) {
  for (const RememberedFolder& known : memory.folders) {
    if (known.path == path) return;
  }
  if (memory.folders.size() == kRememberedFolders) memory.folders.erase(memory.folders.begin());
  memory.folders.push_back({std::move(path), folder});
}

}  // namespace

// A duplicate would share the reading position: a listing through one would leave the
// next listing through another nothing to read.
Descriptor ReopenFolder(int folder) { return Descriptor(::openat(folder, ".", kFolderFlags)); }

FolderWalkMemory::FolderWalkMemory(const std::string& root) {
  if (walk_memory != nullptr) return;
  walk_memory = new WalkMemory{root, {}};
  active_ = true;
}

FolderWalkMemory::~FolderWalkMemory() {
  if (!active_) return;
  delete walk_memory;
  walk_memory = nullptr;
}

void ForgetRememberedFolders() {
  if (walk_memory != nullptr) walk_memory->folders.clear();
}

std::string SystemReason(int error_number) {
  char buffer[256] = {};
  return ReasonText(strerror_r(error_number, buffer, sizeof buffer), buffer);
}

std::variant<ContainedParent, std::string> OpenParentBelow(const std::string& root, const std::string& path) {
  // A path outside `root` (a caller without one) is checked from its own folder on.
  const bool below_root = !root.empty() && path.size() > root.size() && path.compare(0, root.size(), root) == 0 &&
                          path[root.size()] == kPathSeparator;
  const std::size_t cut = path.rfind(kPathSeparator);
  const std::size_t start = below_root ? root.size() : cut == std::string::npos ? 0 : cut;
  const std::string top = below_root                  ? root
                          : cut == std::string::npos ? std::string(".")
                          : cut == 0                 ? std::string(1, kPathSeparator)
                                                     : path.substr(0, cut);

  WalkMemory* memory = below_root ? MemoryFor(root) : nullptr;
  SharedFolder folder;
  std::size_t begin = start;
  if (memory != nullptr) std::tie(folder, begin) = DeepestRemembered(*memory, path);
  if (!folder.valid()) {
    folder = SharedFolder(Descriptor(::open(top.c_str(), kFolderFlags)));
    if (!folder.valid()) return SystemReason(errno);
    begin = start;
    if (memory != nullptr) Remember(*memory, top, folder);
  }

  // Every component between the root and the last one must be a real folder.
  for (;;) {
    while (begin < path.size() && path[begin] == kPathSeparator) ++begin;
    const std::size_t end = path.find(kPathSeparator, begin);
    if (end == std::string::npos) break;
    auto next = OpenSubfolder(folder.get(), path.substr(begin, end - begin), path.substr(0, end));
    if (auto* reason = std::get_if<std::string>(&next)) return *reason;
    folder = SharedFolder(std::get<Descriptor>(std::move(next)));
    if (memory != nullptr) Remember(*memory, path.substr(0, end), folder);
    begin = end;
  }
  if (begin >= path.size()) return NotRegularRefusal(path);  // the path names a folder
  return ContainedParent{std::move(folder), path.substr(begin)};
}

std::variant<Descriptor, std::string> OpenFolderBelow(const std::string& root, const std::string& path) {
  if (path == root) {
    Descriptor folder(::open(root.c_str(), kFolderFlags));
    if (!folder.valid()) return SystemReason(errno);
    return folder;
  }
  auto opened = OpenParentBelow(root, path);
  if (auto* reason = std::get_if<std::string>(&opened)) return *reason;
  const auto& [parent, name] = std::get<ContainedParent>(opened);
  return OpenSubfolder(parent.get(), name, path);
}

std::optional<std::string> CheckReplaceable(int folder, const std::string& name, const std::string& path,
                                            std::optional<struct stat>& existing) {
  struct stat status {};
  if (::fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno == ENOENT) return std::nullopt;
    return SystemReason(errno);
  }
  if (S_ISLNK(status.st_mode)) return LinkRefusal(path);
  if (!S_ISREG(status.st_mode)) return NotRegularRefusal(path);
  existing = status;
  return std::nullopt;
}

std::variant<std::pair<Descriptor, std::string>, std::string> CreateTemporaryIn(int folder, std::string_view prefix,
                                                                                mode_t mode) {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  thread_local std::mt19937_64 random{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name(prefix);
    for (int i = 0; i < kTemporaryRandomLength; ++i) name += kLetters[pick(random)];
    // The mode passes through the umask here, so nothing process-wide is changed.
    Descriptor file(::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
    if (file.valid()) return std::pair<Descriptor, std::string>(std::move(file), std::move(name));
    if (errno != EEXIST) return SystemReason(errno);
  }
  return SystemReason(EEXIST);
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t put = ::write(fd, bytes.data(), bytes.size());
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(put));
  }
  return true;
}

}  // namespace quorvale
