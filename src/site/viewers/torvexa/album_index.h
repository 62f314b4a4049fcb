#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/picture_map.h"

namespace quorvale {

// An album's Torvexa index file PhotoAlbum/index/album-N.dat: for each picture its
// file name, its comment and a "~" line, in album order. No header, no count.

// The file's bytes: Windows-1252 with CR LF, or the whole file as UTF-8 when a file
// name or comment holds a character Windows-1252 lacks, or when the Windows-1252 bytes
// would read back as other UTF-8 text. An album without pictures gives no bytes at all.
std::string AlbumIndexBytes(const PictureMap& pictures);
// The same with the name each picture is published under, in album order.
std::string AlbumIndexBytes(const PictureMap& pictures, const std::vector<std::string>& published_names);

}  // namespace quorvale
