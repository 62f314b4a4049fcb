#include "platform/path.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvale {
namespace {

struct SplitCase {
  std::string path;
  std::string folder;
  std::string name;
};

// The folder and name a path is read as: both separators on Windows, and a root (a
// drive, a network share, "/") never cut off.
TEST(Path, FolderAndNameKeepTheRoot) {
  const std::vector<SplitCase> cases = {
      {"/photos/a.jpg", "/photos", "a.jpg"},
      {"/a.jpg", "/", "a.jpg"},
      {"a.jpg", "", "a.jpg"},
      {"trip/a.jpg", "trip", "a.jpg"},
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

TEST(Path, DoubledSeparatorsCollapseBehindTheRoot) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"/photos//2026//a.jpg", "/photos/2026/a.jpg"},
      {"photos//a.jpg", "photos/a.jpg"},
#ifdef _WIN32
      {"\\\\server\\share\\\\a.jpg", "\\\\server\\share\\a.jpg"},
      {"C:\\\\Photos\\\\a.jpg", "C:\\Photos\\a.jpg"},
      {"C:/Photos//a.jpg", "C:/Photos/a.jpg"},
#else
      {"//photos/a.jpg", "/photos/a.jpg"},
#endif
  };
  for (const auto& [path, collapsed] : cases) EXPECT_EQ(CollapseDoubledSeparators(path), collapsed) << path;
}

TEST(Path, WrittenPathsUseTheSystemSeparator) {
#ifdef _WIN32
  EXPECT_EQ(JoinPath("C:\\My Web Site", "PhotoAlbum.htm"), "C:\\My Web Site\\PhotoAlbum.htm");
#else
  EXPECT_EQ(JoinPath("/srv/www", "PhotoAlbum.htm"), "/srv/www/PhotoAlbum.htm");
#endif
}

}  // namespace
}  // namespace quorvale
