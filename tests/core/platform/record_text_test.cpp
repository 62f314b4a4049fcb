// The text of the records kept beside a site.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/record_text.h"

namespace quorvale::testing {
namespace {

TEST(RecordText, OneFieldHoldsNoTabNorLineEnd) {
  for (const auto& [text, one] : std::vector<std::pair<std::string, bool>>{
           {"", true}, {"/photos/caf\xC3\xA9 1.jpg", true}, {"a\tb", false}, {"a\r", false}, {"\nb", false}}) {
    EXPECT_EQ(IsOneField(text), one) << text;
  }
}

// Every line is handed over without its CR LF, until the reader stops; a record whose
// last line has no CR LF was cut short and is not read at all.
TEST(RecordText, LinesAreReadWholeUntilTheReaderStops) {
  const auto lines_of = [](std::string_view bytes, std::size_t stop_at) {
    std::vector<std::string> lines;
    const bool whole = ReadRecordLines(bytes, [&](std::size_t number, std::string_view line) {
      lines.emplace_back(line);
      return number != stop_at;
    });
    return std::pair{whole, lines};
  };
  using Lines = std::vector<std::string>;
  EXPECT_EQ(lines_of("a\r\n\r\nb\tc\r\n", 9), std::pair(true, Lines{"a", "", "b\tc"}));
  EXPECT_EQ(lines_of("a\r\nb\r\nc\r\n", 1), std::pair(false, Lines{"a", "b"}));
  EXPECT_EQ(lines_of("a\r\nb", 9), std::pair(false, Lines{}));
  EXPECT_EQ(lines_of("a\r\nb\n", 9), std::pair(false, Lines{}));
  EXPECT_EQ(lines_of("", 9), std::pair(false, Lines{}));
}

}  // namespace
}  // namespace quorvale::testing
