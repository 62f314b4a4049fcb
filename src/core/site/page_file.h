#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvale {

// Writes a generated page whole: UTF-8 text in, Windows-1252 bytes out, a character
// that Windows-1252 lacks written as a decimal numeric character reference. Nothing
// else is escaped. Returns the failure's reason.
std::optional<std::string> WritePageFile(const std::string& path, std::string_view text);

}  // namespace quorvale
