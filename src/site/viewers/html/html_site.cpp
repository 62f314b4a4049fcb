#include "viewers/html/html_site.h"

#include "platform/path.h"
#include "platform/text_codec.h"

namespace quorvale {

std::string HtmlSiteTitle(const std::string& project_path) {
  // On Windows a path may use either separator; elsewhere only "/" ends a folder.
  const std::size_t separator = project_path.find_last_of(std::string("/") + kPathSeparator);
  std::string name = separator == std::string::npos ? project_path : project_path.substr(separator + 1);
  constexpr std::string_view kExtension = ".qs1";
  if (name.size() > kExtension.size() && AsciiLower(name.substr(name.size() - kExtension.size())) == kExtension) {
    name.resize(name.size() - kExtension.size());
  }
  return name;
}

}  // namespace quorvale
