#pragma once

#include <optional>
#include <string>

#include "imaging/picture_metadata.h"

namespace quorvale {

// The PictureMetadataReader port on libexiv2, in the imaging module: the caption and
// date fields of JPEG, PNG, WebP, TIFF, HEIF and AVIF files (and the other formats
// libexiv2 reads), read without decoding any pixel. The Exif and XMP of a HEIF or AVIF
// file are read from its metadata items when libexiv2 does not find them.
class Exiv2PictureMetadata final : public PictureMetadataReader {
 public:
  std::optional<PictureMetadata> Read(const std::string& path) override;
};

}  // namespace quorvale
