#include "window/moved_pictures.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/folder_listing.h"
#include "platform/path.h"
#include "projectfile/folder_import.h"
#include "window/picture_rows.h"

namespace quorvale {
namespace {

constexpr const char* kFindMovedCaption = "Find Moved Pictures";
constexpr const char* kChooseFolderTitle = "Select the folder that holds the moved pictures ...";
constexpr const char* kNothingMissing = "Every picture of this project is where the project expects it.";

// Every file below `root` by its name, the first in name order for a name found twice.
std::map<std::string, std::string> FilesByName(const std::string& root) {
  std::map<std::string, std::string> files;
  std::vector<std::string> folders{root};
  while (!folders.empty()) {
    const std::string folder = folders.back();
    folders.pop_back();
    auto entries = ListFolder(folder);
    if (!entries) continue;  // an unreadable folder holds nothing we can use
    std::sort(entries->begin(), entries->end(),
              [](const FolderEntry& a, const FolderEntry& b) { return NaturalLess(a.name, b.name); });
    std::vector<std::string> below;
    for (const FolderEntry& entry : *entries) {
      const std::string path = JoinPath(folder, entry.name);
      if (entry.kind == FolderEntry::Kind::kFile) files.try_emplace(entry.name, path);
      if (entry.kind == FolderEntry::Kind::kFolder) below.push_back(path);
    }
    // The folder's own files come before those of its subfolders, taken in name order.
    folders.insert(folders.end(), below.rbegin(), below.rend());
  }
  return files;
}

}  // namespace

int FindMovedPictures(WindowState& state) {
  const int missing = MissingPictureCount(state.project);
  if (missing == 0) {
    state.Message(kNothingMissing, kFindMovedCaption, Buttons::kOk, Icon::kInformation);
    return 0;
  }
  const auto root = state.dialogs.ChooseFolder(kChooseFolderTitle, state.directories.LastPictureDirectory);
  if (!root) return 0;
  const std::map<std::string, std::string> files = FilesByName(*root);
  const Selection before = state.CurrentSelection();
  int found = 0;
  for (int a = 0; a < state.project.AlbumCount(); ++a) {
    for (int p = 0; p < state.project.AlbumPictures(a).Count(); ++p) {
      const std::string& path = state.project.AlbumPictures(a).At(p).path;
      if (FileExists(path)) continue;
      const auto file = files.find(FileNameOf(path));
      // An album holds a file once: a picture whose file it already holds stays missing.
      if (file == files.end() || state.project.AlbumPictures(a).Find(file->second) >= 0) continue;
      state.project.RelinkPicture(a, p, file->second);
      ++found;
    }
  }
  state.RecordEdit(before);
  state.Message(std::to_string(found) + " of " + std::to_string(missing) + " missing pictures were found below " +
                    *root + ".",
                kFindMovedCaption, Buttons::kOk, found == missing ? Icon::kInformation : Icon::kExclamation);
  return found;
}

}  // namespace quorvale
