#include "viewers/html/html_album_page.h"

#include <vector>

#include "layout/site_layout.h"
#include "platform/number_text.h"
#include "viewers/html/html_page_parts.h"
#include "viewers/html/html_responsive_image.h"
#include "viewers/html/html_text.h"
#include "viewers/html/viewer_words.h"

namespace quorvale {
namespace {

// How wide a tile is shown: as laid out, where the browser can tell it before loading
// (a lazy image); else half a phone's screen in two columns, and on a wider screen
// columns of 200 to 400 pixels.
constexpr const char* kTileSizes = "auto, (max-width: 480px) 50vw, 400px";

std::string Navigation(const HtmlSite& site, int album_number) {
  const std::string& language = site.language;
  std::vector<std::string> lines = {
      "<nav class=\"album-nav\" aria-label=\"" + std::string(ViewerWord(Word::kAlbumsNavigation, language)) + "\">",
      "<a class=\"nav-home\" href=\"" + std::string(kHomePageName) + "\">" +
          std::string(ViewerWord(Word::kAllAlbums, language)) + "</a>",
  };
  if (album_number > 0) {
    lines.push_back("<a class=\"nav-prev\" href=\"" + HtmlAlbumPageUrl(album_number - 1) +
                    "\" rel=\"prev\">" +
                    std::string(ViewerWord(Word::kPreviousAlbum, language)) + "</a>");
  }
  if (album_number + 1 < static_cast<int>(site.albums.size())) {
    lines.push_back("<a class=\"nav-next\" href=\"" + HtmlAlbumPageUrl(album_number + 1) +
                    "\" rel=\"next\">" +
                    std::string(ViewerWord(Word::kNextAlbum, language)) + "</a>");
  }
  lines.push_back("</nav>");
  return HtmlLines(lines);
}

// The facts of the information panel as attributes of the picture's link; a fact the
// published file does not hold is left out.
void AppendFactAttributes(std::string& html, const PictureFacts& facts) {
  const auto add = [&html](const char* name, std::string_view value) {
    if (!value.empty()) AppendEscapedHtml(html.append(" data-").append(name).append("=\""), value) += '"';
  };
  add("taken", facts.taken);
  add("camera", facts.camera);
  add("location", facts.location);
  if (facts.width > 0 && facts.height > 0) {
    add("pixels", std::to_string(facts.width) + " \u00d7 " + std::to_string(facts.height));
  }
  if (facts.bytes > 0) add("bytes", std::to_string(facts.bytes));
}

// One picture's tile, appended to the page: its lines end with CR LF like the others.
void AppendTile(std::string& html, const HtmlPicture& picture, std::size_t position, const std::string& language) {
  const auto start = [&](const char* classes) {
    AppendNumber(html.append("<li class=\"").append(classes).append("\" id=\"p"), position + 1) += "\">\r\n";
  };
  const auto placeholder_inside = [&](Word note) {
    AppendEscapedHtml(html += "<span class=\"file-name\">", picture.file_name)
        .append("</span><span class=\"note\">")
        .append(ViewerWord(note, language))
        .append("</span>");
  };
  if (!picture.found) {
    start("tile missing");
    html += "<div class=\"placeholder\">";
    placeholder_inside(Word::kMissingPicture);
    html += "</div>\r\n";
  } else if (!picture.thumbnail || !picture.display) {
    start("tile unreadable");
    if (picture.original.empty()) {
      html += "<div class=\"placeholder\">";
      placeholder_inside(Word::kNoPreview);
      html += "</div>\r\n";
    } else {
      AppendUrlOfPath(html += "<a class=\"placeholder\" href=\"", picture.original) += "\">";
      placeholder_inside(Word::kNoPreview);
      html += "</a>\r\n";
    }
  } else {
    start("tile");
    const std::string& alt = picture.comment.empty() ? picture.file_name : picture.comment;
    // The lightbox picks its display copy from the srcset for the size it shows; the
    // WebPs go to a browser that took a WebP thumbnail. The tile is cropped square, as
    // the lightbox's opening animation is told.
    AppendUrlOfPath(html += "<a class=\"picture\" href=\"", picture.display->path) += "\" data-pswp-width=\"";
    AppendNumber(html, picture.display->width) += "\" data-pswp-height=\"";
    AppendNumber(html, picture.display->height) += '"';
    if (!picture.display_jpegs.empty()) AppendSrcset(html += " data-pswp-srcset=\"", picture.display_jpegs) += '"';
    if (!picture.display_webps.empty()) AppendSrcset(html += " data-webp-srcset=\"", picture.display_webps) += '"';
    html += " data-cropped=\"true\"";
    if (!picture.original.empty()) AppendUrlOfPath(html += " data-original=\"", picture.original) += '"';
    AppendFactAttributes(html, picture.facts);
    html += '>';
    AppendThumbnailPicture(html, picture, kTileSizes, " alt=\"" + EscapeHtml(alt) + "\" loading=\"lazy\"");
    html += "</a>\r\n";
  }
  if (!picture.comment.empty()) AppendEscapedHtml(html += "<p class=\"comment\">", picture.comment) += "</p>\r\n";
  html += "</li>\r\n";
}

}  // namespace

std::string HtmlAlbumPage(const HtmlSite& site, int album_number) {
  const HtmlAlbum& album = site.albums.at(static_cast<std::size_t>(album_number));
  const std::string& language = site.language;
  const std::string count = PictureCountText(album.pictures.size(), language);
  std::string cover;
  for (const HtmlPicture& picture : album.pictures) {
    if (picture.display) {
      cover = picture.display->path;
      break;
    }
  }
  const std::string description = count + " \u00b7 " + site.title;
  std::string page = HtmlPageStart({language, album.title + " - " + site.title, description, cover, true});
  page.reserve(page.size() + 4096 + 2048 * album.pictures.size());  // a tile takes about 1 to 2 KB
  page += HtmlLines({"<header class=\"page-header\">"});
  page += Navigation(site, album_number);
  page += HtmlLines({
      "<h1>" + EscapeHtml(album.title) + "</h1>",
      "<p class=\"page-count\">" + count + "</p>",
      "</header>",
      "<main>",
  });
  if (album.pictures.empty()) {
    page += HtmlLines(
        {"<p class=\"empty-album\">" + std::string(ViewerWord(Word::kAlbumHasNoPictures, language)) + ".</p>"});
  } else {
    // The lightbox's words travel with the grid, so its script holds no text of its own.
    page += HtmlLines({"<ul class=\"grid\" id=\"pictures\" data-words=\"" + EscapeHtml(LightboxWordsJson(language)) +
                       "\">"});
    for (std::size_t i = 0; i < album.pictures.size(); ++i) AppendTile(page, album.pictures[i], i, language);
    page += HtmlLines({"</ul>"});
  }
  page += HtmlLines({"</main>"});
  // The home page tells when the site was generated; an album page names no time, so a
  // run that changes nothing in an album leaves its page as it was.
  page += HtmlPageEnd("", language);
  return page;
}

}  // namespace quorvale
