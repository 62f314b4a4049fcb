#pragma once

#include <string>
#include <string_view>

namespace quorvale {

// The folder separator of this platform. Paths are built by plain concatenation of a
// folder text, this separator and a suffix, never normalised, so the text shown to the
// user is exactly the text used for the file operation.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// folder + separator + name, with nothing trimmed or collapsed.
std::string JoinPath(std::string_view folder, std::string_view name);

// The text after the last separator (the whole path when it holds none).
std::string FileNameOf(std::string_view path);

// The text before the last separator, not including it (empty when it holds none).
std::string FolderOf(std::string_view path);

// The path made absolute against the working directory and lexically normalised
// ("a/./b/../c" becomes "<cwd>/a/c"); the path unchanged when that fails.
std::string AbsolutePath(std::string_view path);

// Every doubled separator collapsed to one in a single left-to-right pass. On Windows a
// leading pair (a network path) is kept.
std::string CollapseDoubledSeparators(std::string_view path);

}  // namespace quorvale
