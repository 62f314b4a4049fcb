#include "viewers/html/html_site.h"

#include "platform/path.h"

namespace quorvale {

std::string HtmlSiteTitle(const std::string& project_path) {
  // On Windows a path may use either separator; elsewhere only "/" ends a folder.
  const std::size_t separator = project_path.find_last_of(std::string("/") + kPathSeparator);
  std::string name = separator == std::string::npos ? project_path : project_path.substr(separator + 1);
  constexpr std::string_view kExtension = ".qs1";
  if (name.size() > kExtension.size()) {
    std::string ending = name.substr(name.size() - kExtension.size());
    for (char& c : ending) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (ending == kExtension) name.resize(name.size() - kExtension.size());
  }
  return name;
}

}  // namespace quorvale
