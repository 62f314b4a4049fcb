// A run with the HTML viewer: its texts, its counts, the names it publishes under and
// the pages it writes from the images step's results.
#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <stop_token>

#include "core/generate/generation_fixture.h"
#include "core/support/fake_imaging.h"
#include "generate/originals_record.h"
#include "platform/code_identity.h"
#include "platform/text_codec.h"
#include "viewers/html/html_page_record.h"
#include "viewers/html/html_viewer.h"

namespace quorvale::testing {
namespace {

class HtmlViewerRun : public GenerationTest {
 protected:
  void SetUp() override {
    GenerationTest::SetUp();
    for (const std::string& file : HtmlViewerDescriptor().files) WriteFile(JoinPath(source_, file), "viewer " + file);
    settings_.ViewerType = ViewerId::kHtml;
  }

  GenerationResult RunWithImages(std::stop_token stop = {}) {
    GenerationJob job = Job(publish_);
    job.imaging = &imaging_;
    transcript_.Clear();
    return GenerateAlbums(std::move(job), *this, std::move(stop));
  }

  // Every image URL (each size of a thumbnail or display copy) that a page refers to.
  std::set<std::string> ImageUrls(const std::string& page) {
    std::set<std::string> urls;
    const std::string text = Read(In(page));
    for (const char* folder : {"PhotoAlbum/thumbnails/", "PhotoAlbum/display/"}) {
      for (std::size_t at = text.find(folder); at != std::string::npos; at = text.find(folder, at + 1)) {
        urls.insert(text.substr(at, text.find_first_of("\" ", at) - at));
      }
    }
    return urls;
  }

  FakeImaging imaging_;
};

TEST_F(HtmlViewerRun, PublishesDistinctNamesAndWritesPagesFromTheImages) {
  AddAlbum("Lake", {{Picture("a", "boat.jpg", "first"), "Morning"},
                    {Picture("b", "boat.jpg", "second"), ""},
                    {JoinPath(root_, "cabin.jpg"), "Gone"},
                    {Picture("a", "bad.jpg", "not a picture"), ""}});
  AddAlbum("Empty");

  const GenerationResult result = RunWithImages();

  // The Torvexa run's texts with "HTML" for "Java"; the missing and the unreadable
  // picture are errors, the empty album a warning, as in any run.
  EXPECT_EQ(captions_.front(), "Copying PhotoAlbum HTML Application ...");
  EXPECT_NE(transcript_.Text().find("\r\nHTML Home Page and Index Files created.\r\n"), std::string::npos);
  EXPECT_EQ(result.counters, (GenerationCounters{2, 1}));
  EXPECT_EQ(dialogs_.messages.back().title, "Quorvale 1.0.0 - GENERATION HAD ERRORS/WARNINGS");
  EXPECT_TRUE(dialogs_.messages.back().text.ends_with(" in any web browser.")) << dialogs_.messages.back().text;
  EXPECT_EQ(result.progress.pictures_done, result.progress.pictures_total);
  EXPECT_EQ(Read(In("PhotoAlbum/photoswipe.umd.min.js")), "viewer photoswipe.umd.min.js");

  // Two files named boat.jpg: the second is published, and made small, as boat-2.jpg.
  EXPECT_EQ(Read(In("PhotoAlbum/images/album-0/boat.jpg")), "without location and serials: first");
  EXPECT_EQ(Read(In("PhotoAlbum/images/album-0/boat-2.jpg")), "without location and serials: second");
  EXPECT_EQ(Read(In("PhotoAlbum/thumbnails/album-0/boat-2.jpg-512.jpg")), "thumbnail of boat.jpg");
  EXPECT_EQ(Read(In("PhotoAlbum/thumbnails/album-0/boat-2.jpg-768.webp")), "WebP thumbnail of boat.jpg");

  const std::string page = Read(In("album-0.htm"));
  EXPECT_NE(page.find("<a class=\"picture\" href=\"PhotoAlbum/display/album-0/boat-2.jpg-2048.jpg\" "
                      "data-pswp-width=\"2048\" data-pswp-height=\"1024\" data-pswp-srcset=\"PhotoAlbum/display/"
                      "album-0/boat-2.jpg-1024.jpg 1024w, PhotoAlbum/display/album-0/boat-2.jpg-1600.jpg 1600w, "
                      "PhotoAlbum/display/album-0/boat-2.jpg-2048.jpg 2048w\" data-cropped=\"true\" "
                      "data-original=\"PhotoAlbum/images/album-0/boat-2.jpg\" data-bytes=\"36\"><picture>"
                      "<source type=\"image/webp\" srcset=\"PhotoAlbum/thumbnails/album-0/boat-2.jpg-256.webp 256w, "
                      "PhotoAlbum/thumbnails/album-0/boat-2.jpg-512.webp 512w, PhotoAlbum/thumbnails/album-0/"
                      "boat-2.jpg-768.webp 768w\" sizes=\"auto, (max-width: 480px) 50vw, 400px\"><img src=\""
                      "PhotoAlbum/thumbnails/album-0/boat-2.jpg-512.jpg\" srcset=\"PhotoAlbum/thumbnails/album-0/"
                      "boat-2.jpg-256.jpg 256w, PhotoAlbum/thumbnails/album-0/boat-2.jpg-512.jpg 512w, PhotoAlbum/"
                      "thumbnails/album-0/boat-2.jpg-768.jpg 768w\" sizes=\"auto, (max-width: 480px) 50vw, 400px\" "
                      "width=\"512\" height=\"512\" alt=\"boat.jpg\" loading=\"lazy\"></picture></a>"),
            std::string::npos)
      << page;
  EXPECT_NE(page.find("<li class=\"tile missing\" id=\"p3\">\r\n<div class=\"placeholder\"><span class=\"file-name\">"
                      "cabin.jpg</span><span class=\"note\">picture not found</span></div>\r\n"
                      "<p class=\"comment\">Gone</p>"),
            std::string::npos);
  EXPECT_NE(page.find("<li class=\"tile unreadable\" id=\"p4\">\r\n<a class=\"placeholder\" "
                      "href=\"PhotoAlbum/images/album-0/bad.jpg\"><span class=\"file-name\">bad.jpg</span>"
                      "<span class=\"note\">no preview</span></a>\r\n"),
            std::string::npos);
  // The home page's card shows the album's first picture and counts all four.
  const std::string home = Read(In("PhotoAlbum.htm"));
  EXPECT_NE(home.find("<title>holiday</title>"), std::string::npos);
  EXPECT_NE(home.find("<img src=\"PhotoAlbum/thumbnails/album-0/boat.jpg-512.jpg\""), std::string::npos) << home;
  EXPECT_NE(home.find(">4 pictures<"), std::string::npos);
  EXPECT_NE(Read(In("album-1.htm")).find("This album has no pictures yet."), std::string::npos);
}

// The originals are published cleaned (location kept only when asked), or not at all:
// then nothing lands in the album's image folder and nothing links an original. A
// second run reads no original again.
TEST_F(HtmlViewerRun, PublishesCleanedOriginalsOnlyWhenAsked) {
  for (const std::string& file : HtmlViewerDescriptor().files) WriteFile(JoinPath(source_, file), "viewer " + file);
  settings_.ViewerType = ViewerId::kHtml;
  const std::string boat = Picture("a", "boat.jpg", "first");
  AddAlbum("Lake", {{boat, ""}, {Picture("a", "rough.jpg", "bad metadata"), ""}, {JoinPath(root_, "gone.jpg"), ""}});
  struct Case {
    int publish;
    bool keep_location;
    const char* published;  // the published boat.jpg; nullptr: none
    const char* copying;    // the end of its transcript line
  };
  const Case cases[] = {
      {1, false, "without location and serials: first", " without its location, serial numbers and owner."},
      {1, true, "without serials: first", " without its serial numbers and owner."},
      {0, false, nullptr, nullptr},
      {0, true, nullptr, nullptr},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(n);
    const std::string site = JoinPath(root_, "site" + std::to_string(n++));
    fs::create_directories(site);
    publish_ = site;
    settings_.PublishPictures = c.publish;
    settings_.KeepLocation = c.keep_location;
    FakeImaging imaging;
    const auto run = [&] {
      transcript_.Clear();
      GenerationJob job = Job(site);
      job.imaging = &imaging;
      return GenerateAlbums(std::move(job), *this);
    };
    const GenerationResult first = run();
    const std::string target = In("PhotoAlbum/images/album-0/boat.jpg");
    const std::string page = Read(In("album-0.htm"));
    // The missing picture is an error either way; rough.jpg too when it must be cleaned.
    EXPECT_EQ(first.counters.ErrorCount, c.publish ? 2 : 1);
    if (c.published == nullptr) {
      EXPECT_FALSE(fs::exists(In("PhotoAlbum/images/album-0")));
      EXPECT_EQ(page.find("PhotoAlbum/images/"), std::string::npos);
      EXPECT_EQ(transcript_.Text().find("Copying picture"), std::string::npos);
      continue;
    }
    EXPECT_EQ(Read(target), c.published);
    EXPECT_NE(transcript_.Text().find("        Copying picture " + boat + " to " + target + c.copying),
              std::string::npos);
    EXPECT_NE(transcript_.Text().find("ERROR: Publishing picture "), std::string::npos);
    EXPECT_NE(page.find("data-original=\"PhotoAlbum/images/album-0/boat.jpg\""), std::string::npos);

    const std::string skipping = "        Skipping copy picture " + boat + " (" + target + ") EXISTS.";
    run();
    EXPECT_NE(transcript_.Text().find(skipping), std::string::npos);
    // A copy changed behind the run's back is published again, and recorded: the next
    // run leaves it.
    WriteFile(target, "tampered");
    run();
    EXPECT_EQ(Read(target), c.published);
    run();
    EXPECT_NE(transcript_.Text().find(skipping), std::string::npos);
    // A picture gone from its place leaves the record.
    const std::string record = In("PhotoAlbum/thumbnails/album-0.originals.record");
    EXPECT_EQ(ParseOriginalsRecord(Read(record)).value().originals.size(), 1u);
    fs::rename(boat, boat + ".away");
    run();
    EXPECT_EQ(ParseOriginalsRecord(Read(record)).value().originals.size(), 0u);
    fs::rename(boat + ".away", boat);

    // Unticked later: what was published goes, with its record; a file of the user's stays.
    WriteFile(In("PhotoAlbum/images/album-0/notes.txt"), "mine");
    settings_.PublishPictures = 0;
    run();
    EXPECT_FALSE(fs::exists(target));
    EXPECT_FALSE(fs::exists(In("PhotoAlbum/thumbnails/album-0.originals.record")));
    EXPECT_EQ(Read(In("PhotoAlbum/images/album-0/notes.txt")), "mine");
  }
}

TEST_F(HtmlViewerRun, DistinctPicturesGetDistinctImages) {
  // A GIF beside a file named as its image used to be, and two names that differ only
  // in letter case (one image on a system whose names ignore case).
  const char* const names[] = {"garden.gif", "garden.gif.jpg", "Boat.jpg", "boat.jpg"};
  std::vector<std::pair<std::string, std::string>> pictures;
  for (const char* name : names) pictures.push_back({Picture(name[0] == 'b' ? "lower" : "upper", name, name), ""});
  AddAlbum("Names", pictures);
  EXPECT_EQ(RunWithImages().counters.ErrorCount, 0);

  const std::set<std::string> urls = ImageUrls("album-0.htm");
  std::set<std::string> folded;
  for (const std::string& url : urls) folded.insert(AsciiLower(url));
  EXPECT_EQ(folded.size(), 4u * 9u);  // three thumbnails as JPEG and WebP and three display copies each
  for (const std::string& url : urls) {
    if (!url.starts_with("PhotoAlbum/thumbnails/")) continue;
    const std::string thumbnail = Read(In(url));
    // Each thumbnail is its own picture's.
    const std::size_t of = thumbnail.find("thumbnail of ");
    EXPECT_NE(of, std::string::npos) << url;
    const std::string source = thumbnail.substr(of + 13);
    EXPECT_NE(url.find(source == "boat.jpg" ? "boat-2.jpg" : source), std::string::npos) << url << ": " << thumbnail;
  }
}

TEST_F(HtmlViewerRun, AStoppedRunKeepsEveryTileOfTheOldSite) {
  AddAlbum("Lake", {{Picture("a", "a.jpg", "a"), ""}, {Picture("a", "b.jpg", "b"), ""}});
  AddAlbum("Hills", {{Picture("a", "c.jpg", "c"), ""}});
  RunWithImages();
  std::set<std::string> old_urls = ImageUrls("album-0.htm");
  old_urls.merge(ImageUrls("album-1.htm"));
  ASSERT_EQ(old_urls.size(), 3u * 9u);

  // b leaves the album, Hills goes, and a new picture stops the run while it is made.
  project_ = Project();
  AddAlbum("Lake", {{Picture("a", "a.jpg", "a"), ""}, {Picture("a", "d.jpg", "d"), ""}});
  std::stop_source stop;
  imaging_.on_prepare = [&] { stop.request_stop(); };
  EXPECT_EQ(RunWithImages(stop.get_token()).outcome, GenerationOutcome::kStopped);
  for (const std::string& url : old_urls) EXPECT_TRUE(fs::exists(In(url))) << url;

  // Once the pages are replaced, what they no longer show goes.
  imaging_.on_prepare = nullptr;
  EXPECT_EQ(RunWithImages().outcome, GenerationOutcome::kCompleted);
  EXPECT_FALSE(fs::exists(In("PhotoAlbum/thumbnails/album-0/b.jpg-512.jpg")));
  EXPECT_FALSE(fs::exists(In("PhotoAlbum/thumbnails/album-1")));
  EXPECT_FALSE(fs::exists(In("PhotoAlbum/thumbnails/album-1.page.record")));
  for (const std::string& url : ImageUrls("album-0.htm")) EXPECT_TRUE(fs::exists(In(url))) << url;
}

// An album page is not built again while what it shows and the file itself are as its
// record says (where the program carries a build ID that the record can name); a page
// changed on disk, or a damaged record, has it built and compared again.
TEST_F(HtmlViewerRun, AnAlbumPageIsBuiltAgainOnlyWhenItsRecordNoLongerHolds) {
  AddAlbum("Lake", {{Picture("a", "a.jpg", "a"), "shore"}});
  RunWithImages();
  const std::string page_path = In("album-0.htm");
  const std::string record_path = In("PhotoAlbum/thumbnails/album-0.page.record");
  const std::string page = Read(page_path);
  const bool recorded = CodeIdentity().has_value();
  ASSERT_EQ(fs::exists(record_path), recorded);

  // Other bytes of the same size at the same time: the record still holds.
  const auto time = fs::last_write_time(page_path);
  const std::string same_size(page.size(), 'x');
  WriteFile(page_path, same_size);
  fs::last_write_time(page_path, time);
  RunWithImages();
  EXPECT_EQ(Read(page_path), recorded ? same_size : page);

  const struct {
    const char* what;
    const char* file;
    const char* bytes;
  } cases[] = {
      {"the page edited", "album-0.htm", "edited"},
      {"the record damaged", "PhotoAlbum/thumbnails/album-0.page.record", "quorvale-page 1\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile(In(c.file), c.bytes);
    fs::last_write_time(In(c.file), time + std::chrono::seconds(5));
    EXPECT_EQ(RunWithImages().counters, GenerationCounters{});
    EXPECT_EQ(Read(page_path), page);
    EXPECT_EQ(ParseHtmlPageRecord(Read(record_path)).has_value(), recorded);
  }
}

// Without published originals a tile tells its widest display copy's facts: read once,
// then kept in the page's record while the copy keeps its size and time.
TEST_F(HtmlViewerRun, ADisplayCopyIsReadForItsFactsOnlyWhenItChanged) {
  settings_.PublishPictures = 0;
  AddAlbum("Lake", {{Picture("a", "a.jpg", "a"), ""}});
  RunWithImages();
  const std::string copy = In("PhotoAlbum/display/album-0/a.jpg-2048.jpg");
  const auto bytes_shown = [&] {
    const std::string page = Read(In("album-0.htm"));
    const std::size_t at = page.find("data-bytes=\"") + 12;
    return page.substr(at, page.find('"', at) - at);
  };
  EXPECT_EQ(bytes_shown(), std::to_string(fs::file_size(copy)));
  const auto record = ParseHtmlPageRecord(Read(In("PhotoAlbum/thumbnails/album-0.page.record")));
  if (CodeIdentity()) {
    EXPECT_EQ(record.value().display_facts.at("a.jpg-2048.jpg").copy, StampOf(copy));
  }

  WriteFile(copy, "a display copy changed on disk");
  RunWithImages();
  EXPECT_EQ(bytes_shown(), "30");

  // Facts another build of the program read are read again.
  const PictureFacts other_facts{"", "", "", 7, 7, 30};
  const HtmlPageRecord other{"another build", "d", {}, {{"a.jpg-2048.jpg", {StampOf(copy).value(), other_facts}}}};
  WriteFile(In("PhotoAlbum/thumbnails/album-0.page.record"), HtmlPageRecordBytes(other));
  RunWithImages();
  EXPECT_EQ(Read(In("album-0.htm")).find("data-pixels"), std::string::npos);
}

// The display copies of an album after the first are looked up ahead of its step: the
// page shows a copy as it is on disk, and a copy made again in the run as it was made.
TEST_F(HtmlViewerRun, ADisplayCopyLookedUpAheadIsTheCopyAsItIs) {
  if (!CodeIdentity()) GTEST_SKIP() << "a build without a code identity keeps no page records";
  settings_.PublishPictures = 0;
  AddAlbum("Lake", {{Picture("a", "a.jpg", "a"), ""}});
  const std::string source = Picture("b", "b.jpg", "b");
  AddAlbum("Sea", {{source, ""}});
  RunWithImages();
  RunWithImages();
  const std::string copy = In("PhotoAlbum/display/album-1/b.jpg-2048.jpg");
  const auto recorded_copy = [&] {
    return ParseHtmlPageRecord(Read(In("PhotoAlbum/thumbnails/album-1.page.record")))
        .value()
        .display_facts.at("b.jpg-2048.jpg")
        .copy;
  };
  WriteFile(copy, "a display copy changed on disk");
  RunWithImages();
  const std::string page = Read(In("album-1.htm"));
  EXPECT_NE(page.find("data-bytes=\"30\""), std::string::npos);
  EXPECT_EQ(recorded_copy(), StampOf(copy));

  // The source changes: the copy is made again after it was looked up ahead.
  fs::last_write_time(source, fs::last_write_time(source) + std::chrono::seconds(5));
  RunWithImages();
  EXPECT_EQ(recorded_copy(), StampOf(copy));
}

}  // namespace
}  // namespace quorvale::testing
