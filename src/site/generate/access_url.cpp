#include "generate/access_url.h"

#include "layout/site_layout.h"

namespace quorvale {

std::string AccessUrlFor(const std::string& publish_directory) {
  std::string url = publish_directory;
  for (char& c : url) {
    if (c == '\\') c = '/';
  }
  return url + "/" + kHomePageName;
}

}  // namespace quorvale
