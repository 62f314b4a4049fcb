#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quorvale {

// In memory all text is UTF-8. The product's files are Windows-1252 text; these
// functions convert between the two and count characters (not bytes).

// The line end of the product's text files and transcript.
inline constexpr const char* kCrLf = "\r\n";

bool IsValidUtf8(std::string_view bytes);

// Windows-1252 bytes as UTF-8. The five bytes that Windows-1252 leaves undefined map
// to the C1 control characters of the same value, so every byte round-trips.
std::string Windows1252ToUtf8(std::string_view bytes);

// UTF-8 text as Windows-1252 bytes, or nothing when a character has no Windows-1252 byte.
std::optional<std::string> Utf8ToWindows1252(std::string_view text);

// UTF-8 text as Windows-1252 bytes, a character without a Windows-1252 byte written
// as "?". For texts that must stay single-byte but are not ours to keep (the log).
std::string Utf8ToWindows1252Replacing(std::string_view text);

// UTF-8 text as Windows-1252 bytes for an HTML page: a character without a
// Windows-1252 byte becomes a decimal numeric character reference ("&#281;").
std::string Utf8ToWindows1252Html(std::string_view text);

// The text without its leading and trailing blanks (space characters only), as the
// program trims titles.
std::string TrimBlanks(std::string_view text);

// The text with A-Z turned into a-z (or a-z into A-Z) and every other byte kept: the
// same result in every locale, and UTF-8 sequences are left alone.
inline char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);

// Number of characters (code points) in UTF-8 text.
std::size_t CharCount(std::string_view text);

// The first `count` characters of UTF-8 text; never splits a character.
std::string FirstChars(std::string_view text, std::size_t count);

}  // namespace quorvale
