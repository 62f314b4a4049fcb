#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "viewers/html/html_site.h"

namespace quorvale {

// "PhotoAlbum/a-256.jpg 256w, PhotoAlbum/a-512.jpg 512w": the images as the candidates
// of a srcset, each URL-encoded with its width, appended to `html`.
std::string& AppendSrcset(std::string& html, const std::vector<HtmlImage>& images);

// A picture's square thumbnails as an img with the JPEGs as its srcset and the fallback
// thumbnail as its src, inside a <picture> with the WebPs as its source when the site
// has them, so each browser loads the one size and format it needs for a box `sizes`
// wide. `img_attributes` are the img's own (class, alt, loading), each after a blank.
// The second form appends it to `html`.
std::string ThumbnailPicture(const HtmlPicture& picture, std::string_view sizes, std::string_view img_attributes);
std::string& AppendThumbnailPicture(std::string& html, const HtmlPicture& picture, std::string_view sizes,
                                    std::string_view img_attributes);

}  // namespace quorvale
