#pragma once

#include <string>

#include "model/project.h"

namespace quorvale {

// An album's Torvexa page album-N.htm: the album drop-down with Previous and Next, and
// the applet told which index file and image folder belong to the album.

// The page as UTF-8 text, every line ended by CR LF. Titles go in unchanged.
std::string AlbumPageText(const Project& project, int album_number, const std::string& project_name);

}  // namespace quorvale
