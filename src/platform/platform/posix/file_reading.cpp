#include "platform/file_reading.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/contained_files.h"

namespace quorvale {

namespace {

// The whole file when `start` is 0 (refused above `limit`), else its first `start`
// bytes; `size` gets the whole file's size.
std::optional<std::string> ReadBelow(const std::string& root, const std::string& path, std::uintmax_t limit,
                                     std::size_t start, std::uintmax_t& size, std::string* reason) {
  auto opened = OpenParentBelow(root, path);
  if (auto* why = std::get_if<std::string>(&opened)) {
    if (reason) *reason = *why;
    return std::nullopt;
  }
  const auto& [folder, name] = std::get<ContainedParent>(opened);
  return ReadIn(folder.get(), name, path, limit, start, size, reason);
}

}  // namespace

std::optional<std::string> ReadIn(int folder, const std::string& name, const std::string& path, std::uintmax_t limit,
                                  std::size_t start, std::uintmax_t& size, std::string* reason) {
  const auto fail = [reason](std::string why) -> std::optional<std::string> {
    if (reason) *reason = std::move(why);
    return std::nullopt;
  };
  // The entry as it is, before it is opened: a device is not opened at all.
  struct stat status {};
  if (::fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
    return fail(errno == ENOENT ? std::string() : SystemReason(errno));
  }
  if (S_ISLNK(status.st_mode)) return fail(LinkRefusal(path));
  if (!S_ISREG(status.st_mode)) return fail(NotRegularRefusal(path));
  // Opened without waiting and without following, so an entry swapped in meanwhile is
  // seen below for what it is.
  Descriptor file(::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (!file.valid()) return fail(errno == ELOOP ? LinkRefusal(path) : SystemReason(errno));
  if (::fstat(file.get(), &status) != 0) return fail(SystemReason(errno));
  if (!S_ISREG(status.st_mode)) return fail(NotRegularRefusal(path));
  size = static_cast<std::uintmax_t>(status.st_size);
  if (start == 0 && size > limit) return fail(TooLargeReason(path, limit));

  std::string content;
  // Room for what the file holds: a header reader asks for more than most files have.
  content.reserve(static_cast<std::size_t>(start == 0 ? size : std::min<std::uintmax_t>(start, size)));
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return fail(SystemReason(errno));
    if (got == 0) return content;
    if (start != 0) {
      content.append(buffer, std::min(static_cast<std::size_t>(got), start - content.size()));
      if (content.size() == start) return content;
      continue;
    }
    // A file that grew since its size was asked is still held to the limit.
    if (content.size() + static_cast<std::size_t>(got) > limit) return fail(TooLargeReason(path, limit));
    content.append(buffer, static_cast<std::size_t>(got));
  }
}

std::optional<std::string> ReadFileBelow(const std::string& root, const std::string& path, std::uintmax_t limit,
                                         std::string* reason) {
  std::uintmax_t size = 0;
  return ReadBelow(root, path, limit, 0, size, reason);
}

std::optional<std::string> ReadFileStartBelow(const std::string& root, const std::string& path, std::size_t count,
                                              std::uintmax_t& size, std::string* reason) {
  return ReadBelow(root, path, 0, std::max<std::size_t>(count, 1), size, reason);
}

}  // namespace quorvale
