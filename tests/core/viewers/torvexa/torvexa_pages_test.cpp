// The bytes of the index files and what the pages do with characters outside
// Windows-1252.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>


#include "core/support/temp_folder.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/text_codec.h"
#include "layout/site_layout.h"
#include "viewers/torvexa/album_index.h"
#include "viewers/torvexa/album_page.h"

namespace quorvale {
namespace {

PictureMap Pictures(std::initializer_list<std::pair<std::string, std::string>> entries) {
  PictureMap map;
  for (const auto& [path, comment] : entries) map.Insert(map.Count(), path, comment);
  return map;
}

// Names and comments in Windows-1252, or the whole file in UTF-8 when one of them needs it.
TEST(AlbumIndexBytes, Windows1252OrWholeUtf8) {
  EXPECT_EQ(AlbumIndexBytes(Pictures({{JoinPath("P", "d.jpg"), "caf\xC3\xA9 \xE2\x82\xAC"}})),
            "d.jpg\r\ncaf\xE9 \x80\r\n~\r\n");
  EXPECT_EQ(AlbumIndexBytes(Pictures({{"caf\xC3\xA9.jpg", "x"}, {"Gda\xC5\x84sk.jpg", "caf\xC3\xA9"}})),
            "caf\xC3\xA9.jpg\r\nx\r\n~\r\nGda\xC5\x84sk.jpg\r\ncaf\xC3\xA9\r\n~\r\n");
  // U+00C3 U+00A9 in Windows-1252 is C3 A9, which the viewer would read as UTF-8 U+00E9.
  EXPECT_EQ(AlbumIndexBytes(Pictures({{"a.jpg", "\xC3\x83\xC2\xA9"}})), "a.jpg\r\n\xC3\x83\xC2\xA9\r\n~\r\n");
}

TEST(AlbumPages, TitlesAreUnescapedAndForeignCharactersBecomeReferences) {
  Project project;
  for (const char* title : {"A", "B", "C", "Gda\xC5\x84sk & \"<friends>\"", "E"}) {
    project.SelectAlbum(project.AlbumCount() - 1);
    project.AddAlbum(title);
  }
  const testing::TempFolder folder;
  const std::string dir = folder.str();
  std::filesystem::create_directories(folder.path() / "PhotoAlbum" / "index");
  const AlbumPages pages(project, "\xC5\x81\xC3\xB3" "d\xC5\xBE.qs1");
  // Each page lists every album, its own selected: the first, one between and the last.
  for (const int album : {0, 3, 4}) {
    ASSERT_FALSE(WritePiecesBelow(dir, AlbumPagePath(dir, album), pages.Page(album)));
    const std::string bytes = ReadWholeFile(AlbumPagePath(dir, album)).value_or("");
    // Windows-1252 has ó and ž but neither Ł nor ń.
    EXPECT_NE(bytes.find("(&#321;\xF3" "d\x9E.qs1)</TITLE>"), std::string::npos);
    EXPECT_NE(bytes.find("<OPTION  VALUE='album-3.htm'" + std::string(album == 3 ? " SELECTED>" : " >") +
                         "<font size=2 face='Verdana,Arial'>Gda&#324;sk & \"<friends>\"</font></OPTION>\r\n\r\n"
                         "<OPTION  VALUE='album-4.htm'"),
              std::string::npos);
    const std::size_t selected = bytes.find("<OPTION  VALUE='album-" + std::to_string(album) + ".htm' SELECTED>");
    EXPECT_NE(selected, std::string::npos);
    EXPECT_EQ(bytes.rfind("SELECTED"), selected + 29);  // one album only
    EXPECT_EQ(bytes.find("VALUE='album-" + std::to_string(album) + ".htm' >"), std::string::npos);  // listed once
    EXPECT_NE(bytes.find("value='index/album-" + std::to_string(album) + ".dat' -->"), std::string::npos) << album;
  }
}

}  // namespace
}  // namespace quorvale
