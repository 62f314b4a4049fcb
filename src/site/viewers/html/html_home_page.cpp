#include "viewers/html/html_home_page.h"

#include <vector>

#include "viewers/html/html_page_parts.h"
#include "viewers/html/html_responsive_image.h"
#include "viewers/html/html_text.h"
#include "viewers/html/viewer_words.h"

namespace quorvale {
namespace {

// How wide a card's cover is shown: as laid out, where the browser can tell it before
// loading; else a phone's width in one column, and on a wider screen cards of 260 to
// 520 pixels.
constexpr const char* kCoverSizes = "auto, (max-width: 600px) 100vw, 520px";

const HtmlPicture* CoverOf(const HtmlAlbum& album) {
  for (const HtmlPicture& picture : album.pictures) {
    if (picture.thumbnail && picture.display) return &picture;
  }
  return nullptr;
}

std::string AlbumCard(const HtmlAlbum& album, int album_number, const std::string& language) {
  std::vector<std::string> lines = {
      album.PictureCount() == 0 ? "<li class=\"album-card empty\">" : "<li class=\"album-card\">",
      "<a href=\"" + HtmlAlbumPageUrl(album_number) + "\">",
  };
  if (album.PictureCount() == 0) {
    lines.push_back("<span class=\"album-cover placeholder\">" +
                    std::string(ViewerWord(Word::kAlbumHasNoPictures, language)) + "</span>");
  } else if (const HtmlPicture* picture = CoverOf(album)) {
    // The card's link is named by the title below; the cover adds nothing to read.
    lines.push_back(ThumbnailPicture(*picture, kCoverSizes, " class=\"album-cover\" alt=\"\" loading=\"lazy\""));
  } else {
    lines.push_back("<span class=\"album-cover placeholder\">" +
                    std::string(ViewerWord(Word::kNoPictureToShow, language)) + "</span>");
  }
  lines.push_back("<span class=\"album-title\">" + EscapeHtml(album.title) + "</span>");
  lines.push_back("<span class=\"album-count\">" + PictureCountText(album.PictureCount(), language) +
                  "</span>");
  lines.push_back("</a>");
  lines.push_back("</li>");
  return HtmlLines(lines);
}

}  // namespace

std::string HtmlHomePage(const HtmlSite& site) {
  const std::string& language = site.language;
  std::size_t pictures = 0;
  std::string image;
  for (const HtmlAlbum& album : site.albums) {
    pictures += album.PictureCount();
    const HtmlPicture* cover = CoverOf(album);
    if (image.empty() && cover) image = cover->display->path;
  }
  const std::string albums = AlbumCountText(site.albums.size(), language);
  const std::string description = site.albums.empty() ? albums : albums + ", " + PictureCountText(pictures, language);
  std::string page = HtmlPageStart({language, site.title, description, image, false});
  page += HtmlLines({
      "<header class=\"page-header\">",
      "<h1>" + EscapeHtml(site.title) + "</h1>",
      "<p class=\"page-count\">" + albums + "</p>",
      "</header>",
      "<main>",
  });
  if (!site.albums.empty()) {
    page += HtmlLines({"<ul class=\"albums\">"});
    for (std::size_t i = 0; i < site.albums.size(); ++i) {
      page += AlbumCard(site.albums[i], static_cast<int>(i), language);
    }
    page += HtmlLines({"</ul>"});
  }
  page += HtmlLines({"</main>"});
  page += HtmlPageEnd(site.generated_at, language);
  return page;
}

}  // namespace quorvale
