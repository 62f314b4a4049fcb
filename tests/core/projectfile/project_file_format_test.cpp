// Whole numbers as the project file reader reads them (album counts, the encoding type
// and the publish-pictures flag).
#include "projectfile/project_file_format.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace quorvale {
namespace {

TEST(ToWholeNumber, DigitsSignsBlanksAndLimits) {
  const struct {
    std::string text;
    std::optional<long long> number;
  } cases[] = {
      {"0", 0},           {"9", 9},
      {"19", 19},         {"90", 90},
      {"99", 99},         {"1234567890", 1234567890},
      {"007", 7},         {" 3\t", 3},
      {"+1", 1},          {"-0", 0},
      {"-12", -12},       {"9223372036854775807", 9223372036854775807LL},
      {"-9223372036854775808", -9223372036854775807LL - 1},
      {"9223372036854775808", std::nullopt},
      {"-9223372036854775809", std::nullopt},
      {"", std::nullopt}, {"  ", std::nullopt},
      {"+", std::nullopt},  {"1 2", std::nullopt},
      {"1.0", std::nullopt}, {"0x1", std::nullopt},
      {"1a", std::nullopt}, {":", std::nullopt},  // ':' follows '9'
      {"/", std::nullopt},  // '/' comes before '0'
  };
  for (const auto& c : cases) EXPECT_EQ(ToWholeNumber(c.text), c.number) << '"' << c.text << '"';
}

}  // namespace
}  // namespace quorvale
