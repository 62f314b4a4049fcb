#include "viewers/html/html_page_parts.h"

#include "layout/site_layout.h"
#include "platform/product.h"
#include "viewers/html/html_text.h"
#include "viewers/html/html_viewer_files.h"
#include "viewers/html/viewer_words.h"
#include "platform/text_codec.h"

namespace quorvale {
namespace {

// The viewer's files as the pages, which lie in the Publishing Directory, reach them.
std::string ViewerFileUrl(const char* name) { return UrlOfPath(SiteFolderUrl() + "/" + name); }

}  // namespace

std::string HtmlLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::string HtmlPageStart(const HtmlHead& head) {
  const std::string title = EscapeHtml(head.title);
  const std::string description = EscapeHtml(head.description);
  std::vector<std::string> lines = {
      "<!DOCTYPE html>",
      "<html lang=\"" + EscapeHtml(head.language) + "\">",
      "<head>",
      "<meta charset=\"utf-8\">",
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">",
      "<meta name=\"generator\" content=\"" + EscapeHtml(ProductTitle()) + "\">",
      "<title>" + title + "</title>",
      "<meta name=\"description\" content=\"" + description + "\">",
      "<meta property=\"og:type\" content=\"website\">",
      "<meta property=\"og:title\" content=\"" + title + "\">",
      "<meta property=\"og:description\" content=\"" + description + "\">",
  };
  if (!head.image.empty()) lines.push_back("<meta property=\"og:image\" content=\"" + UrlOfPath(head.image) + "\">");
  lines.push_back("<meta name=\"twitter:card\" content=\"" +
                  std::string(head.image.empty() ? "summary" : "summary_large_image") + "\">");
  lines.push_back("<link rel=\"icon\" href=\"" + ViewerFileUrl(kSiteIcon) + "\" type=\"image/svg+xml\">");
  if (head.with_lightbox) {
    lines.push_back("<link rel=\"stylesheet\" href=\"" + ViewerFileUrl(kLightboxStyle) + "\">");
  }
  lines.push_back("<link rel=\"stylesheet\" href=\"" + ViewerFileUrl(kHtmlViewerStyle) + "\">");
  if (head.with_lightbox) {
    for (const char* script : {kLightboxCore, kLightboxOpener, kHtmlViewerScript}) {
      lines.push_back("<script src=\"" + ViewerFileUrl(script) + "\" defer></script>");
    }
  }
  lines.push_back("</head>");
  lines.push_back("<body>");
  return HtmlLines(lines);
}

std::string HtmlPageEnd(const std::string& generated_at, const std::string& language) {
  const std::string when = generated_at.empty() ? "" : " @ " + EscapeHtml(generated_at);
  return HtmlLines({
      "<footer class=\"page-footer\">",
      "<p>" + std::string(ViewerWord(Word::kGeneratedBy, language)) + " " + EscapeHtml(ProductTitle()) + when + "</p>",
      "</footer>",
      "</body>",
      "</html>",
  });
}

std::string HtmlSiteIcon(const std::string& site_title) {
  const std::string letter = site_title.empty() ? std::string("Q") : FirstChars(site_title, 1);
  return HtmlLines({
      "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 64 64\">",
      "<rect width=\"64\" height=\"64\" rx=\"14\" fill=\"#0a58ca\"/>",
      "<text x=\"32\" y=\"45\" font-family=\"sans-serif\" font-size=\"38\" font-weight=\"700\" "
      "text-anchor=\"middle\" fill=\"#fff\">" +
          EscapeHtml(letter) + "</text>",
      "</svg>",
  });
}

std::string HtmlAlbumPageUrl(int album_number) { return AlbumPageName(album_number); }

}  // namespace quorvale
