#pragma once

#include <optional>
#include <string>

#include "model/project.h"

namespace quorvale {

// An album's Torvexa page album-N.htm: the album drop-down with Previous and Next, and
// the applet told which index file and image folder belong to the album.

// The page's path in the Publishing Directory (plain concatenation).
std::string AlbumPagePath(const std::string& publish_directory, int album_number);

// The page as UTF-8 text, every line ended by CR LF. Titles go in unchanged.
std::string AlbumPageText(const Project& project, int album_number, const std::string& project_name);

// Writes the page of album `album_number` whole. Returns the failure's reason.
std::optional<std::string> WriteAlbumPage(const std::string& publish_directory, const Project& project,
                                          int album_number, const std::string& project_name);

}  // namespace quorvale
