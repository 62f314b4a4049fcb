// Files and folders dropped on the window from outside.
#include <algorithm>
#include <utility>

#include "projectfile/folder_import.h"
#include "window/main_window.h"

namespace quorvale {
namespace {

constexpr const char* kAddAlbumCaption = "Add New Album";
constexpr const char* kFoldersLeftOut = "Some of the dropped folders or pictures were left out:";

}  // namespace

DropAction MainWindowLogic::DropActionFor(DropTarget target, const std::vector<std::string>& paths) const {
  if (GenerationRunning()) return DropAction::kRefuse;  // the project waits for the run
  return ClassifyDrop(target, paths);
}

void MainWindowLogic::DropPaths(DropTarget target, std::vector<std::string> paths) {
  // A drop comes in no useful order: files and folders are taken in natural name order,
  // so "peak-2" comes before "peak-10".
  std::sort(paths.begin(), paths.end(), NaturalLess);
  switch (DropActionFor(target, paths)) {
    case DropAction::kRefuse:
      break;
    case DropAction::kAddPictures: {
      if (!MayAddPictures()) break;
      const int total = static_cast<int>(paths.size());
      if (!LeaveOutUnstorablePaths(paths)) break;
      const Selection before = CurrentSelection();
      AddPicturePaths(paths, total);
      RecordEdit(before);
      break;
    }
    case DropAction::kAddAlbums:
      AddDroppedFolders(paths);
      break;
    case DropAction::kOpenProject:
      if (SaveBeforeReplacing()) OpenChosenFile(paths.front());
      break;
  }
  Notify();
}

void MainWindowLogic::AddDroppedFolders(const std::vector<std::string>& folders) {
  const FolderImport imported = ImportFolders(folders);
  const Selection before = CurrentSelection();
  // Each album goes in after the selected one and becomes the selection, as Add Album.
  for (const Album& album : imported.project.Albums()) {
    project_.AddAlbum(album.title);
    for (const Picture& picture : album.pictures) project_.AddPicture(picture.path);
  }
  if (imported.project.AlbumCount() > 0) AlbumSelected();
  RecordEdit(before);

  std::string left_out;
  for (const auto* list : {&imported.errors, &imported.warnings}) {
    for (const std::string& line : *list) left_out += "\r\n" + line;
  }
  if (!left_out.empty()) {
    Message(kFoldersLeftOut + left_out, kAddAlbumCaption, Buttons::kOk, Icon::kExclamation);
  }
}

}  // namespace quorvale
