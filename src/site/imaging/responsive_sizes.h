#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/picture_imaging.h"

namespace quorvale {

// The sizes a picture of `width` x `height` pixels (upright) gets, each set narrowest
// first. A display copy is the picture scaled to fit one of the settings' boxes; a
// thumbnail is a square of one of the settings' sides. Nothing is scaled up: a box or
// side the picture does not fill gives the picture's own size (for a thumbnail, the
// square of its shorter side) once, and the larger boxes or sides give nothing more, so
// no two images of a set have the same width.
struct ResponsiveSizes {
  std::vector<ImageSize> thumbnails;
  std::vector<ImageSize> displays;
};
ResponsiveSizes ResponsiveSizesOf(int width, int height, const ImagingSettings& settings);

// The file of one size of an image: `stem` (a folder and the picture's published name)
// with the width and the format's extension ("boat.jpg" at 512 gives "boat.jpg-512.jpg"
// and "boat.jpg-512.webp"). Works as well on a bare name as on a path.
std::string SizedImagePath(const std::string& stem, int width, bool webp);
// The same into `path`, whose room a caller naming many files uses again.
void AssignSizedImagePath(std::string& path, std::string_view stem, int width, bool webp);

// Every file a picture's images take, below the two stems: each thumbnail and display
// copy as JPEG (but the original's place when it serves) and, where its set has them,
// as WebP.
std::vector<std::string> SizedImagePaths(const std::string& thumbnail_stem, const std::string& display_stem,
                                         const PreparedPicture& sizes);
// The same files, in the same order, each handed to `visit` as whether it is a
// thumbnail, its width and whether it is the WebP one; nothing is allocated.
template <typename Visit>
void ForEachSizedImage(const PreparedPicture& sizes, Visit&& visit) {
  for (const ImageSize& size : sizes.thumbnails) {
    visit(true, size.width, false);
    if (sizes.thumbnails_webp) visit(true, size.width, true);
  }
  for (std::size_t i = 0; i < sizes.displays.size(); ++i) {
    const bool original = sizes.display_is_original && i + 1 == sizes.displays.size();
    if (!original) visit(false, sizes.displays[i].width, false);
    if (sizes.displays_webp) visit(false, sizes.displays[i].width, true);
  }
}

}  // namespace quorvale
