// Windows has no openat: the folders between the Publishing Directory and a file being
// written are held open instead, so that none of them can be swapped for a link
// half-way through the write.
#ifdef _WIN32
#include <gtest/gtest.h>

#include <variant>

#include "platform/file_copy.h"
#include "platform/path.h"
#include "platform/windows/contained_files.h"
#include "platform/windows/wide_text.h"
#include "support/temp_folder.h"

namespace quorvale {
namespace {

// Wine lets a folder be renamed whatever its open handles share; Windows does not.
bool RunsUnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

TEST(WindowsFolderPinning, FoldersBelowTheRootCannotBeMovedWhileAWriteHoldsThem) {
  if (RunsUnderWine()) GTEST_SKIP() << "Wine does not enforce sharing on folder renames";
  testing::TempFolder temp;
  const std::string root = temp.str();
  const std::string site = JoinPath(root, "PhotoAlbum");
  const std::string album = JoinPath(site, "images");
  ASSERT_EQ(CreateFolderBelow("", site), std::nullopt);
  ASSERT_EQ(CreateFolderBelow("", album), std::nullopt);
  const auto move = [](const std::string& from, const std::string& to) {
    return MoveFileExW(windows::SystemPath(from).c_str(), windows::SystemPath(to).c_str(), 0) != 0;
  };
  {
    auto checked = windows::CheckParentBelow(root, JoinPath(album, "p.jpg"));
    ASSERT_TRUE(std::holds_alternative<windows::ContainedParent>(checked));
    EXPECT_EQ(std::get<windows::ContainedParent>(checked).pinned.size(), 2u);
    EXPECT_FALSE(move(site, JoinPath(root, "elsewhere")));
    EXPECT_FALSE(move(album, JoinPath(site, "elsewhere")));
  }
  EXPECT_TRUE(move(album, JoinPath(site, "elsewhere")));  // let go with the result
}

}  // namespace
}  // namespace quorvale
#endif
