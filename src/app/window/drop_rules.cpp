#include "window/drop_rules.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/file_system.h"
#include "platform/native_path.h"
#include "platform/path.h"

namespace quorvale {
namespace {

bool IsFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(NativePath(path), error);
}

bool IsFolder(const std::string& path) { return FolderExists(path); }

bool IsProjectFile(const std::string& path) {
  const std::string name = FileNameOf(path);
  const auto dot = name.rfind('.');
  return dot != std::string::npos && name.substr(dot + 1) == "qs1" && IsFile(path);
}

}  // namespace

DropAction ClassifyDrop(DropTarget target, const std::vector<std::string>& paths) {
  if (paths.empty()) return DropAction::kRefuse;
  if (paths.size() == 1 && IsProjectFile(paths.front())) return DropAction::kOpenProject;
  const auto all = [&paths](bool (*test)(const std::string&)) { return std::all_of(paths.begin(), paths.end(), test); };
  switch (target) {
    case DropTarget::kPictureList:
      // Files of any name: adding them judges each by its content and names those
      // that are no picture.
      if (all(IsFile)) return DropAction::kAddPictures;
      break;
    case DropTarget::kAlbumList:
      if (all(IsFolder)) return DropAction::kAddAlbums;
      break;
    case DropTarget::kElsewhere:
      break;
  }
  return DropAction::kRefuse;
}

}  // namespace quorvale
