#pragma once

#include <memory>
#include <string>
#include <variant>

#include "imaging/picture_imaging.h"

namespace quorvale {

// The PictureImaging port on libvips, for the programs: JPEGs decoded with
// shrink-on-load, one decode per picture for both images, turned upright, in sRGB,
// without metadata (but the GPS position when it is kept), encoded in memory; and the
// originals published for download cleaned of identifying metadata with libexiv2. A
// picture too large to decode (over 200 megapixels, or a GIF frame over 50) is refused
// before anything of it is decoded. Both live in a module
// (quorvale_vips.so) that is loaded with the first picture that needs work, so a run
// whose images are all up to date starts as fast as one without any. When the module
// cannot be loaded, every picture fails with the loader's reason.
class VipsPictureImaging final : public PictureImaging {
 public:
  VipsPictureImaging();
  ~VipsPictureImaging() override;

  std::variant<PreparedImages, std::string> Prepare(const std::string& source,
                                                    const ImagingSettings& settings) override;
  // The published original's metadata, on libexiv2 in the same module.
  std::variant<CleanedOriginal, std::string> CleanOriginal(std::string_view source_bytes,
                                                           bool keep_location) override;
  std::variant<StandInJpeg, std::string> MakeStandIn(const std::string& source) override;
  std::variant<PreviewPicture, std::string> DecodePreview(const std::string& source, int box) override;
  // Gives libvips's own worker threads the cores that the callers leave over.
  void PlanWorkers(int workers) override;

 private:
  struct Engine;
  // The loaded engine, or the reason there is none.
  Engine& Loaded();
  std::unique_ptr<Engine> engine_;
};

}  // namespace quorvale
