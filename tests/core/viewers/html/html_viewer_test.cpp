// A run with the HTML viewer: its texts, its counts, the names it publishes under and
// the pages it writes from the images step's results.
#include <gtest/gtest.h>

#include "core/generate/generation_fixture.h"
#include "core/support/fake_imaging.h"
#include "viewers/html/html_viewer.h"

namespace quorvale::testing {
namespace {

using HtmlViewerRun = GenerationTest;

TEST_F(HtmlViewerRun, PublishesDistinctNamesAndWritesPagesFromTheImages) {
  for (const std::string& file : HtmlViewer().ViewerFiles()) WriteFile(JoinPath(source_, file), "viewer " + file);
  settings_.ViewerType = "html";
  AddAlbum("Lake", {{Picture("a", "boat.jpg", "first"), "Morning"},
                    {Picture("b", "boat.jpg", "second"), ""},
                    {JoinPath(root_, "cabin.jpg"), "Gone"},
                    {Picture("a", "bad.jpg", "not a picture"), ""}});
  AddAlbum("Empty");

  FakeImaging imaging;
  GenerationJob job = Job(publish_);
  job.imaging = &imaging;
  const GenerationResult result = GenerateAlbums(std::move(job), *this);

  // The Torvexa run's texts with "HTML" for "Java"; the missing and the unreadable
  // picture are errors, the empty album a warning, as in any run.
  EXPECT_EQ(captions_.front(), "Copying PhotoAlbum HTML Application ...");
  EXPECT_NE(transcript_.Text().find("\r\nHTML Home Page and Index Files created.\r\n"), std::string::npos);
  EXPECT_EQ(result.counters, (GenerationCounters{2, 1}));
  EXPECT_EQ(dialogs_.messages.back().title, "Quorvale 1.0.0 - GENERATION HAD ERRORS/WARNINGS");
  EXPECT_EQ(result.progress.pictures_done, result.progress.pictures_total);
  EXPECT_EQ(Read(In("PhotoAlbum/photoswipe.umd.min.js")), "viewer photoswipe.umd.min.js");

  // Two files named boat.jpg: the second is published, and made small, as boat-2.jpg.
  EXPECT_EQ(Read(In("PhotoAlbum/images/album-0/boat.jpg")), "first");
  EXPECT_EQ(Read(In("PhotoAlbum/images/album-0/boat-2.jpg")), "second");
  EXPECT_EQ(Read(In("PhotoAlbum/thumbnails/album-0/boat-2.jpg.jpg")), "thumbnail of boat.jpg");

  const std::string page = Read(In("album-0.htm"));
  EXPECT_NE(page.find("<a class=\"picture\" href=\"PhotoAlbum/display/album-0/boat-2.jpg.jpg\" data-pswp-width=\"2048\" "
                      "data-pswp-height=\"200\" data-original=\"PhotoAlbum/images/album-0/boat-2.jpg\">"
                      "<img src=\"PhotoAlbum/thumbnails/album-0/boat-2.jpg.jpg\" width=\"512\" height=\"100\" "
                      "alt=\"boat.jpg\" loading=\"lazy\"></a>"),
            std::string::npos);
  EXPECT_NE(page.find("<li class=\"tile missing\" id=\"p3\">\r\n<div class=\"placeholder\"><span class=\"file-name\">"
                      "cabin.jpg</span><span class=\"note\">picture not found</span></div>\r\n"
                      "<p class=\"comment\">Gone</p>"),
            std::string::npos);
  EXPECT_NE(page.find("<li class=\"tile unreadable\" id=\"p4\">\r\n<a class=\"placeholder\" "
                      "href=\"PhotoAlbum/images/album-0/bad.jpg\">"),
            std::string::npos);
  EXPECT_NE(Read(In("PhotoAlbum.htm")).find("<title>holiday</title>"), std::string::npos);
  EXPECT_NE(Read(In("album-1.htm")).find("This album has no pictures yet."), std::string::npos);
}

}  // namespace
}  // namespace quorvale::testing
