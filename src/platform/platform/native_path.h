#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quorvale {

// A UTF-8 path as the standard library's path, and back. The conversion is spelled
// out through char8_t: on Windows a path built from a plain std::string would be read
// in the process's ANSI code page, which turns "café" into "cafÃ©".
std::filesystem::path NativePath(std::string_view utf8);
std::string PathText(const std::filesystem::path& path);

}  // namespace quorvale
