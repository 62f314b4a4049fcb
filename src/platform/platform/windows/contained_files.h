#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "platform/safe_write.h"
#include "platform/windows/handle.h"

namespace quorvale::windows {

// The pieces from which the Windows writers build a safe write: the folders between a
// root and a target checked to be real folders (no symbolic link, no junction), a
// target checked before it is replaced, and a temporary file in the target's own
// folder that replaces it in one step. Only the platform's own files use them.

// What a folder entry is, read without following it. A symbolic link or a junction is
// a link; a reparse point of another kind (a cloud file, a deduplicated file) is what
// it stands for.
enum class EntryKind { kMissing, kFile, kFolder, kLink };
struct Entry {
  EntryKind kind = EntryKind::kMissing;
  bool read_only = false;
};
std::variant<Entry, std::string> EntryAt(const std::string& path);

// The folder that holds `path` and its last component, after every folder between
// `root` and that component was found to be a real folder. `path` is `root`, a
// separator and a relative part; `root` itself is the user's choice and may be a link.
// A path outside `root` (or an empty root) has only its last component checked. A
// failure is the reason, naming the path where it happened.
//
// Each checked folder stays open, shared for reading and writing but not for deletion,
// for as long as the result lives: none of them can be renamed, removed or replaced by
// a link while the caller writes below them.
struct ContainedParent {
  std::string folder;
  std::string name;
  std::vector<Handle> pinned;
};
std::variant<ContainedParent, std::string> CheckParentBelow(const std::string& root, const std::string& path);

// The folder `folder` itself checked and pinned the same way, its own handle last in
// `pinned` (none when it is `root`, the user's choice); `name` stays empty.
std::variant<ContainedParent, std::string> CheckFolderBelow(const std::string& root, const std::string& folder);

// Whether a reparse point is a link: a symbolic link or a junction (mount point).
bool IsLinkReparsePoint(const std::string& path);

// Whether `path` may be replaced by a new file: missing, or a regular file (then
// `existing` is set). A link or a folder is refused.
std::optional<std::string> CheckReplaceable(const std::string& path, std::optional<Entry>& existing);

// Creates a new, empty file in `folder` named `prefix` and six random characters,
// opened for writing and shared with nobody, so no other process deletes or replaces
// it while it is written. Returns it with its full path, or the reason.
std::variant<std::pair<Handle, std::string>, std::string> CreateTemporaryIn(const std::string& folder,
                                                                            std::string_view prefix);

// Renames the complete temporary file over `target` in one step, replacing it, and
// removes the temporary file when that fails. Returns the failure's reason.
std::optional<std::string> ReplaceWithTemporary(const std::string& temporary, const std::string& target);

// Deletes the files of `folder` whose names are `prefix` and six more characters. A
// file that a writer still has open (a save under way) cannot be deleted and stays.
void RemoveTemporaries(const std::string& folder, std::string_view prefix);

// The words for a system error code.
std::string SystemReason(DWORD error);

}  // namespace quorvale::windows
