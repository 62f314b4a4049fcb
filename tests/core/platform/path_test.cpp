// The path helpers every file operation builds on. Expectations are written with "/"
// and turned into this system's separator, unless a case is about one system.
#include "platform/path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/native_path.h"
#include "platform/text_codec.h"

namespace quorvale {
namespace {

std::string Native(std::string path) {
  for (char& c : path) c = c == '/' ? kPathSeparator : c;
  return path;
}

struct SplitCase {
  std::string path;
  std::string folder;
  std::string name;
};

// The folder and name a path is read as: the text as it is, both separators on
// Windows, and a root (a drive, a network share, "/") never cut off.
TEST(Path, FolderAndNameKeepTheRoot) {
  const std::vector<SplitCase> cases = {
      {Native("/photos/a.jpg"), Native("/photos"), "a.jpg"},
      {Native("/a.jpg"), Native("/"), "a.jpg"},
      {"a.jpg", "", "a.jpg"},
      {Native("trip/a.jpg"), "trip", "a.jpg"},
      {Native("a/b/"), Native("a/b"), ""},
      {Native("a//b"), Native("a/"), "b"},
      {"", "", ""},
#ifdef _WIN32
      {"C:\\Photos\\a.jpg", "C:\\Photos", "a.jpg"},
      {"C:/Photos/a.jpg", "C:/Photos", "a.jpg"},
      {"C:\\Photos/2026\\a.jpg", "C:\\Photos/2026", "a.jpg"},
      {"C:\\a.jpg", "C:\\", "a.jpg"},
      {"C:a.jpg", "C:", "a.jpg"},
      {"\\\\server\\share\\a.jpg", "\\\\server\\share\\", "a.jpg"},
      {"\\\\server\\share\\Photos\\a.jpg", "\\\\server\\share\\Photos", "a.jpg"},
      {"//server/share/a.jpg", "//server/share/", "a.jpg"},
#else
      {"C:\\Photos\\a.jpg", "", "C:\\Photos\\a.jpg"},  // a backslash is part of a name here
#endif
  };
  for (const SplitCase& c : cases) {
    EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
    EXPECT_EQ(FileNameOf(c.path), c.name) << c.path;
  }
}

// One left-to-right pass: each pair becomes one separator; a root stays as it is.
TEST(Path, DoubledSeparatorsCollapseInOnePassBehindTheRoot) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"a//b", "a/b"},   {"a///b", "a//b"}, {"a/b//", "a/b/"}, {"a////", "a//"},
      {"a/b", "a/b"},    {"", ""},          {"/photos//2026//a.jpg", "/photos/2026/a.jpg"},
#ifndef _WIN32
      {"//", "/"},       {"//photos/a.jpg", "/photos/a.jpg"},
#endif
  };
  for (const auto& [path, collapsed] : cases) {
    EXPECT_EQ(CollapseDoubledSeparators(Native(path)), Native(collapsed)) << path;
  }
#ifdef _WIN32
  const std::vector<std::pair<std::string, std::string>> windows_cases = {
      {"\\\\server\\share\\\\a.jpg", "\\\\server\\share\\a.jpg"},
      {"C:\\\\Photos\\\\a.jpg", "C:\\Photos\\a.jpg"},
      {"C:/Photos//a.jpg", "C:/Photos/a.jpg"},
  };
  for (const auto& [path, collapsed] : windows_cases) EXPECT_EQ(CollapseDoubledSeparators(path), collapsed) << path;
#endif
}

TEST(Path, JoinTakesTheTextAsItIsWithTheSystemSeparator) {
  EXPECT_EQ(JoinPath(Native("a/"), "b"), Native("a//b"));  // nothing trimmed
  EXPECT_EQ(JoinPath("", "b"), Native("/b"));
#ifdef _WIN32
  EXPECT_EQ(JoinPath("C:\\My Web Site", "PhotoAlbum.htm"), "C:\\My Web Site\\PhotoAlbum.htm");
#endif
}

TEST(Path, AbsolutePathResolvesAgainstTheWorkingFolder) {
  const std::string cwd = PathText(std::filesystem::current_path());
  EXPECT_EQ(AbsolutePath(Native("x/./y/../z")), JoinPath(cwd, Native("x/z")));
  EXPECT_EQ(AbsolutePath(cwd), cwd);
}

TEST(TextCodec, AsciiCaseConversionLeavesEveryOtherByteAlone) {
  EXPECT_EQ(AsciiLower("PhotoAlbum.HTM \xC3\x89t\xC3\xA9 @[`{"), "photoalbum.htm \xC3\x89t\xC3\xA9 @[`{");
  EXPECT_EQ(AsciiUpper("Quorvale 1.0.0 \xC3\xA9t\xC3\xA9 @[`{"), "QUORVALE 1.0.0 \xC3\xA9T\xC3\xA9 @[`{");
}

}  // namespace
}  // namespace quorvale
