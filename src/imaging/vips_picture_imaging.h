#pragma once

#include <string>
#include <variant>

#include "imaging/picture_imaging.h"

namespace quorvale {

// The PictureImaging port on libvips: JPEGs decoded with shrink-on-load, one decode per
// picture for both images (the thumbnail is scaled from the display copy in memory),
// the EXIF orientation applied, colours converted to sRGB, metadata left out.
// libvips starts with the first picture, once per process, so a run that makes no
// images pays nothing for it.
class VipsPictureImaging final : public PictureImaging {
 public:
  std::variant<PreparedPicture, std::string> Prepare(const std::string& source, const std::string& thumbnail_path,
                                                     const std::string& display_path,
                                                     const ImagingSettings& settings) override;

  // Gives libvips's own worker threads the cores that the callers leave over, so the
  // two pools together keep every core busy without crowding it.
  void PlanWorkers(int workers) override;
};

}  // namespace quorvale
