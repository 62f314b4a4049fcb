#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvale {

// Small file operations shared by the writers. None of them throws: a failure comes
// back as the system's reason, in words.

bool FolderExists(const std::string& path);
bool FileExists(const std::string& path);

// The whole content of a file, or nothing (with `reason` set) when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path, std::string* reason = nullptr);

// Creates or empties the file and writes `bytes`. Returns the failure's reason.
std::optional<std::string> WriteWholeFile(const std::string& path, std::string_view bytes);

// Writes a temporary file beside `path` and renames it over `path`, so a failure
// never leaves a truncated file behind. Returns the failure's reason.
std::optional<std::string> WriteFileAtomically(const std::string& path, std::string_view bytes);

// Appends `bytes` to an existing file, creating it first when it is missing.
std::optional<std::string> AppendToFile(const std::string& path, std::string_view bytes);

// The reason of the last failed C library call (errno), in words.
std::string LastSystemReason();

}  // namespace quorvale
