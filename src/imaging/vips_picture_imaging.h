#pragma once

#include <string>
#include <variant>

#include "imaging/picture_imaging.h"

namespace quorvale {

// The PictureImaging port on libvips: JPEGs decoded with shrink-on-load, one decode per
// picture for both images (the thumbnail is scaled from the display copy in memory),
// the EXIF orientation applied, colours converted to sRGB, metadata left out.
class VipsPictureImaging final : public PictureImaging {
 public:
  // Starts libvips once per process; later instances share it.
  VipsPictureImaging();

  std::variant<PreparedPicture, std::string> Prepare(const std::string& source, const std::string& thumbnail_path,
                                                     const std::string& display_path,
                                                     const ImagingSettings& settings) override;

  // Gives libvips's own worker threads the cores that the callers leave over, so the
  // two pools together keep every core busy without crowding it.
  void PlanWorkers(int workers) override;
};

}  // namespace quorvale
