#include "platform/path.h"

namespace quorvale {
namespace {

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The end of the path component that starts at `from` (the next separator or the end).
std::size_t ComponentEnd(std::string_view path, std::size_t from) {
  while (from < path.size() && !IsPathSeparator(path[from])) ++from;
  return from;
}

}  // namespace

std::size_t PathRootLength(std::string_view path) {
  if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':') {
    return path.size() >= 3 && IsPathSeparator(path[2]) ? 3 : 2;
  }
  if (path.size() >= 3 && IsPathSeparator(path[0]) && IsPathSeparator(path[1]) && !IsPathSeparator(path[2])) {
    // \\server\share\ : the server and the share belong to the root.
    const std::size_t server_end = ComponentEnd(path, 2);
    if (server_end == path.size()) return path.size();
    const std::size_t share_end = ComponentEnd(path, server_end + 1);
    return share_end == path.size() ? share_end : share_end + 1;
  }
  return !path.empty() && IsPathSeparator(path[0]) ? 1 : 0;
}

}  // namespace quorvale
