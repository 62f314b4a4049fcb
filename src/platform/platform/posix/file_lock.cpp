#include "platform/file_lock.h"

#include <cerrno>
#include <memory>
#include <variant>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include "platform/posix/contained_files.h"

namespace quorvale {

struct FileLock::OpenFile {
  Descriptor descriptor;
};

FileLock::~FileLock() = default;

FileLock::FileLock(const std::string& root, const std::string& path, bool create) {
  auto opened = OpenParentBelow(root, path);
  if (auto* reason = std::get_if<std::string>(&opened)) {
    reason_ = *reason;
    return;
  }
  const auto& [folder, name] = std::get<ContainedParent>(opened);
  Descriptor file(::openat(folder.get(), name.c_str(), O_RDWR | (create ? O_CREAT : 0) | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
  struct stat status {};
  if (!file.valid()) {
    const int error = errno;
    const bool found = ::fstatat(folder.get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0;
    reason_ = found && S_ISLNK(status.st_mode)    ? LinkRefusal(path)
              : found && !S_ISREG(status.st_mode) ? NotRegularRefusal(path)
                                                  : SystemReason(error);
    return;
  }
  if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
    reason_ = NotRegularRefusal(path);
    return;
  }
  // flock, not fcntl: its lock belongs to the open file, so a second run in the same
  // process is kept out as well as one in another process.
  if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EWOULDBLOCK) {
      state_ = State::kBusy;
    } else {
      reason_ = SystemReason(errno);
    }
    return;
  }
  file_ = std::make_unique<OpenFile>(OpenFile{std::move(file)});
  state_ = State::kHeld;
}

}  // namespace quorvale
