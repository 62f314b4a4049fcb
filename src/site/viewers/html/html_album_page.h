#pragma once

#include <string>

#include "viewers/html/html_site.h"

namespace quorvale {

// The HTML viewer's page of album `album_number`, album-N.htm: its title, links to the
// previous and next album and back to the album list, and a grid of thumbnails. Each
// thumbnail links to its display copy, so the page works without scripts; with them
// the lightbox opens the pictures, and "#pK" in the address (K counting the album's
// pictures from 1) names the picture shown. A picture without images keeps its place
// as a tile with its file name and comment. UTF-8.
std::string HtmlAlbumPage(const HtmlSite& site, int album_number);

}  // namespace quorvale
