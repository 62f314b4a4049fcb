// The HTML viewer's pages, byte for byte, for one small project: a title and comments
// that need escaping, a missing picture, two pictures with the same file name, a file
// name that needs URL encoding and an album without pictures.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "viewers/html/html_album_page.h"
#include "viewers/html/html_home_page.h"
#include "viewers/html/html_text.h"
#include "viewers/html/published_names.h"
#include "viewers/html/viewer_words.h"

namespace quorvale {
namespace {

struct Source {
  std::string file_name;
  std::string comment;
  bool found;
};

// The site as the generation run gathers it: published names made distinct, the
// thumbnail 512 wide and the display copy 1024 wide, landscape 4:3.
HtmlSite SmallSite() {
  const std::vector<Source> sources = {
      {"boat.jpg", "It's <b>\"fine\"</b> & dry", true},
      {"cabin.jpg", "Lost & found", false},
      {"Boat.jpg", "", true},
      {"sea #1.jpg", "", true},
  };
  std::vector<std::string> names;
  for (const Source& source : sources) names.push_back(source.file_name);
  const std::vector<std::string> published = DistinctPublishedNames(names);

  HtmlAlbum lake{"<b>Tom & \"Jerry\"</b>", {}};
  for (std::size_t i = 0; i < sources.size(); ++i) {
    HtmlPicture picture{sources[i].file_name, sources[i].comment, sources[i].found,
                        "PhotoAlbum/images/album-0/" + published[i], std::nullopt, std::nullopt};
    if (sources[i].found) {
      // Two sizes of thumbnail and one display copy; the first picture has WebPs too.
      const std::string t = "PhotoAlbum/thumbnails/album-0/" + published[i];
      const std::string d = "PhotoAlbum/display/album-0/" + published[i];
      picture.thumbnail_jpegs = {{t + "-256.jpg", 256, 256}, {t + "-512.jpg", 512, 512}};
      picture.display_jpegs = {{d + "-1024.jpg", 1024, 768}};
      if (i == 0) {
        picture.thumbnail_webps = {{t + "-256.webp", 256, 256}, {t + "-512.webp", 512, 512}};
        picture.display_webps = {{d + "-1024.webp", 1024, 768}};
      }
      picture.thumbnail = picture.thumbnail_jpegs.back();
      picture.display = picture.display_jpegs.back();
    }
    if (i == 0) picture.facts = {"2026-05-01 14:26", "Lumix", "", 4000, 3000, 5452595};
    lake.pictures.push_back(picture);
  }
  return HtmlSite{HtmlSiteTitle("/home/ann/Projects/Ann's trips.qs1"), "12/5/2026 6:15:42 AM",
                  {lake, HtmlAlbum{"Garden", {}}}};
}

TEST(HtmlPages, HomePageBytes) {
  EXPECT_EQ(HtmlHomePage(SmallSite()),
            "<!DOCTYPE html>\r\n"
            "<html lang=\"en\">\r\n"
            "<head>\r\n"
            "<meta charset=\"utf-8\">\r\n"
            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n"
            "<meta name=\"generator\" content=\"Quorvale 1.0.0\">\r\n"
            "<title>Ann&#39;s trips</title>\r\n"
            "<meta name=\"description\" content=\"2 albums, 4 pictures\">\r\n"
            "<meta property=\"og:type\" content=\"website\">\r\n"
            "<meta property=\"og:title\" content=\"Ann&#39;s trips\">\r\n"
            "<meta property=\"og:description\" content=\"2 albums, 4 pictures\">\r\n"
            "<meta property=\"og:image\" content=\"PhotoAlbum/display/album-0/boat.jpg-1024.jpg\">\r\n"
            "<meta name=\"twitter:card\" content=\"summary_large_image\">\r\n"
            "<link rel=\"icon\" href=\"PhotoAlbum/favicon.svg\" type=\"image/svg+xml\">\r\n"
            "<link rel=\"stylesheet\" href=\"PhotoAlbum/quorvale-album.css\">\r\n"
            "</head>\r\n"
            "<body>\r\n"
            "<header class=\"page-header\">\r\n"
            "<h1>Ann&#39;s trips</h1>\r\n"
            "<p class=\"page-count\">2 albums</p>\r\n"
            "</header>\r\n"
            "<main>\r\n"
            "<ul class=\"albums\">\r\n"
            "<li class=\"album-card\">\r\n"
            "<a href=\"album-0.htm\">\r\n"
            "<picture><source type=\"image/webp\" srcset=\"PhotoAlbum/thumbnails/album-0/boat.jpg-256.webp 256w, "
            "PhotoAlbum/thumbnails/album-0/boat.jpg-512.webp 512w\" sizes=\"auto, (max-width: 600px) 100vw, 520px\">"
            "<img src=\"PhotoAlbum/thumbnails/album-0/boat.jpg-512.jpg\" srcset=\"PhotoAlbum/thumbnails/album-0/"
            "boat.jpg-256.jpg 256w, PhotoAlbum/thumbnails/album-0/boat.jpg-512.jpg 512w\" sizes=\"auto, (max-width: "
            "600px) 100vw, 520px\" width=\"512\" height=\"512\" class=\"album-cover\" alt=\"\" loading=\"lazy\">"
            "</picture>\r\n"
            "<span class=\"album-title\">&lt;b&gt;Tom &amp; &quot;Jerry&quot;&lt;/b&gt;</span>\r\n"
            "<span class=\"album-count\">4 pictures</span>\r\n"
            "</a>\r\n"
            "</li>\r\n"
            "<li class=\"album-card empty\">\r\n"
            "<a href=\"album-1.htm\">\r\n"
            "<span class=\"album-cover placeholder\">This album has no pictures yet</span>\r\n"
            "<span class=\"album-title\">Garden</span>\r\n"
            "<span class=\"album-count\">No pictures</span>\r\n"
            "</a>\r\n"
            "</li>\r\n"
            "</ul>\r\n"
            "</main>\r\n"
            "<footer class=\"page-footer\">\r\n"
            "<p>Generated by Quorvale 1.0.0 @ 12/5/2026 6:15:42 AM</p>\r\n"
            "</footer>\r\n"
            "</body>\r\n"
            "</html>\r\n");
}

TEST(HtmlPages, AlbumPageBytes) {
  const std::string head =
      "<!DOCTYPE html>\r\n"
      "<html lang=\"en\">\r\n"
      "<head>\r\n"
      "<meta charset=\"utf-8\">\r\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n"
      "<meta name=\"generator\" content=\"Quorvale 1.0.0\">\r\n";
  // What a shared link's preview shows: the album's count, and its first picture.
  const auto sharing = [](const std::string& title, const std::string& description, const std::string& image) {
    return "<title>" + title + "</title>\r\n<meta name=\"description\" content=\"" + description +
           "\">\r\n<meta property=\"og:type\" content=\"website\">\r\n<meta property=\"og:title\" content=\"" +
           title + "\">\r\n<meta property=\"og:description\" content=\"" + description + "\">\r\n" +
           (image.empty() ? "<meta name=\"twitter:card\" content=\"summary\">\r\n"
                          : "<meta property=\"og:image\" content=\"" + image +
                                "\">\r\n<meta name=\"twitter:card\" content=\"summary_large_image\">\r\n") +
           "<link rel=\"icon\" href=\"PhotoAlbum/favicon.svg\" type=\"image/svg+xml\">\r\n";
  };
  const std::string styles_and_scripts =
      "<link rel=\"stylesheet\" href=\"PhotoAlbum/photoswipe.css\">\r\n"
      "<link rel=\"stylesheet\" href=\"PhotoAlbum/quorvale-album.css\">\r\n"
      "<script src=\"PhotoAlbum/photoswipe.umd.min.js\" defer></script>\r\n"
      "<script src=\"PhotoAlbum/photoswipe-lightbox.umd.min.js\" defer></script>\r\n"
      "<script src=\"PhotoAlbum/quorvale-album.js\" defer></script>\r\n"
      "</head>\r\n"
      "<body>\r\n"
      "<header class=\"page-header\">\r\n"
      "<nav class=\"album-nav\" aria-label=\"Albums\">\r\n"
      "<a class=\"nav-home\" href=\"PhotoAlbum.htm\">All albums</a>\r\n";
  const std::string foot =
      "</main>\r\n"
      "<footer class=\"page-footer\">\r\n"
      "<p>Generated by Quorvale 1.0.0</p>\r\n"
      "</footer>\r\n"
      "</body>\r\n"
      "</html>\r\n";

  const std::string words =
      "{&quot;dialog&quot;:&quot;Pictures&quot;,&quot;close&quot;:&quot;Close (Esc)&quot;,&quot;zoom&quot;:&quot;"
      "Zoom in or out&quot;,&quot;previous&quot;:&quot;Previous picture&quot;,&quot;next&quot;:&quot;Next "
      "picture&quot;,&quot;error&quot;:&quot;This picture cannot be loaded.&quot;,&quot;more&quot;:&quot;more&quot;,"
      "&quot;less&quot;:&quot;less&quot;,&quot;play&quot;:&quot;Play slideshow&quot;,&quot;pause&quot;:&quot;Pause "
      "slideshow&quot;,&quot;fullscreen&quot;:&quot;Full screen&quot;,&quot;info&quot;:&quot;Picture "
      "information&quot;,&quot;download&quot;:&quot;Download the original&quot;,&quot;copy&quot;:&quot;Copy link "
      "to this picture&quot;,&quot;copied&quot;:&quot;Link copied&quot;,&quot;taken&quot;:&quot;Date "
      "taken&quot;,&quot;camera&quot;:&quot;Camera&quot;,&quot;dimensions&quot;:&quot;Dimensions&quot;,&quot;"
      "fileSize&quot;:&quot;File size&quot;,&quot;location&quot;:&quot;Location&quot;}";
  EXPECT_EQ(HtmlAlbumPage(SmallSite(), 0),
            head +
                sharing("&lt;b&gt;Tom &amp; &quot;Jerry&quot;&lt;/b&gt; - Ann&#39;s trips",
                        "4 pictures \u00b7 Ann&#39;s trips", "PhotoAlbum/display/album-0/boat.jpg-1024.jpg") +
                styles_and_scripts +
                "<a class=\"nav-next\" href=\"album-1.htm\" rel=\"next\">Next album</a>\r\n"
                "</nav>\r\n"
                "<h1>&lt;b&gt;Tom &amp; &quot;Jerry&quot;&lt;/b&gt;</h1>\r\n"
                "<p class=\"page-count\">4 pictures</p>\r\n"
                "</header>\r\n"
                "<main>\r\n"
                "<ul class=\"grid\" id=\"pictures\" data-words=\"" + words + "\">\r\n"
                "<li class=\"tile\" id=\"p1\">\r\n"
                "<a class=\"picture\" href=\"PhotoAlbum/display/album-0/boat.jpg-1024.jpg\" data-pswp-width=\"1024\" "
                "data-pswp-height=\"768\" data-pswp-srcset=\"PhotoAlbum/display/album-0/boat.jpg-1024.jpg 1024w\" "
                "data-webp-srcset=\"PhotoAlbum/display/album-0/boat.jpg-1024.webp 1024w\" data-cropped=\"true\" "
                "data-original=\"PhotoAlbum/images/album-0/boat.jpg\" data-taken=\"2026-05-01 "
                "14:26\" data-camera=\"Lumix\" data-pixels=\"4000 \u00d7 3000\" data-bytes=\"5452595\">"
                "<picture><source type=\"image/webp\" srcset=\"PhotoAlbum/thumbnails/album-0/boat.jpg-256.webp 256w, "
                "PhotoAlbum/thumbnails/album-0/boat.jpg-512.webp 512w\" sizes=\"auto, (max-width: 480px) 50vw, 400px\">"
                "<img src=\"PhotoAlbum/thumbnails/album-0/boat.jpg-512.jpg\" srcset=\"PhotoAlbum/thumbnails/album-0/"
                "boat.jpg-256.jpg 256w, PhotoAlbum/thumbnails/album-0/boat.jpg-512.jpg 512w\" sizes=\"auto, (max-width: "
                "480px) 50vw, 400px\" width=\"512\" height=\"512\" "
                "alt=\"It&#39;s &lt;b&gt;&quot;fine&quot;&lt;/b&gt; &amp; dry\" loading=\"lazy\"></picture></a>\r\n"
                "<p class=\"comment\">It&#39;s &lt;b&gt;&quot;fine&quot;&lt;/b&gt; &amp; dry</p>\r\n"
                "</li>\r\n"
                "<li class=\"tile missing\" id=\"p2\">\r\n"
                "<div class=\"placeholder\"><span class=\"file-name\">cabin.jpg</span>"
                "<span class=\"note\">picture not found</span></div>\r\n"
                "<p class=\"comment\">Lost &amp; found</p>\r\n"
                "</li>\r\n"
                "<li class=\"tile\" id=\"p3\">\r\n"
                "<a class=\"picture\" href=\"PhotoAlbum/display/album-0/Boat-2.jpg-1024.jpg\" data-pswp-width=\"1024\" "
                "data-pswp-height=\"768\" data-pswp-srcset=\"PhotoAlbum/display/album-0/Boat-2.jpg-1024.jpg 1024w\" "
                "data-cropped=\"true\" data-original=\"PhotoAlbum/images/album-0/Boat-2.jpg\">"
                "<img src=\"PhotoAlbum/thumbnails/album-0/Boat-2.jpg-512.jpg\" srcset=\"PhotoAlbum/thumbnails/album-0/"
                "Boat-2.jpg-256.jpg 256w, PhotoAlbum/thumbnails/album-0/Boat-2.jpg-512.jpg 512w\" sizes=\"auto, "
                "(max-width: 480px) 50vw, 400px\" width=\"512\" height=\"512\" alt=\"Boat.jpg\" loading=\"lazy\"></a>\r\n"
                "</li>\r\n"
                "<li class=\"tile\" id=\"p4\">\r\n"
                "<a class=\"picture\" href=\"PhotoAlbum/display/album-0/sea%20%231.jpg-1024.jpg\" "
                "data-pswp-width=\"1024\" data-pswp-height=\"768\" data-pswp-srcset=\"PhotoAlbum/display/album-0/"
                "sea%20%231.jpg-1024.jpg 1024w\" data-cropped=\"true\" "
                "data-original=\"PhotoAlbum/images/album-0/sea%20%231.jpg\">"
                "<img src=\"PhotoAlbum/thumbnails/album-0/sea%20%231.jpg-512.jpg\" srcset=\"PhotoAlbum/thumbnails/"
                "album-0/sea%20%231.jpg-256.jpg 256w, PhotoAlbum/thumbnails/album-0/sea%20%231.jpg-512.jpg 512w\" "
                "sizes=\"auto, (max-width: 480px) 50vw, 400px\" width=\"512\" height=\"512\" "
                "alt=\"sea #1.jpg\" loading=\"lazy\"></a>\r\n"
                "</li>\r\n"
                "</ul>\r\n" +
                foot);

  EXPECT_EQ(HtmlAlbumPage(SmallSite(), 1),
            head + sharing("Garden - Ann&#39;s trips", "No pictures \u00b7 Ann&#39;s trips", "") + styles_and_scripts +
                "<a class=\"nav-prev\" href=\"album-0.htm\" rel=\"prev\">Previous album</a>\r\n"
                "</nav>\r\n"
                "<h1>Garden</h1>\r\n"
                "<p class=\"page-count\">No pictures</p>\r\n"
                "</header>\r\n"
                "<main>\r\n"
                "<p class=\"empty-album\">This album has no pictures yet.</p>\r\n" +
                foot);
}

// The counts on the pages follow each language's plural forms.
TEST(HtmlPages, CountsInTheSiteLanguage) {
  struct Case {
    const char* language;
    std::size_t count;
    const char* pictures;
    const char* albums;
  };
  const Case cases[] = {
      {"en", 0, "No pictures", "No albums yet"},  {"en", 1, "1 picture", "1 album"},
      {"en", 12, "12 pictures", "12 albums"},      {"pl", 0, "Brak zdjęć", "Brak albumów"},
      {"pl", 1, "1 zdjęcie", "1 album"},           {"pl", 3, "3 zdjęcia", "3 albumy"},
      {"pl", 5, "5 zdjęć", "5 albumów"},           {"pl", 13, "13 zdjęć", "13 albumów"},
      {"pl", 22, "22 zdjęcia", "22 albumy"},       {"de", 2, "2 Bilder", "2 Alben"},
      {"fr", 2, "2 photos", "2 albums"},           {"es", 2, "2 fotos", "2 álbumes"},
      {"xx", 2, "2 pictures", "2 albums"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PictureCountText(c.count, c.language), c.pictures) << c.language << " " << c.count;
    EXPECT_EQ(AlbumCountText(c.count, c.language), c.albums) << c.language << " " << c.count;
  }
}

// Published names within one album: letter case is ignored, a name that is already
// unique is never changed, and a number is skipped when a picture already has it.
// A byte that does not stand for itself is escaped wherever it falls in a path.
TEST(HtmlPages, UrlOfPathEscapesAtEveryPlace) {
  for (std::size_t at = 0; at < 17; ++at) {
    for (const auto& [byte, escaped] : {std::pair{" ", "%20"}, {"#", "%23"}, {"\xC3", "%C3"}}) {
      EXPECT_EQ(UrlOfPath(std::string(at, 'a') + byte + "bcdefghij/k"), std::string(at, 'a') + escaped + "bcdefghij/k")
          << at << byte;
    }
  }
}

TEST(HtmlPages, DistinctPublishedNames) {
  const std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> cases = {
      {{"a.jpg", "b.jpg"}, {"a.jpg", "b.jpg"}},
      {{"a.jpg", "A.JPG", "a.jpg"}, {"a.jpg", "A-2.JPG", "a-3.jpg"}},
      {{"a.jpg", "a.jpg", "a-2.jpg"}, {"a.jpg", "a-3.jpg", "a-2.jpg"}},
      {{"README", "readme", ".hidden", ".hidden"}, {"README", "readme-2", ".hidden", ".hidden-2"}},
  };
  for (const auto& [names, expected] : cases) EXPECT_EQ(DistinctPublishedNames(names), expected);
}

}  // namespace
}  // namespace quorvale
