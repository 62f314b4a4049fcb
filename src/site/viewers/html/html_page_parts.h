#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quorvale {

// The parts that the HTML viewer's home page and album pages share. Every line ends
// with CR LF, as in every file the program writes.

// Joins lines, each followed by CR LF.
std::string HtmlLines(const std::vector<std::string>& lines);

// What a page tells in its head, as text (escaped where it is written).
struct HtmlHead {
  std::string language;     // the lang of the page
  std::string title;
  std::string description;  // for search engines and for the preview of a shared link
  std::string image;        // the preview's picture, relative to the Publishing Directory; may be empty
  bool with_lightbox = false;
};

// From the document type to the opening of the body: UTF-8, the page's language, the
// viewport of phones, title, description, the Open Graph and Twitter card tags that
// messengers show when the page's link is shared, the site's icon, the style sheets,
// and with the lightbox its scripts, which run after the page is read and need nothing
// outside the site folder.
std::string HtmlPageStart(const HtmlHead& head);

// The footer naming the program and, unless it is empty, the run's date-time text, and
// the end of the page.
std::string HtmlPageEnd(const std::string& generated_at, const std::string& language);

// The site's icon, PhotoAlbum/favicon.svg: the first letter of the site's title on a
// rounded square, made for each site by its run.
std::string HtmlSiteIcon(const std::string& site_title);

// The URL of an album's page, "album-N.htm", relative to the Publishing Directory.
std::string HtmlAlbumPageUrl(int album_number);

}  // namespace quorvale
