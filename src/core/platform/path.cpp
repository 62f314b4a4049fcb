#include "platform/path.h"

#include <filesystem>
#include <system_error>

namespace quorvale {

std::string AbsolutePath(std::string_view path) {
  std::error_code error;
  const auto absolute = std::filesystem::absolute(std::filesystem::path(path), error);
  return error ? std::string(path) : absolute.lexically_normal().string();
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string joined(folder);
  joined += kPathSeparator;
  joined += name;
  return joined;
}

std::string FileNameOf(std::string_view path) {
  const auto cut = path.rfind(kPathSeparator);
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string FolderOf(std::string_view path) {
  const auto cut = path.rfind(kPathSeparator);
  return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut));
}

std::string CollapseDoubledSeparators(std::string_view path) {
  std::string result;
  result.reserve(path.size());
  std::size_t i = 0;
#ifdef _WIN32
  if (path.size() >= 2 && path[0] == kPathSeparator && path[1] == kPathSeparator) {
    result.append(2, kPathSeparator);
    i = 2;
  }
#endif
  while (i < path.size()) {
    result += path[i];
    if (path[i] == kPathSeparator && i + 1 < path.size() && path[i + 1] == kPathSeparator) {
      i += 2;  // the pair became one separator
    } else {
      ++i;
    }
  }
  return result;
}

}  // namespace quorvale
