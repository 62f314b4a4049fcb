#include "platform/text_codec.h"

#include <array>
#include <cstring>
#include <cstdint>

namespace quorvale {
namespace {

// Bit 7 of each of eight bytes read as one word.
constexpr std::uint64_t kHighBits = 0x8080808080808080u;

// Whether `text` holds eight bytes from `pos` on, all of them ASCII.
bool EightAsciiAt(std::string_view text, std::size_t pos) {
  if (pos + 8 > text.size()) return false;
  std::uint64_t word = 0;
  std::memcpy(&word, text.data() + pos, 8);
  return (word & kHighBits) == 0;
}

// Code points of the bytes 0x80 to 0x9F; the undefined bytes keep their own value.
constexpr std::array<char32_t, 32> kHighBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 sequence at `pos`; returns its length, or 0 when it is malformed
// (overlong forms, surrogates and values past U+10FFFF included).
std::size_t DecodeOne(std::string_view s, std::size_t pos, char32_t& cp) {
  const auto b0 = static_cast<std::uint8_t>(s[pos]);
  std::size_t len = 0;
  char32_t min = 0;
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  } else if ((b0 & 0xE0) == 0xC0) {
    len = 2; cp = b0 & 0x1F; min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3; cp = b0 & 0x0F; min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4; cp = b0 & 0x07; min = 0x10000;
  } else {
    return 0;
  }
  if (pos + len > s.size()) return 0;
  for (std::size_t k = 1; k < len; ++k) {
    const auto b = static_cast<std::uint8_t>(s[pos + k]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

std::optional<char> ToWindows1252(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (std::size_t i = 0; i < kHighBlock.size(); ++i) {
    if (kHighBlock[i] == cp) return static_cast<char>(0x80 + i);
  }
  return std::nullopt;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  char32_t cp = 0;
  for (std::size_t pos = 0; pos < bytes.size();) {
    if (EightAsciiAt(bytes, pos)) {  // they need no decoding
      pos += 8;
      continue;
    }
    const std::size_t len = DecodeOne(bytes, pos, cp);
    if (len == 0) return false;
    pos += len;
  }
  return true;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char c : bytes) {
    const auto b = static_cast<std::uint8_t>(c);
    AppendUtf8(out, b >= 0x80 && b <= 0x9F ? kHighBlock[b - 0x80] : char32_t{b});
  }
  return out;
}

std::optional<std::string> Utf8ToWindows1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  char32_t cp = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t len = DecodeOne(text, pos, cp);
    if (len == 0) return std::nullopt;
    const auto byte = ToWindows1252(cp);
    if (!byte) return std::nullopt;
    out += *byte;
    pos += len;
  }
  return out;
}

std::string Utf8ToWindows1252Replacing(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  char32_t cp = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t len = DecodeOne(text, pos, cp);
    if (len == 0) {
      out += '?';
      ++pos;
      continue;
    }
    out += ToWindows1252(cp).value_or('?');
    pos += len;
  }
  return out;
}

std::string Utf8ToWindows1252Html(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  char32_t cp = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    // A run of ASCII is the same bytes in Windows-1252: appended whole.
    const std::size_t ascii = pos;
    while (pos < text.size() && static_cast<unsigned char>(text[pos]) < 0x80) ++pos;
    out.append(text.substr(ascii, pos - ascii));
    if (pos == text.size()) break;
    std::size_t len = DecodeOne(text, pos, cp);
    if (len == 0) {  // a stray byte: keep it as the Windows-1252 byte it is
      out += text[pos];
      ++pos;
      continue;
    }
    if (const auto byte = ToWindows1252(cp)) {
      out += *byte;
    } else {
      out += "&#" + std::to_string(static_cast<std::uint32_t>(cp)) + ";";
    }
    pos += len;
  }
  return out;
}

std::string TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::string();
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

std::string AsciiLower(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = AsciiLower(c);
  return result;
}

std::string AsciiUpper(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return result;
}

std::size_t CharCount(std::string_view text) {
  // Every byte but a continuation byte (10xxxxxx) begins a character. Eight bytes are
  // looked at together: a byte's bit 6 shifted under its bit 7 leaves bit 7 set in the
  // continuation bytes alone, and each byte's lane adds up its own, for up to 255 words
  // before the lanes are summed.
  constexpr std::uint64_t kLowBytes = 0x00FF00FF00FF00FFu;
  std::size_t continuations = 0;
  std::size_t pos = 0;
  while (pos + 8 <= text.size()) {
    std::uint64_t lanes = 0;
    for (int words = 0; words < 255 && pos + 8 <= text.size(); ++words, pos += 8) {
      std::uint64_t word = 0;
      std::memcpy(&word, text.data() + pos, 8);
      lanes += (word & ~(word << 1) & kHighBits) >> 7;
    }
    const std::uint64_t pairs = (lanes & kLowBytes) + ((lanes >> 8) & kLowBytes);
    continuations += static_cast<std::size_t>((pairs * 0x0001000100010001u) >> 48);
  }
  for (; pos < text.size(); ++pos) {
    if ((static_cast<std::uint8_t>(text[pos]) & 0xC0) == 0x80) ++continuations;
  }
  return text.size() - continuations;
}

std::string FirstChars(std::string_view text, std::size_t count) {
  std::size_t seen = 0;
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    if ((static_cast<std::uint8_t>(text[pos]) & 0xC0) != 0x80) {
      if (seen == count) return std::string(text.substr(0, pos));
      ++seen;
    }
  }
  return std::string(text);
}

}  // namespace quorvale
