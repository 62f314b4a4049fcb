#pragma once

#include <string>
#include <vector>

#include "model/project.h"

namespace quorvale {

// A new project made from folders of pictures: one album per folder, in the order
// given, titled with the folder's name (trimmed, cut to the title limit), holding the
// folder's picture files (those with a picture file extension in any letter case, no
// subfolders) in natural, case-insensitive name order. Each is judged by its content:
// one that holds no picture Quorvale takes is left out with a warning naming it.
// Pictures are added through the same operations as the Add Pictures command, so an
// album stops at the picture limit.
struct FolderImport {
  Project project;
  std::vector<std::string> warnings;  // pictures left out
  std::vector<std::string> errors;    // folders that cannot become albums; nothing should be written
};

FolderImport ImportFolders(const std::vector<std::string>& folders);

// A file name with one of the extensions the Add Picture dialog offers, in any letter
// case: .jpg, .jpeg, .gif, .heic, .heif, .hif, .avif, .webp, .png, .tif, .tiff.
bool IsPictureFileName(const std::string& name);

// Natural, case-insensitive order of file names: "img2" < "Img3" < "img10".
bool NaturalLess(const std::string& a, const std::string& b);

}  // namespace quorvale
