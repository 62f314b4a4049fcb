#pragma once

#include <string>
#include <vector>

namespace quorvale {

// The names under which an album's pictures are published in the HTML viewer's site,
// one per file name given, in the same order. A picture keeps its file name unless an
// earlier picture of the album has the same name (letter case ignored, as Windows and
// macOS folders ignore it); such a picture gets the first free name with "-2", "-3", ...
// before its extension ("boat.jpg", "boat-2.jpg"). Names that are unique in the album
// are never changed, so a picture keeps its published name, its thumbnail and its
// link while other pictures come and go.
std::vector<std::string> DistinctPublishedNames(const std::vector<std::string>& file_names);

}  // namespace quorvale
