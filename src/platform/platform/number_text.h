#pragma once

#include <bit>
#include <charconv>
#include <concepts>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

namespace quorvale {

// Appends `number` in decimal, as std::to_string writes it, without a string of its own:
// the records, the manifest and the pages write one for every file they list.
template <std::integral Number>
std::string& AppendNumber(std::string& text, Number number) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, number);
  return text.append(digits, result.ptr);
}

// Reads one to eight decimal digits into `value` at once, on a little-endian machine:
// the digits go last in a word of "0" bytes, each byte is checked to be a digit, and
// pairs, then fours, then the eight are added up with their weights. False when a byte
// is not a digit.
inline bool ReadUpToEightDigits(std::string_view digits, std::uint64_t& value) {
  std::uint64_t word = 0x3030303030303030u;
  std::memcpy(reinterpret_cast<char*>(&word) + (8 - digits.size()), digits.data(), digits.size());
  constexpr std::uint64_t kHighNibbles = 0xF0F0F0F0F0F0F0F0u;
  constexpr std::uint64_t kZeros = 0x3030303030303030u;
  if ((word & kHighNibbles) != kZeros || ((word + 0x0606060606060606u) & kHighNibbles) != kZeros) return false;
  word -= kZeros;
  word = word * 10 + (word >> 8);
  word = (((word & 0x000000FF000000FFu) * (100 + (1'000'000ull << 32))) +
          (((word >> 16) & 0x000000FF000000FFu) * (1 + (10'000ull << 32)))) >> 32;
  value = word;
  return true;
}

// Reads `text` as a whole decimal number, as std::from_chars reads it ("-" first only for
// a signed type, no "+", no blanks, nothing after the digits) and within `Number`'s range;
// false, leaving `value` as it was, when it is not one. The records hold millions of
// numbers, most of them short: those are read eight digits at a time here, at a
// fraction of what std::from_chars costs for a 64-bit number.
template <std::integral Number>
bool ReadWholeNumber(std::string_view text, Number& value) {
  const bool negative = std::is_signed_v<Number> && !text.empty() && text.front() == '-';
  const std::string_view digits = text.substr(negative ? 1 : 0);
  constexpr std::size_t kSafeDigits = 18;  // below 10^18, well inside 64 bits
  if (digits.empty() || digits.size() > kSafeDigits) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
  }
  std::uint64_t magnitude = 0;
  if constexpr (std::endian::native == std::endian::little) {
    // Eight digits at a time, the first piece holding what is left over.
    std::size_t piece = digits.size() % 8 == 0 ? 8 : digits.size() % 8;
    for (std::size_t at = 0; at < digits.size(); at += piece, piece = 8) {
      std::uint64_t part = 0;
      if (!ReadUpToEightDigits(digits.substr(at, piece), part)) return false;
      magnitude = magnitude * 100'000'000 + part;
    }
  } else {
    for (const char c : digits) {
      const auto digit = static_cast<unsigned char>(c - '0');
      if (digit > 9) return false;
      magnitude = magnitude * 10 + digit;
    }
  }
  if (!negative) {
    if (!std::in_range<Number>(magnitude)) return false;
    value = static_cast<Number>(magnitude);
    return true;
  }
  const std::int64_t signed_value = -static_cast<std::int64_t>(magnitude);
  if (!std::in_range<Number>(signed_value)) return false;
  value = static_cast<Number>(signed_value);
  return true;
}

}  // namespace quorvale
