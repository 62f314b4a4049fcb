// The text of the records kept beside a site.
#include <gtest/gtest.h>

#include <string>
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

}  // namespace
}  // namespace quorvale::testing
