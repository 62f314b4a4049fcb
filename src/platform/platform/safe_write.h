#pragma once

#include <string>
#include <string_view>

namespace quorvale {

// The reasons with which the writers leave a path alone on purpose, on every system:
// "<path> is a link; not followed", "<path> is not a regular file" and "<path> is not
// a folder" (see kIsALink and its neighbours in file_system.h).
std::string LinkRefusal(const std::string& path);
std::string NotRegularRefusal(const std::string& path);
std::string NotFolderRefusal(const std::string& path);

// The names of the temporary files of a generated file's write and of a copy, up to
// their six random characters. A write's temporary file sits beside its target and is
// renamed over it, so a failed write leaves the old file whole.
inline constexpr std::string_view kWriteTemporaryPrefix = ".quorvale-write-";
inline constexpr std::string_view kCopyTemporaryPrefix = ".quorvale-copy-";
inline constexpr int kTemporaryRandomLength = 6;

// The prefix of a save's temporary files: tied to the saved file's name by a short,
// stable tag, so a later save of the same file finds what a killed one left behind.
std::string SaveTemporaryPrefix(std::string_view target_name);

}  // namespace quorvale
