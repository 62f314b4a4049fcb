// The bytes of the index files and what the pages do with characters outside
// Windows-1252.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <unistd.h>

#include "applet_output/album_index.h"
#include "applet_output/album_page.h"
#include "applet_output/home_page.h"
#include "platform/file_system.h"
#include "platform/path.h"

namespace quorvale {
namespace {

PictureMap Pictures(std::initializer_list<std::pair<std::string, std::string>> entries) {
  PictureMap map;
  for (const auto& [path, comment] : entries) map.Insert(map.Count(), path, comment);
  return map;
}

std::string P(std::initializer_list<const char*> parts) {
  std::string path;
  for (const char* part : parts) path = path.empty() ? std::string(part) : JoinPath(path, part);
  return path;
}

TEST(AlbumIndexBytes, ThreeLinesPerPictureInWindows1252OrWholeUtf8) {
  struct Case {
    const char* what;
    PictureMap pictures;
    std::string bytes;
  };
  const Case cases[] = {
      {"example", Pictures({{P({"", "P", "a.jpg"}), "Sunset"}, {P({"", "Q", "b.gif"}), ""}}),
       "a.jpg\r\nSunset\r\n~\r\nb.gif\r\n\r\n~\r\n"},
      {"tilde and no folder", Pictures({{"c.jpg", "a ~ b"}}), "c.jpg\r\na ~ b\r\n~\r\n"},
      {"windows-1252 comment", Pictures({{"d.jpg", "caf\xC3\xA9 \xE2\x82\xAC"}}), "d.jpg\r\ncaf\xE9 \x80\r\n~\r\n"},
      {"character outside windows-1252", Pictures({{"Gda\xC5\x84sk.jpg", "caf\xC3\xA9"}}),
       "Gda\xC5\x84sk.jpg\r\ncaf\xC3\xA9\r\n~\r\n"},
      {"no pictures", PictureMap(), ""},
  };
  for (const Case& c : cases) EXPECT_EQ(AlbumIndexBytes(c.pictures), c.bytes) << c.what;
}

TEST(AlbumIndexFile, AnEmptyAlbumEmptiesAnEarlierIndex) {
  const std::string dir = (std::filesystem::temp_directory_path() / ("quorvale_index_test_" + std::to_string(::getpid()))).string();
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(P({dir.c_str(), "PhotoAlbum", "index"}));
  ASSERT_FALSE(WriteAlbumIndex(dir, 3, Pictures({{"a.jpg", "x"}})));
  EXPECT_EQ(ReadWholeFile(P({dir.c_str(), "PhotoAlbum", "index", "album-3.dat"})), "a.jpg\r\nx\r\n~\r\n");
  ASSERT_FALSE(WriteAlbumIndex(dir, 3, PictureMap()));
  EXPECT_EQ(ReadWholeFile(P({dir.c_str(), "PhotoAlbum", "index", "album-3.dat"})), "");
  // A folder that is not there is a failure with the system's reason, not a crash.
  EXPECT_TRUE(WriteAlbumIndex(P({dir.c_str(), "missing"}), 0, PictureMap()).has_value());
  std::filesystem::remove_all(dir);
}

TEST(AlbumPages, TitlesAreUnescapedAndForeignCharactersBecomeReferences) {
  Project project;
  for (const char* title : {"A", "B", "C", "Gda\xC5\x84sk & \"<friends>\"", "E"}) {
    project.SelectAlbum(project.AlbumCount() - 1);
    project.AddAlbum(title);
  }
  const std::string page = AlbumPageText(project, 3, "p.qs1");
  EXPECT_NE(page.find("<OPTION  VALUE='album-3.htm' SELECTED><font size=2 face='Verdana,Arial'>Gda\xC5\x84sk & "
                      "\"<friends>\"</font></OPTION>\r\n\r\n"),
            std::string::npos);
  EXPECT_EQ(page.find("SELECTED"), page.rfind("SELECTED"));  // one album only
  EXPECT_NE(page.find("<OPTION  VALUE='album-4.htm' >"), std::string::npos);

  const std::string dir = (std::filesystem::temp_directory_path() / ("quorvale_page_test_" + std::to_string(::getpid()))).string();
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  ASSERT_FALSE(WriteAlbumPage(dir, project, 3, "\xC5\x81" "\xC3\xB3" "d\xC5\xBE.qs1"));
  const std::string bytes = ReadWholeFile(AlbumPagePath(dir, 3)).value_or("");
  // Windows-1252 has ó and ž but neither Ł nor ń.
  EXPECT_NE(bytes.find("(&#321;\xF3" "d\x9E.qs1)</TITLE>"), std::string::npos);
  EXPECT_NE(bytes.find(">Gda&#324;sk & \"<friends>\"</font>"), std::string::npos);
  std::filesystem::remove_all(dir);
}

TEST(HomePage, ListEntriesLinkTheirAlbumNumber) {
  EXPECT_EQ(HomePageAlbumEntry(10, "It's <b>"),
            "<li><a href=\"javascript:open_win('album-10.htm');\">It's <b></a></li>\r\n\r\n");
}

}  // namespace
}  // namespace quorvale
