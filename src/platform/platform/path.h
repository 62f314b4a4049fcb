#pragma once

#include <cstddef>
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

// Whether the character separates folders when a path is read. On Windows both a
// backslash and "/" do; written paths use kPathSeparator only. Inline: paths are
// scanned with it character by character.
inline bool IsPathSeparator(char c) { return c == '/' || (kPathSeparator == '\\' && c == '\\'); }

// How many leading characters of the path are its root, which no cut removes: "/" on
// POSIX; on Windows a drive (C: or C:\), a network share (\\server\share\) or a lone
// leading separator. 0 for a relative path.
std::size_t PathRootLength(std::string_view path);

// folder + separator + name, with nothing trimmed or collapsed.
std::string JoinPath(std::string_view folder, std::string_view name);

// Whether `name` names an entry of a folder itself: not empty, not "." or "..", and
// without a separator.
bool IsPlainName(std::string_view name);

// The text after the last separator (the whole path when it holds none).
std::string FileNameOf(std::string_view path);
// The same as a view into `path`, for a look-up that needs no copy.
std::string_view FileNameIn(std::string_view path);

// The text before the last separator, not including it (empty when it holds none).
// A root is kept whole: the folder of C:\x.jpg is C:\, the folder of /x.jpg is /.
std::string FolderOf(std::string_view path);

// The path made absolute against the working directory and lexically normalised
// ("a/./b/../c" becomes "<cwd>/a/c"); the path unchanged when that fails.
std::string AbsolutePath(std::string_view path);

// Every doubled separator collapsed to one in a single left-to-right pass. The root is
// kept as it is, so on Windows the leading pair of a network path stays.
std::string CollapseDoubledSeparators(std::string_view path);

}  // namespace quorvale
