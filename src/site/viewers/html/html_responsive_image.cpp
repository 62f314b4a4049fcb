#include "viewers/html/html_responsive_image.h"

#include "viewers/html/html_text.h"

namespace quorvale {

std::string SrcsetOf(const std::vector<HtmlImage>& images) {
  std::string srcset;
  for (const HtmlImage& image : images) {
    if (!srcset.empty()) srcset += ", ";
    srcset += UrlOfPath(image.path) + " " + std::to_string(image.width) + "w";
  }
  return srcset;
}

std::string ThumbnailPicture(const HtmlPicture& picture, const std::string& sizes, const std::string& img_attributes) {
  const HtmlImage& fallback = *picture.thumbnail;
  const bool webp = !picture.thumbnail_webps.empty();
  std::string html;
  if (webp) {
    html += "<picture><source type=\"image/webp\" srcset=\"" + SrcsetOf(picture.thumbnail_webps) + "\" sizes=\"" +
            sizes + "\">";
  }
  html += "<img src=\"" + UrlOfPath(fallback.path) + "\"";
  if (!picture.thumbnail_jpegs.empty()) {
    html += " srcset=\"" + SrcsetOf(picture.thumbnail_jpegs) + "\" sizes=\"" + sizes + "\"";
  }
  html += " width=\"" + std::to_string(fallback.width) + "\" height=\"" + std::to_string(fallback.height) + "\"" +
          img_attributes + ">";
  return webp ? html + "</picture>" : html;
}

}  // namespace quorvale
