#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace quorvale {

// What decides whether a copy is up to date: the size in bytes and the last-modified
// time, compared exactly. Nothing else is read.
struct FileStamp {
  std::uintmax_t size = 0;
  std::filesystem::file_time_type modified;
  bool operator==(const FileStamp&) const = default;
};

// The stamp of an existing regular file, or nothing (with `reason` set when the
// system gave one; a missing file leaves it empty).
std::optional<FileStamp> StampOf(const std::string& path, std::string* reason = nullptr);

// Copies `source` over `destination` (created or replaced) and gives the copy the
// source's last-modified time, so a later run finds it up to date. Returns the
// failure's reason.
std::optional<std::string> CopyFileKeepingTime(const std::string& source, const std::string& destination);

// Creates one folder (its parent must exist). Returns the failure's reason; an
// existing folder is no failure.
std::optional<std::string> CreateFolder(const std::string& path);

}  // namespace quorvale
