#include "viewers/html/html_text.h"

namespace quorvale {

std::string EscapeHtml(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  AppendEscapedHtml(escaped, text);
  return escaped;
}

std::string& AppendEscapedHtml(std::string& escaped, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      case '\'': escaped += "&#39;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

std::string UrlOfPath(std::string_view relative_path) {
  std::string url;
  url.reserve(relative_path.size());
  AppendUrlOfPath(url, relative_path);
  return url;
}

std::string& AppendUrlOfPath(std::string& url, std::string_view relative_path) {
  constexpr char kHex[] = "0123456789ABCDEF";
  for (const char c : relative_path) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') ||
                       byte == '-' || byte == '.' || byte == '_' || byte == '~' || byte == '/';
    if (plain) {
      url += c;
    } else {
      url += '%';
      url += kHex[byte >> 4];
      url += kHex[byte & 0x0F];
    }
  }
  return url;
}

}  // namespace quorvale
