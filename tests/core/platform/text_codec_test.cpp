#include "platform/text_codec.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace quorvale {
namespace {

TEST(TextCodec, Windows1252RoundTripsEveryByte) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  const std::string utf8 = Windows1252ToUtf8(all);
  EXPECT_TRUE(IsValidUtf8(utf8));
  EXPECT_EQ(Utf8ToWindows1252(utf8), all);
}

TEST(TextCodec, KnownCharacters) {
  struct Case { const char* utf8; const char* cp1252; };
  const Case cases[] = {
      {"\xC3\xA9", "\xE9"},      // é
      {"\xE2\x82\xAC", "\x80"},  // €
      {"\xE2\x80\x93", "\x96"},  // –
      {"plain ~ text", "plain ~ text"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8ToWindows1252(c.utf8), std::string(c.cp1252)) << c.utf8;
    EXPECT_EQ(Windows1252ToUtf8(c.cp1252), std::string(c.utf8));
  }
}

TEST(TextCodec, UnrepresentableCharacters) {
  EXPECT_FALSE(Utf8ToWindows1252("\xC4\x99").has_value());          // ę
  EXPECT_FALSE(Utf8ToWindows1252("\xE5\x86\x99").has_value());      // 写
  EXPECT_EQ(Utf8ToWindows1252Html("Zi\xC4\x99" "b \xC3\xA9"), "Zi&#281;b \xE9");
  EXPECT_EQ(Utf8ToWindows1252Html("\xF0\x9F\x93\xB7"), "&#128247;");  // outside the BMP
}

TEST(TextCodec, Utf8Validity) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("caf\xC3\xA9"));
  EXPECT_FALSE(IsValidUtf8("caf\xE9"));          // a Windows-1252 é
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));         // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));     // surrogate
  EXPECT_FALSE(IsValidUtf8("\xE2\x82"));         // cut short
  // Past a run of ASCII read eight bytes at a time.
  EXPECT_TRUE(IsValidUtf8("/photos/2026/caf\xC3\xA9/boat.jpg"));
  EXPECT_FALSE(IsValidUtf8("/photos/2026/caf\xE9/boat.jpg"));
  EXPECT_FALSE(IsValidUtf8("/photos/2026/12345678\xE2\x82"));
}

TEST(TextCodec, CountsAndCutsCharactersNotBytes) {
  const std::string text = "\xC3\xA9\xC3\xA9\xE2\x82\xAC" "a";  // two e-acute, a euro sign, "a": 4 characters, 8 bytes
  EXPECT_EQ(CharCount(text), 4u);
  // Counted eight bytes at a time: characters across the boundaries, and a rest.
  for (const auto& [longer, count] : std::vector<std::pair<std::string, std::size_t>>{
           {"a" + text + text + text, 13}, {text + "\xF0\x9F\x93\xB7" + text + "bc", 11}, {"\x80\xBFxyz", 3},
           {std::string(4000, '\x80') + "x" + text, 5}}) {
    EXPECT_EQ(CharCount(longer), count) << longer;
  }
  EXPECT_EQ(FirstChars(text, 2), "\xC3\xA9\xC3\xA9");
  EXPECT_EQ(FirstChars(text, 3), "\xC3\xA9\xC3\xA9\xE2\x82\xAC");
  EXPECT_EQ(FirstChars(text, 10), text);
  EXPECT_EQ(FirstChars(text, 0), "");
}

}  // namespace
}  // namespace quorvale
