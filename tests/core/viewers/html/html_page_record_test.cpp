// What decides whether an album page is built again: the digest of what it shows, and
// the record that keeps it with the page's stamp.
#include <gtest/gtest.h>

#include <functional>

#include "platform/code_identity.h"
#include "viewers/html/html_album_tiles.h"
#include "viewers/html/html_page_record.h"

namespace quorvale::testing {
namespace {

// Every input an album page is built from changes its digest; the same inputs give the
// same digest.
TEST(HtmlAlbumPageDigest, EveryInputOfThePageChangesIt) {
  struct Inputs {
    HtmlSite site{"Holiday", "2026-12-05 06:15", {{"Lake", {}}, {"Hills", {}}}, "en"};
    int album_number = 0;
    HtmlAlbumFolders folders = HtmlAlbumFoldersOf(0, true);
    PreparedPicture sizes{{{256, 256}}, {{1024, 768}, {2048, 1536}}, false, true, false};
    std::vector<HtmlTileInputs> tiles;
    std::optional<std::string> Digest() const { return HtmlAlbumPageDigest(site, album_number, folders, tiles); }
  };
  const auto base = [] {
    Inputs inputs;
    inputs.tiles = {{"a.jpg", "shore", true, "a.jpg", &inputs.sizes, {"2026-05-01 14:26", "X100", "", 4000, 3000, 99}},
                    {"b.jpg", "", false, "b.jpg", nullptr, {}}};
    return inputs;
  };
  const std::optional<std::string> digest = base().Digest();
#ifdef __linux__
  ASSERT_TRUE(CodeIdentity());  // the build links every program with a build ID
#endif
  if (!CodeIdentity()) {
    EXPECT_EQ(digest, std::nullopt);  // a build without an ID keeps no digest
    return;
  }
  ASSERT_TRUE(digest);
  EXPECT_EQ(base().Digest(), digest);
  const struct {
    const char* what;
    std::function<void(Inputs&)> change;
  } cases[] = {
      {"site title", [](Inputs& in) { in.site.title = "Holidays"; }},
      {"language", [](Inputs& in) { in.site.language = "de"; }},
      {"album count", [](Inputs& in) { in.site.albums.pop_back(); }},
      {"album title", [](Inputs& in) { in.site.albums[0].title = "Lakes"; }},
      {"album number", [](Inputs& in) { in.album_number = 1; }},
      {"originals unpublished", [](Inputs& in) { in.folders = HtmlAlbumFoldersOf(0, false); }},
      {"file name", [](Inputs& in) { in.tiles[1].file_name = "c.jpg"; }},
      {"comment", [](Inputs& in) { in.tiles[1].comment = "x"; }},
      {"found", [](Inputs& in) { in.tiles[1].found = true; }},
      {"published name", [](Inputs& in) { in.tiles[0].published_name = "a-2.jpg"; }},
      {"no images", [](Inputs& in) { in.tiles[0].sizes = nullptr; }},
      {"thumbnail size", [](Inputs& in) { in.sizes.thumbnails[0].height = 255; }},
      {"display sizes", [](Inputs& in) { in.sizes.displays.pop_back(); }},
      {"display is original", [](Inputs& in) { in.sizes.display_is_original = true; }},
      {"thumbnail WebPs", [](Inputs& in) { in.sizes.thumbnails_webp = false; }},
      {"display WebPs", [](Inputs& in) { in.sizes.displays_webp = true; }},
      {"taken", [](Inputs& in) { in.tiles[0].facts.taken = ""; }},
      {"camera", [](Inputs& in) { in.tiles[0].facts.camera = "X200"; }},
      {"location", [](Inputs& in) { in.tiles[0].facts.location = "52.22970, 21.01220"; }},
      {"width", [](Inputs& in) { in.tiles[0].facts.width = 3000; }},
      {"height", [](Inputs& in) { in.tiles[0].facts.height = 4000; }},
      {"bytes", [](Inputs& in) { in.tiles[0].facts.bytes = 100; }},
      {"a text moved to the next", [](Inputs& in) { in.tiles[0].file_name = "a.jpgs", in.tiles[0].comment = "hore"; }},
      {"a tile more", [](Inputs& in) { in.tiles.push_back(in.tiles[1]); }},
  };
  for (const auto& c : cases) {
    Inputs changed = base();
    c.change(changed);
    EXPECT_NE(changed.Digest(), digest) << c.what;
  }
}

TEST(HtmlPageRecord, ReadsWhatItWritesAndNothingDamaged) {
  HtmlPageRecord record{"3d14e6", "12714-8997bafa4a679f08", {81585, 1796684554, 762744585}, {}};
  record.display_facts["b.jpg-2048.jpg"] = {{3944, 1796684553, 442744538},
                                            {"", "", "52.22970, 21.01220", 2048, 1536, 3944}};
  record.display_facts["tab\t.jpg-2048.jpg"] = {{1, 2, 3}, {}};  // cannot be kept
  const std::string bytes = HtmlPageRecordBytes(record);
  EXPECT_EQ(bytes,
            "quorvale-page 1\r\n3d14e6\t12714-8997bafa4a679f08\t81585\t1796684554\t762744585\r\n"
            "b.jpg-2048.jpg\t3944\t1796684553\t442744538\t2048\t1536\t\t\t52.22970, 21.01220\r\n");
  record.display_facts.erase("tab\t.jpg-2048.jpg");
  EXPECT_EQ(ParseHtmlPageRecord(bytes), record);
  const std::string page_line = "quorvale-page 1\r\nc\td\t1\t2\t3\r\n";
  ASSERT_TRUE(ParseHtmlPageRecord(page_line));
  for (const std::string& damaged :
       {bytes.substr(0, bytes.size() - 1), "quorvale-page 2" + bytes.substr(15), std::string("quorvale-page 1\r\n"),
        std::string("quorvale-page 1\r\n\r\n"), std::string("quorvale-page 1\r\n\td\t1\t2\t3\r\n"),
        std::string("quorvale-page 1\r\nc\td\t1\t2\r\n"), std::string("quorvale-page 1\r\nc\td\t1\t2\t3x\r\n"),
        page_line + "\r\n", page_line + "n\t1\t2\t3\t4\t5\t\t\r\n", page_line + "n\t1\t2\t3\tw\t5\t\t\t\r\n"}) {
    EXPECT_EQ(ParseHtmlPageRecord(damaged), std::nullopt) << damaged;
  }
}

}  // namespace
}  // namespace quorvale::testing
