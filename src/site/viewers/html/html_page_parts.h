#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quorvale {

// The parts that the HTML viewer's home page and album pages share. Every line ends
// with CR LF, as in every file the program writes.

// Joins lines, each followed by CR LF.
std::string HtmlLines(const std::vector<std::string>& lines);

// From the document type to the opening of the body: UTF-8, English, the viewport of
// phones, the page title (escaped here), the style sheets, and with the lightbox its
// scripts, which run after the page is read and need nothing outside the site folder.
std::string HtmlPageStart(const std::string& title, bool with_lightbox);

// The footer naming the program and, unless it is empty, the run's date-time text, and
// the end of the page.
std::string HtmlPageEnd(const std::string& generated_at);

// "No pictures", "1 picture", "12 pictures".
std::string PictureCountText(std::size_t count);

// The URL of an album's page, "album-N.htm", relative to the Publishing Directory.
std::string HtmlAlbumPageUrl(int album_number);

}  // namespace quorvale
