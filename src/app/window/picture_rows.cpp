#include "window/picture_rows.h"

#include "platform/file_system.h"
#include "platform/path.h"

namespace quorvale {

std::vector<PictureRowView> PictureRowViews(const Project& project, int album) {
  std::vector<PictureRowView> rows;
  if (album < 0 || album >= project.AlbumCount()) return rows;
  for (const Picture& picture : project.AlbumPictures(album)) {
    rows.push_back({FileNameOf(picture.path), picture.path, !picture.comment.empty(), !FileExists(picture.path)});
  }
  return rows;
}

int MissingPictureCount(const Project& project) {
  int missing = 0;
  for (const Album& album : project.Albums()) {
    for (const Picture& picture : album.pictures) missing += FileExists(picture.path) ? 0 : 1;
  }
  return missing;
}

std::string MissingPicturesNote(int missing) {
  if (missing == 0) return std::string();
  return (missing == 1 ? std::string("1 picture of this project was") : std::to_string(missing) + " pictures of this project were") +
         " not found. Edit > Find Moved Pictures... looks for them in a folder.";
}

}  // namespace quorvale
