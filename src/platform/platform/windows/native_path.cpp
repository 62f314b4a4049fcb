#include "platform/native_path.h"

#include "platform/windows/wide_text.h"

namespace quorvale {

// Plain UTF-16, never with the long-path prefix: the standard library's folder walks
// of this toolchain do not take that prefix. What must reach past the classic path
// limit goes through the platform's own calls.
std::filesystem::path NativePath(std::string_view utf8) { return std::filesystem::path(windows::Widen(utf8)); }

std::string PathText(const std::filesystem::path& path) { return windows::Narrow(path.native()); }

}  // namespace quorvale
