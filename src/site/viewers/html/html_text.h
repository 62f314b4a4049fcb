#pragma once

#include <string>
#include <string_view>

namespace quorvale {

// Text for the HTML viewer's pages, which are UTF-8.

// The text with the five characters that HTML gives a meaning escaped (& < > " '), so
// a title or comment shows as the user typed it, in element content and in attributes.
std::string EscapeHtml(std::string_view text);
std::string& AppendEscapedHtml(std::string& out, std::string_view text);

// A path relative to the Publishing Directory, its parts separated by "/", as a URL:
// every byte but letters, digits, "-", ".", "_", "~" and the "/" separators is
// percent-encoded, so a file name with a blank, "#", "?", "%" or a non-ASCII character
// still names its file, from a folder and from a web server alike.
std::string UrlOfPath(std::string_view relative_path);
std::string& AppendUrlOfPath(std::string& out, std::string_view relative_path);

}  // namespace quorvale
