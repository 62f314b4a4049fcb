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

}  // namespace quorvale
