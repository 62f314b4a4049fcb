#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quorvale {

// Reads the whole regular file at `path` below `root` (`root`, a separator and a
// relative part), reached as the writers reach their targets: no link below `root`
// followed, a target that is a link or no regular file (a folder, a FIFO, a device)
// neither opened for long nor waited on. A file of more than `limit` bytes is refused
// before anything of it is read, so what a reader holds stays bounded whatever the
// file. Nothing comes back when the file is missing (`reason` left empty) or when it is
// refused or cannot be read (`reason` says why, naming the path for a refusal).
std::optional<std::string> ReadFileBelow(const std::string& root, const std::string& path, std::uintmax_t limit,
                                         std::string* reason = nullptr);

// The first `count` bytes (at least one; fewer when the file is shorter) of the regular file at `path`
// below `root`, reached and refused as ReadFileBelow does, and in `size` the size of
// the whole file. For a reader that needs a file's headers only.
std::optional<std::string> ReadFileStartBelow(const std::string& root, const std::string& path, std::size_t count,
                                              std::uintmax_t& size, std::string* reason = nullptr);

// The reason a file larger than `limit` bytes is not read.
inline std::string TooLargeReason(const std::string& path, std::uintmax_t limit) {
  return path + " is larger than " + std::to_string(limit) + " bytes";
}

}  // namespace quorvale
