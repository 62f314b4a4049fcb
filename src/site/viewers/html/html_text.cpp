#include "viewers/html/html_text.h"

#include <array>

namespace quorvale {

std::string EscapeHtml(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  AppendEscapedHtml(escaped, text);
  return escaped;
}

std::string& AppendEscapedHtml(std::string& escaped, std::string_view text) {
  // Runs of characters that need no escape go in whole.
  std::size_t plain_from = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::string_view entity;
    switch (text[i]) {
      case '&': entity = "&amp;"; break;
      case '<': entity = "&lt;"; break;
      case '>': entity = "&gt;"; break;
      case '"': entity = "&quot;"; break;
      case '\'': entity = "&#39;"; break;
      default: continue;
    }
    escaped.append(text.substr(plain_from, i - plain_from)).append(entity);
    plain_from = i + 1;
  }
  return escaped.append(text.substr(plain_from));
}

std::string UrlOfPath(std::string_view relative_path) {
  std::string url;
  url.reserve(relative_path.size());
  AppendUrlOfPath(url, relative_path);
  return url;
}

namespace {

// The bytes that stand for themselves in a URL's path: letters, digits, "-._~" and "/".
constexpr std::array<bool, 256> kPlainInUrl = [] {
  std::array<bool, 256> plain{};
  for (int byte = 0; byte < 256; ++byte) {
    plain[static_cast<std::size_t>(byte)] = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                                            (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' ||
                                            byte == '_' || byte == '~' || byte == '/';
  }
  return plain;
}();

}  // namespace

std::string& AppendUrlOfPath(std::string& url, std::string_view relative_path) {
  constexpr char kHex[] = "0123456789ABCDEF";
  // Runs of characters that stand for themselves go in whole; they are looked for eight
  // at a time, as a path is mostly such a run.
  const auto plain = [&relative_path](std::size_t i) {
    return kPlainInUrl[static_cast<unsigned char>(relative_path[i])];
  };
  std::size_t plain_from = 0;
  for (std::size_t i = 0; i < relative_path.size(); ++i) {
    while (i + 8 <= relative_path.size() && (plain(i) & plain(i + 1) & plain(i + 2) & plain(i + 3) & plain(i + 4) &
                                             plain(i + 5) & plain(i + 6) & plain(i + 7))) {
      i += 8;
    }
    if (i == relative_path.size()) break;
    const auto byte = static_cast<unsigned char>(relative_path[i]);
    if (kPlainInUrl[byte]) continue;
    const char escape[] = {'%', kHex[byte >> 4], kHex[byte & 0x0F]};
    url.append(relative_path.substr(plain_from, i - plain_from)).append(escape, sizeof escape);
    plain_from = i + 1;
  }
  return url.append(relative_path.substr(plain_from));
}

}  // namespace quorvale
