#include "vips/module_picture_metadata.h"

#include <variant>

#include "vips/imaging_module.h"

namespace quorvale {

ModulePictureMetadata::ModulePictureMetadata() = default;
ModulePictureMetadata::~ModulePictureMetadata() = default;

PictureMetadataReader* ModulePictureMetadata::Loaded() {
  std::call_once(loaded_, [this] {
    auto found = ImagingModuleFunction("quorvale_create_exiv2_metadata");
    if (auto* reason = std::get_if<std::string>(&found)) {
      failure_ = *reason;
      return;
    }
    using Factory = PictureMetadataReader* (*)();
    reader_.reset(reinterpret_cast<Factory>(std::get<void*>(found))());
  });
  return reader_.get();
}

std::optional<PictureMetadata> ModulePictureMetadata::Read(const std::string& path) {
  PictureMetadataReader* reader = Loaded();
  if (reader == nullptr) return std::nullopt;
  return reader->Read(path);
}

std::string ModulePictureMetadata::Failure() {
  Loaded();
  return failure_;
}

}  // namespace quorvale
