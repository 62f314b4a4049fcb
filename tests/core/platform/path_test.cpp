// The path helpers every file operation builds on. Expectations are written with "/"
// and turned into this system's separator.
#include "platform/path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/text_codec.h"

namespace quorvale {
namespace {

std::string Native(std::string path) {
  for (char& c : path) c = c == '/' ? kPathSeparator : c;
  return path;
}

TEST(Path, JoinNameAndFolderTakeTheTextAsItIs) {
  const struct {
    std::string path, name, folder;
  } cases[] = {
      {"a/b/c.jpg", "c.jpg", "a/b"}, {"c.jpg", "c.jpg", ""}, {"/c.jpg", "c.jpg", ""},
      {"a/b/", "", "a/b"},           {"a//b", "b", "a/"},    {"", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(FileNameOf(Native(c.path)), c.name);
    EXPECT_EQ(FolderOf(Native(c.path)), Native(c.folder));
  }
  EXPECT_EQ(JoinPath(Native("a/"), "b"), Native("a//b"));  // nothing trimmed
  EXPECT_EQ(JoinPath("", "b"), Native("/b"));
}

// One left-to-right pass: each pair becomes one separator.
TEST(Path, DoubledSeparatorsCollapseInOnePass) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"a//b", "a/b"}, {"a///b", "a//b"}, {"a/b//", "a/b/"}, {"a////", "a//"},
      {"a/b", "a/b"},  {"", ""},         {"//", "/"},
  };
  for (const auto& c : cases) {
#ifdef _WIN32
    if (c.in.starts_with("//")) continue;  // a network path keeps its leading pair there
#endif
    EXPECT_EQ(CollapseDoubledSeparators(Native(c.in)), Native(c.out)) << c.in;
  }
}

TEST(Path, AbsolutePathResolvesAgainstTheWorkingFolder) {
  const std::string cwd = std::filesystem::current_path().string();
  EXPECT_EQ(AbsolutePath(Native("x/./y/../z")), JoinPath(cwd, Native("x/z")));
  EXPECT_EQ(AbsolutePath(cwd), cwd);
}

TEST(TextCodec, AsciiCaseConversionLeavesEveryOtherByteAlone) {
  EXPECT_EQ(AsciiLower("PhotoAlbum.HTM \xC3\x89t\xC3\xA9 @[`{"), "photoalbum.htm \xC3\x89t\xC3\xA9 @[`{");
  EXPECT_EQ(AsciiUpper("Quorvale 1.0.0 \xC3\xA9t\xC3\xA9 @[`{"), "QUORVALE 1.0.0 \xC3\xA9T\xC3\xA9 @[`{");
}

}  // namespace
}  // namespace quorvale
