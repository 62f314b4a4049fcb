#pragma once

#include <string>
#include <string_view>

#include <windows.h>

namespace quorvale::windows {

// UTF-8 to UTF-16 and back, for every text that crosses into the system. Malformed
// input becomes U+FFFD rather than an error: a name the system gave cannot be refused.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// The path as the wide system calls take it. A path too long for the classic limit of
// 260 characters is made absolute and given the \\?\ prefix (\\?\UNC\ for a network
// share), which lifts the limit whatever the system's long-path setting is. A relative
// path is left as it is: it is still to be joined to its folder.
std::wstring SystemPath(const std::string& utf8);

// The system's text for an error code, as UTF-8, without the trailing period and line end.
std::string ErrorText(DWORD code);

// The system's text for GetLastError().
std::string LastErrorText();

}  // namespace quorvale::windows
