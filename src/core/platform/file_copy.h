#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quorvale {

// What decides whether a copy is up to date: the size in bytes and the last-modified
// time to the nanosecond, compared exactly. One status call per file, nothing read.
struct FileStamp {
  std::uintmax_t size = 0;
  std::int64_t modified_seconds = 0;
  std::int64_t modified_nanoseconds = 0;
  bool operator==(const FileStamp&) const = default;
};

// The stamp of an existing regular file, or nothing: a missing path (or one that is no
// regular file) leaves `reason` empty, any other failure sets it to the system's reason.
std::optional<FileStamp> StampOf(const std::string& path, std::string* reason = nullptr);

// Copies `source` over `destination` (created or replaced) and gives the copy the
// source's last-modified time, so a later run finds it up to date. Returns the
// failure's reason.
std::optional<std::string> CopyFileKeepingTime(const std::string& source, const std::string& destination);

// Creates one folder (its parent must exist). Returns the failure's reason; an
// existing folder is no failure.
std::optional<std::string> CreateFolder(const std::string& path);

}  // namespace quorvale
