// Numbers read from the records: whole decimal numbers exactly as std::from_chars reads
// them, which is what the records were always read with.
#include <gtest/gtest.h>

#include <charconv>
#include <cstdint>
#include <string>

#include "platform/number_text.h"

namespace quorvale::testing {
namespace {

template <typename Number>
void ReadsAsFromChars(const std::string& text) {
  Number expected = 7;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), expected);
  const bool whole = error == std::errc() && end == text.data() + text.size() && !text.empty();
  Number read = 7;
  EXPECT_EQ(ReadWholeNumber(text, read), whole) << text;
  EXPECT_EQ(read, whole ? expected : Number{7}) << text;
}

TEST(NumberText, ReadsWholeNumbersAsFromCharsDoes) {
  for (const std::string text :
       {"0", "42", "007", "-0", "-1", "", "-", "+1", " 1", "1 ", "1a", "a1", "1:", "/9", "1.5", "--1", "2147483647",
        "2147483648", "-2147483648", "-2147483649", "4294967295", "4294967296", "999999999999999999",
        "-999999999999999999", "1000000000000000000", "9223372036854775807", "9223372036854775808",
        "-9223372036854775808", "-9223372036854775809", "18446744073709551615", "18446744073709551616",
        "00000000000000000000001", "1796684554", "762744585"}) {
    ReadsAsFromChars<int>(text);
    ReadsAsFromChars<std::int64_t>(text);
    ReadsAsFromChars<std::uint64_t>(text);
    ReadsAsFromChars<std::uintmax_t>(text);
    ReadsAsFromChars<std::uint32_t>(text);
  }
  // Every length up to 18 digits, whole, and with the bytes beside the digits (and one
  // with its high bit set) in each place.
  const std::string digits = "918273645546372819";
  for (std::size_t length = 1; length <= digits.size(); ++length) {
    const std::string number = digits.substr(0, length);
    ReadsAsFromChars<std::int64_t>(number);
    ReadsAsFromChars<std::uint64_t>("-" + number);
    for (std::size_t at = 0; at < length; ++at) {
      for (const char other : {'/', ':', '\xB9'}) {
        std::string text = number;
        text[at] = other;
        ReadsAsFromChars<std::int64_t>(text);
      }
    }
  }
}

}  // namespace
}  // namespace quorvale::testing
