#pragma once

#include <string>
#include <vector>

namespace quorvale {

// Where on the main window something is dropped.
enum class DropTarget { kAlbumList, kPictureList, kElsewhere };

// What a drop does; a refused drop shows the no-drop cursor and does nothing.
enum class DropAction { kRefuse, kAddPictures, kAddAlbums, kOpenProject };

// Decides what dropping `paths` (files and folders from outside) on `target` does:
// - one project file (extension "qs1", exactly as Open wants it), anywhere: open it;
// - on the picture list, files only (whatever their names): add them to the selected
//   album, which names and leaves out those that hold no picture;
// - on the album list, folders only: one album per folder;
// - anything else: refused.
DropAction ClassifyDrop(DropTarget target, const std::vector<std::string>& paths);

}  // namespace quorvale
