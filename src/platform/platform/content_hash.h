#pragma once

#include <string>
#include <string_view>

namespace quorvale {

// A content hash of `bytes`: FNV-1a, 64 bits, as sixteen lowercase hexadecimal digits.
// Stored in files (the server's record of an upload, a manifest's changes), so it never
// changes with the build.
std::string ContentHash(std::string_view bytes);

}  // namespace quorvale
