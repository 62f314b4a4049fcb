#pragma once

#include <string>
#include <string_view>

namespace quorvale {

// Both hashes are stored in files, so neither ever changes with the build or the host.

// A content hash of `bytes`: FNV-1a, 64 bits, as sixteen lowercase hexadecimal digits.
// The server's record of an upload keeps it for every file.
std::string ContentHash(std::string_view bytes);

// A content hash of `bytes` taken eight bytes at a time (each eight read as a
// little-endian number; the bytes after the last whole eight one at a time), as sixteen
// lowercase hexadecimal digits. Some six times as fast as ContentHash, for files of
// tens of megabytes hashed on every run: a site manifest's changes name their manifest
// by it.
std::string WordContentHash(std::string_view bytes);

}  // namespace quorvale
