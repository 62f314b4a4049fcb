#pragma once

#include <optional>
#include <string>

namespace quorvale {

// Why a folder tree could not be removed: the name of the entry that stopped it (its
// own name, not a path: the tree may be deeper than any path the system takes) and
// the reason. A read-only entry is told apart, since its cure is the user's.
struct RemovalFailure {
  std::string entry;
  std::string reason;
  bool read_only = false;
};

// Deletes the folder at `path` with everything below it, depth first and in name order,
// and stops at the first entry it cannot delete, leaving what it deleted so far
// deleted. Links are removed as links, never entered; the folder itself must not be a
// link. A read-only entry (the owner may not write it) is not deleted, for any user.
// Walks with folder descriptors, one open at a time, so neither the depth of the tree
// nor the length of its paths matters and the memory used stays the same at any depth.
std::optional<RemovalFailure> RemoveFolderTree(const std::string& path);

// The same for the folder at `path` below `root` (`root`, a separator and a relative
// part), reached as the writers reach their targets: no folder on the way from `root`
// may be a link, and neither may the folder itself.
std::optional<RemovalFailure> RemoveFolderTreeBelow(const std::string& root, const std::string& path);

// Deletes the regular file at `path` below `root`, reached in the same way. A link or
// any other kind of entry in its place is left alone and named in the reason; a missing
// file is no failure. Returns the failure's reason.
std::optional<std::string> RemoveFileBelow(const std::string& root, const std::string& path);

// Deletes the folder at `path` below `root`, reached in the same way, when it is empty;
// a folder that holds anything, a link or a file in its place stays, and the reason says
// why. A missing folder is no failure.
std::optional<std::string> RemoveEmptyFolderBelow(const std::string& root, const std::string& path);

}  // namespace quorvale
