#include "viewers/html/html_home_page.h"

#include <vector>

#include "viewers/html/html_page_parts.h"
#include "viewers/html/html_text.h"

namespace quorvale {
namespace {

const HtmlImage* CoverOf(const HtmlAlbum& album) {
  for (const HtmlPicture& picture : album.pictures) {
    if (picture.thumbnail) return &*picture.thumbnail;
  }
  return nullptr;
}

std::string AlbumCard(const HtmlAlbum& album, int album_number) {
  std::vector<std::string> lines = {
      album.pictures.empty() ? "<li class=\"album-card empty\">" : "<li class=\"album-card\">",
      "<a href=\"" + HtmlAlbumPageUrl(album_number) + "\">",
  };
  if (album.pictures.empty()) {
    lines.push_back("<span class=\"album-cover placeholder\">This album has no pictures yet</span>");
  } else if (const HtmlImage* cover = CoverOf(album)) {
    // The card's link is named by the title below; the cover adds nothing to read.
    lines.push_back("<img class=\"album-cover\" src=\"" + UrlOfPath(cover->path) + "\" width=\"" +
                    std::to_string(cover->width) + "\" height=\"" + std::to_string(cover->height) +
                    "\" alt=\"\" loading=\"lazy\">");
  } else {
    lines.push_back("<span class=\"album-cover placeholder\">No picture to show</span>");
  }
  lines.push_back("<span class=\"album-title\">" + EscapeHtml(album.title) + "</span>");
  lines.push_back("<span class=\"album-count\">" + PictureCountText(album.pictures.size()) + "</span>");
  lines.push_back("</a>");
  lines.push_back("</li>");
  return HtmlLines(lines);
}

std::string AlbumCountText(std::size_t count) {
  if (count == 0) return "No albums yet";
  if (count == 1) return "1 album";
  return std::to_string(count) + " albums";
}

}  // namespace

std::string HtmlHomePage(const HtmlSite& site) {
  std::string page = HtmlPageStart(site.title, false);
  page += HtmlLines({
      "<header class=\"page-header\">",
      "<h1>" + EscapeHtml(site.title) + "</h1>",
      "<p class=\"page-count\">" + AlbumCountText(site.albums.size()) + "</p>",
      "</header>",
      "<main>",
  });
  if (!site.albums.empty()) {
    page += HtmlLines({"<ul class=\"albums\">"});
    for (std::size_t i = 0; i < site.albums.size(); ++i) page += AlbumCard(site.albums[i], static_cast<int>(i));
    page += HtmlLines({"</ul>"});
  }
  page += HtmlLines({"</main>"});
  return page + HtmlPageEnd(site.generated_at);
}

}  // namespace quorvale
