#include "viewers/html/html_album_page.h"

#include <vector>

#include "layout/site_layout.h"
#include "viewers/html/html_page_parts.h"
#include "viewers/html/html_text.h"

namespace quorvale {
namespace {

std::string Dimensions(const HtmlImage& image) {
  return "width=\"" + std::to_string(image.width) + "\" height=\"" + std::to_string(image.height) + "\"";
}

std::string Navigation(const HtmlSite& site, int album_number) {
  std::vector<std::string> lines = {
      "<nav class=\"album-nav\" aria-label=\"Albums\">",
      "<a class=\"nav-home\" href=\"" + std::string(kHomePageName) + "\">All albums</a>",
  };
  if (album_number > 0) {
    lines.push_back("<a class=\"nav-prev\" href=\"" + HtmlAlbumPageUrl(album_number - 1) +
                    "\" rel=\"prev\">Previous album</a>");
  }
  if (album_number + 1 < static_cast<int>(site.albums.size())) {
    lines.push_back("<a class=\"nav-next\" href=\"" + HtmlAlbumPageUrl(album_number + 1) +
                    "\" rel=\"next\">Next album</a>");
  }
  lines.push_back("</nav>");
  return HtmlLines(lines);
}

std::string Tile(const HtmlPicture& picture, std::size_t position) {
  const std::string id = "p" + std::to_string(position + 1);
  std::vector<std::string> lines;
  if (!picture.found) {
    lines = {
        "<li class=\"tile missing\" id=\"" + id + "\">",
        "<div class=\"placeholder\"><span class=\"file-name\">" + EscapeHtml(picture.file_name) +
            "</span><span class=\"note\">picture not found</span></div>",
    };
  } else if (!picture.thumbnail || !picture.display) {
    const std::string inside = "<span class=\"file-name\">" + EscapeHtml(picture.file_name) +
                               "</span><span class=\"note\">no preview</span>";
    lines = {
        "<li class=\"tile unreadable\" id=\"" + id + "\">",
        picture.original.empty()
            ? "<div class=\"placeholder\">" + inside + "</div>"
            : "<a class=\"placeholder\" href=\"" + UrlOfPath(picture.original) + "\">" + inside + "</a>",
    };
  } else {
    const std::string& alt = picture.comment.empty() ? picture.file_name : picture.comment;
    lines = {
        "<li class=\"tile\" id=\"" + id + "\">",
        "<a class=\"picture\" href=\"" + UrlOfPath(picture.display->path) + "\" data-pswp-width=\"" +
            std::to_string(picture.display->width) + "\" data-pswp-height=\"" +
            std::to_string(picture.display->height) + "\"" +
            (picture.original.empty() ? "" : " data-original=\"" + UrlOfPath(picture.original) + "\"") +
            "><img src=\"" + UrlOfPath(picture.thumbnail->path) + "\" " + Dimensions(*picture.thumbnail) +
            " alt=\"" + EscapeHtml(alt) + "\" loading=\"lazy\"></a>",
    };
  }
  if (!picture.comment.empty()) lines.push_back("<p class=\"comment\">" + EscapeHtml(picture.comment) + "</p>");
  lines.push_back("</li>");
  return HtmlLines(lines);
}

}  // namespace

std::string HtmlAlbumPage(const HtmlSite& site, int album_number) {
  const HtmlAlbum& album = site.albums.at(static_cast<std::size_t>(album_number));
  std::string page = HtmlPageStart(album.title + " - " + site.title, true);
  page += HtmlLines({"<header class=\"page-header\">"});
  page += Navigation(site, album_number);
  page += HtmlLines({
      "<h1>" + EscapeHtml(album.title) + "</h1>",
      "<p class=\"page-count\">" + PictureCountText(album.pictures.size()) + "</p>",
      "</header>",
      "<main>",
  });
  if (album.pictures.empty()) {
    page += HtmlLines({"<p class=\"empty-album\">This album has no pictures yet.</p>"});
  } else {
    page += HtmlLines({"<ul class=\"grid\" id=\"pictures\">"});
    for (std::size_t i = 0; i < album.pictures.size(); ++i) page += Tile(album.pictures[i], i);
    page += HtmlLines({"</ul>"});
  }
  page += HtmlLines({"</main>"});
  // The home page tells when the site was generated; an album page names no time, so a
  // run that changes nothing in an album leaves its page as it was.
  return page + HtmlPageEnd("");
}

}  // namespace quorvale
