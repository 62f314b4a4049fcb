#include "viewers/html/html_album_page.h"

#include <vector>

#include "layout/site_layout.h"
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
std::string FactAttributes(const PictureFacts& facts) {
  std::string attributes;
  const auto add = [&attributes](const char* name, const std::string& value) {
    if (!value.empty()) attributes += std::string(" data-") + name + "=\"" + EscapeHtml(value) + "\"";
  };
  add("taken", facts.taken);
  add("camera", facts.camera);
  add("location", facts.location);
  if (facts.width > 0 && facts.height > 0) {
    add("pixels", std::to_string(facts.width) + " \u00d7 " + std::to_string(facts.height));
  }
  if (facts.bytes > 0) add("bytes", std::to_string(facts.bytes));
  return attributes;
}

std::string Tile(const HtmlPicture& picture, std::size_t position, const std::string& language) {
  const std::string id = "p" + std::to_string(position + 1);
  std::vector<std::string> lines;
  if (!picture.found) {
    lines = {
        "<li class=\"tile missing\" id=\"" + id + "\">",
        "<div class=\"placeholder\"><span class=\"file-name\">" + EscapeHtml(picture.file_name) +
            "</span><span class=\"note\">" + std::string(ViewerWord(Word::kMissingPicture, language)) +
            "</span></div>",
    };
  } else if (!picture.thumbnail || !picture.display) {
    const std::string inside = "<span class=\"file-name\">" + EscapeHtml(picture.file_name) +
                               "</span><span class=\"note\">" + std::string(ViewerWord(Word::kNoPreview, language)) +
                               "</span>";
    lines = {
        "<li class=\"tile unreadable\" id=\"" + id + "\">",
        picture.original.empty()
            ? "<div class=\"placeholder\">" + inside + "</div>"
            : "<a class=\"placeholder\" href=\"" + UrlOfPath(picture.original) + "\">" + inside + "</a>",
    };
  } else {
    const std::string& alt = picture.comment.empty() ? picture.file_name : picture.comment;
    // The lightbox picks its display copy from the srcset for the size it shows; the
    // WebPs go to a browser that took a WebP thumbnail. The tile is cropped square, as
    // the lightbox's opening animation is told.
    std::string display_sets;
    if (!picture.display_jpegs.empty()) display_sets += " data-pswp-srcset=\"" + SrcsetOf(picture.display_jpegs) + "\"";
    if (!picture.display_webps.empty()) {
      display_sets += " data-webp-srcset=\"" + SrcsetOf(picture.display_webps) + "\"";
    }
    lines = {
        "<li class=\"tile\" id=\"" + id + "\">",
        "<a class=\"picture\" href=\"" + UrlOfPath(picture.display->path) + "\" data-pswp-width=\"" +
            std::to_string(picture.display->width) + "\" data-pswp-height=\"" +
            std::to_string(picture.display->height) + "\"" + display_sets + " data-cropped=\"true\"" +
            (picture.original.empty() ? "" : " data-original=\"" + UrlOfPath(picture.original) + "\"") +
            FactAttributes(picture.facts) + ">" +
            ThumbnailPicture(picture, kTileSizes, " alt=\"" + EscapeHtml(alt) + "\" loading=\"lazy\"") + "</a>",
    };
  }
  if (!picture.comment.empty()) lines.push_back("<p class=\"comment\">" + EscapeHtml(picture.comment) + "</p>");
  lines.push_back("</li>");
  return HtmlLines(lines);
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
    for (std::size_t i = 0; i < album.pictures.size(); ++i) page += Tile(album.pictures[i], i, language);
    page += HtmlLines({"</ul>"});
  }
  page += HtmlLines({"</main>"});
  // The home page tells when the site was generated; an album page names no time, so a
  // run that changes nothing in an album leaves its page as it was.
  return page + HtmlPageEnd("", language);
}

}  // namespace quorvale
