#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/file_copy.h"

namespace quorvale {

// One entry of a folder, as the folder holds it: a link is reported as a link, not as
// what it points to.
struct FolderEntry {
  enum class Kind { kFile, kFolder, kLink, kOther };
  std::string name;  // UTF-8 on Windows; the bytes the system holds on POSIX
  Kind kind = Kind::kOther;
};

// The entries of the folder at `path` in no particular order, without "." and "..";
// nothing (with `reason` set) when it cannot be read. Reaches folders past the classic
// path limit on Windows.
std::optional<std::vector<FolderEntry>> ListFolder(const std::string& path, std::string* reason = nullptr);

// The same for the folder at `path` below `root` (`root`, a separator and a relative
// part), reached as the writers reach their targets: neither that folder nor any folder
// on the way to it from `root` may be a link.
std::optional<std::vector<FolderEntry>> ListFolderBelow(const std::string& root, const std::string& path,
                                                        std::string* reason = nullptr);

// A folder as looked at before a step uses it: its settled stamp, taken first (see
// SettledFolderStampBelow), and its entries, unless they were not needed because what
// the step reads vouches for them at that stamp.
struct LookedAtFolder {
  std::optional<FileStamp> settled_stamp;
  std::optional<std::vector<FolderEntry>> entries;
};

}  // namespace quorvale
