#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "imaging/picture_metadata.h"

namespace quorvale {

// The PictureMetadataReader port for the programs: libexiv2's reader in the imaging
// module, which is loaded with the first picture read. Without the module (a build for
// a target without libvips and libexiv2) every read gives nothing, and Failure() says why.
class ModulePictureMetadata final : public PictureMetadataReader {
 public:
  ModulePictureMetadata();
  ~ModulePictureMetadata() override;

  std::optional<PictureMetadata> Read(const std::string& path) override;
  // Why no picture can be read: empty while the module has not been asked for or is loaded.
  std::string Failure();

 private:
  PictureMetadataReader* Loaded();

  std::once_flag loaded_;
  std::unique_ptr<PictureMetadataReader> reader_;
  std::string failure_;
};

}  // namespace quorvale
