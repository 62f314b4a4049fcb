#pragma once

#include <string>
#include <vector>

#include "model/project.h"

namespace quorvale {

// What one row of the picture list shows: the file's name, its whole path (the row's
// tool tip and where its thumbnail is read from), whether the picture has a comment and
// whether its file is gone.
struct PictureRowView {
  std::string name;
  std::string path;
  bool has_comment = false;
  bool missing = false;
  bool operator==(const PictureRowView&) const = default;
};

// The rows of album `album`'s pictures, in order; none for no album.
std::vector<PictureRowView> PictureRowViews(const Project& project, int album);

// How many pictures of the project have no file at their path.
int MissingPictureCount(const Project& project);

// The status line's note on a project just opened: how many of its pictures are
// missing and where to look for them; empty when none is.
std::string MissingPicturesNote(int missing);

}  // namespace quorvale
