#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include <sys/stat.h>

#include "platform/posix/descriptor.h"
#include "platform/safe_write.h"

namespace quorvale {

// The pieces from which the writers build a safe write: a folder reached from a root
// one component at a time without following a link, a target checked before it is
// replaced, and a temporary file in the target's own folder. Only the platform's own
// files use them.

// An open folder that walks may share: one a FolderWalkMemory keeps is handed out as it
// is, not opened again for every file. Its reading position is shared with it, so no
// listing is read through it: a listing reads the folder opened anew (ReopenFolder).
class SharedFolder {
 public:
  SharedFolder() = default;
  explicit SharedFolder(Descriptor folder) : folder_(std::make_shared<const Descriptor>(std::move(folder))) {}
  int get() const { return folder_ ? folder_->get() : -1; }
  bool valid() const { return get() >= 0; }

 private:
  std::shared_ptr<const Descriptor> folder_;
};

// The open `folder` opened again, with a reading position of its own.
Descriptor ReopenFolder(int folder);

// The folder that holds `path`, opened by walking from `root`, and the last component
// of `path`. `path` is `root`, a separator and a relative part (plain concatenation);
// `root` itself is the user's choice and may be reached through links, every folder
// below it may not. A failure is the reason, naming the path where it happened.
struct ContainedParent {
  SharedFolder folder;
  std::string name;
};
std::variant<ContainedParent, std::string> OpenParentBelow(const std::string& root, const std::string& path);

// Lets go of the folders a FolderWalkMemory keeps on this thread: for whoever removes a
// folder, which may be one of them or hold one.
void ForgetRememberedFolders();

// The folder `path` itself, opened the same way: `root` when `path` is `root`, else its
// parent by OpenParentBelow and then the folder without following a link or waiting.
std::variant<Descriptor, std::string> OpenFolderBelow(const std::string& root, const std::string& path);

// Reads the regular file `name` in the open `folder` as ReadFileBelow (`start` 0, held to
// `limit`) or ReadFileStartBelow (its first `start` bytes) do; `path` names it in a
// reason.
std::optional<std::string> ReadIn(int folder, const std::string& name, const std::string& path, std::uintmax_t limit,
                                  std::size_t start, std::uintmax_t& size, std::string* reason);

// Whether `name` in `folder` may be replaced by a new file: missing, or a regular file
// (its status then goes to `existing`). A link or any other kind of entry is refused.
std::optional<std::string> CheckReplaceable(int folder, const std::string& name, const std::string& path,
                                            std::optional<struct stat>& existing);

// Read-only: the owner may not write. The rename that replaces a file would not stop
// at that, nor would the system for a privileged user, so the writers honour it
// themselves, for everybody, as a write in place would.
inline bool IsReadOnly(const struct stat& status) { return (status.st_mode & S_IWUSR) == 0; }

// Creates a new, empty file in `folder` whose name is `prefix` and six random
// characters, with `mode` less the process's umask. Returns it with its name, or the
// reason it could not be created.
std::variant<std::pair<Descriptor, std::string>, std::string> CreateTemporaryIn(int folder, std::string_view prefix,
                                                                                mode_t mode);

// Writes all of `bytes`; false with errno set on failure.
bool WriteAll(int fd, std::string_view bytes);

// The words for a system error number; safe from several threads at once.
std::string SystemReason(int error_number);

}  // namespace quorvale
