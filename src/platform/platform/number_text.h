#pragma once

#include <charconv>
#include <concepts>
#include <string>

namespace quorvale {

// Appends `number` in decimal, as std::to_string writes it, without a string of its own:
// the records, the manifest and the pages write one for every file they list.
template <std::integral Number>
std::string& AppendNumber(std::string& text, Number number) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, number);
  return text.append(digits, result.ptr);
}

}  // namespace quorvale
