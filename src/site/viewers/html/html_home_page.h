#pragma once

#include <string>

#include "viewers/html/html_site.h"

namespace quorvale {

// The HTML viewer's home page, PhotoAlbum.htm: the site's title and one card per album
// in project order, each with the thumbnail of its first picture that has one, its title
// and its picture count. An album without pictures gets a card that says so. UTF-8.
std::string HtmlHomePage(const HtmlSite& site);

}  // namespace quorvale
