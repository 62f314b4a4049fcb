#include "platform/path.h"

#include "platform/native_path.h"

#include <filesystem>
#include <system_error>

namespace quorvale {
namespace {

// Where the name after the last separator begins: past the root at least.
std::size_t NameStart(std::string_view path) {
  const std::size_t root = PathRootLength(path);
  std::size_t start = path.size();
  while (start > root && !IsPathSeparator(path[start - 1])) --start;
  return start;
}

}  // namespace

std::string AbsolutePath(std::string_view path) {
  std::error_code error;
  const auto absolute = std::filesystem::absolute(NativePath(path), error);
  return error ? std::string(path) : PathText(absolute.lexically_normal());
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string joined;
  joined.reserve(folder.size() + 1 + name.size());
  joined.append(folder).append(1, kPathSeparator).append(name);
  return joined;
}

bool IsPlainName(std::string_view name) {
  if (name.empty() || name == "." || name == ".." || PathRootLength(name) != 0) return false;
  for (const char c : name) {
    if (IsPathSeparator(c)) return false;
  }
  return true;
}

std::string FileNameOf(std::string_view path) { return std::string(FileNameIn(path)); }

std::string_view FileNameIn(std::string_view path) { return path.substr(NameStart(path)); }

std::string FolderOf(std::string_view path) {
  const std::size_t root = PathRootLength(path);
  const std::size_t start = NameStart(path);
  if (start <= root) return std::string(path.substr(0, root));
  return std::string(path.substr(0, start - 1));
}

std::string CollapseDoubledSeparators(std::string_view path) {
  const std::size_t root = PathRootLength(path);
  std::string result;
  result.reserve(path.size());
  result.append(path.substr(0, root));
  std::size_t i = root;
  // A separator right after a root that ends in one is a doubled separator too.
  if (root > 0 && IsPathSeparator(path[root - 1])) {
    while (i < path.size() && IsPathSeparator(path[i])) ++i;
  }
  // What lies between pairs of separators goes in whole, each pair as one separator.
  // Where the next character is no separator, no pair starts here or there.
  std::size_t run_from = i;
  while (i + 1 < path.size()) {
    if (!IsPathSeparator(path[i + 1])) {
      i += 2;
    } else if (IsPathSeparator(path[i])) {
      result.append(path.substr(run_from, i + 1 - run_from));
      i += 2;
      run_from = i;
    } else {
      ++i;
    }
  }
  return result.append(path.substr(run_from));
}

}  // namespace quorvale
