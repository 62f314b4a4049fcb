#pragma once

#include <string>

namespace quorvale {

// The address at which a generated site opens in a browser: the Publishing Directory
// with every backslash turned into a forward slash, then "/PhotoAlbum.htm". Nothing
// else is added or escaped.
std::string AccessUrlFor(const std::string& publish_directory);

}  // namespace quorvale
