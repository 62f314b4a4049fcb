#pragma once

#include <charconv>
#include <concepts>
#include <cstdint>
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

// Reads `text` as a whole decimal number, as std::from_chars reads it ("-" first only for
// a signed type, no "+", no blanks, nothing after the digits) and within `Number`'s range;
// false, leaving `value` as it was, when it is not one. The records hold millions of
// numbers, most of them short: those are read digit by digit here, at a fraction of
// what std::from_chars costs for a 64-bit number.
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
  for (const char c : digits) {
    const auto digit = static_cast<unsigned char>(c - '0');
    if (digit > 9) return false;
    magnitude = magnitude * 10 + digit;
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
