#include "viewers/html/html_responsive_image.h"

#include "platform/number_text.h"
#include "viewers/html/html_text.h"

namespace quorvale {

std::string& AppendSrcset(std::string& html, const std::vector<HtmlImage>& images) {
  for (std::size_t i = 0; i < images.size(); ++i) {
    if (i > 0) html += ", ";
    AppendUrlOfPath(html, images[i].path) += ' ';
    AppendNumber(html, images[i].width) += 'w';
  }
  return html;
}

std::string& AppendThumbnailPicture(std::string& html, const HtmlPicture& picture, std::string_view sizes,
                                    std::string_view img_attributes) {
  const HtmlImage& fallback = *picture.thumbnail;
  const bool webp = !picture.thumbnail_webps.empty();
  if (webp) {
    AppendSrcset(html += "<picture><source type=\"image/webp\" srcset=\"", picture.thumbnail_webps)
        .append("\" sizes=\"")
        .append(sizes)
        .append("\">");
  }
  AppendUrlOfPath(html += "<img src=\"", fallback.path) += '"';
  if (!picture.thumbnail_jpegs.empty()) {
    AppendSrcset(html += " srcset=\"", picture.thumbnail_jpegs).append("\" sizes=\"").append(sizes) += '"';
  }
  AppendNumber(html += " width=\"", fallback.width) += "\" height=\"";
  AppendNumber(html, fallback.height).append("\"").append(img_attributes) += '>';
  if (webp) html += "</picture>";
  return html;
}

std::string ThumbnailPicture(const HtmlPicture& picture, std::string_view sizes, std::string_view img_attributes) {
  std::string html;
  AppendThumbnailPicture(html, picture, sizes, img_attributes);
  return html;
}

}  // namespace quorvale
