#include "vips/vips_picture_imaging.h"

#include <mutex>
#include <string>
#include <variant>

#include "vips/imaging_module.h"

namespace quorvale {
namespace {

constexpr const char* kFactoryName = "quorvale_create_vips_imaging";

}  // namespace

struct VipsPictureImaging::Engine {
  std::once_flag loaded;
  std::unique_ptr<PictureImaging> imaging;
  std::string failure;

  void Load() {
    auto found = ImagingModuleFunction(kFactoryName);
    if (auto* reason = std::get_if<std::string>(&found)) {
      failure = *reason;
      return;
    }
    using Factory = PictureImaging* (*)();
    imaging.reset(reinterpret_cast<Factory>(std::get<void*>(found))());
  }
};

VipsPictureImaging::VipsPictureImaging() : engine_(std::make_unique<Engine>()) {}

// The module stays loaded: libvips keeps threads and state for the life of the process.
VipsPictureImaging::~VipsPictureImaging() = default;

VipsPictureImaging::Engine& VipsPictureImaging::Loaded() {
  std::call_once(engine_->loaded, [this] { engine_->Load(); });
  return *engine_;
}

std::variant<PreparedImages, std::string> VipsPictureImaging::Prepare(const std::string& source,
                                                                      const ImagingSettings& settings) {
  Engine& engine = Loaded();
  if (!engine.imaging) return engine.failure;
  return engine.imaging->Prepare(source, settings);
}

std::variant<CleanedOriginal, std::string> VipsPictureImaging::CleanOriginal(std::string_view source_bytes,
                                                                           bool keep_location) {
  Engine& engine = Loaded();
  if (!engine.imaging) return engine.failure;
  return engine.imaging->CleanOriginal(source_bytes, keep_location);
}

std::variant<StandInJpeg, std::string> VipsPictureImaging::MakeStandIn(const std::string& source) {
  Engine& engine = Loaded();
  if (!engine.imaging) return engine.failure;
  return engine.imaging->MakeStandIn(source);
}

std::variant<PreviewPicture, std::string> VipsPictureImaging::DecodePreview(const std::string& source, int box) {
  Engine& engine = Loaded();
  if (!engine.imaging) return engine.failure;
  return engine.imaging->DecodePreview(source, box);
}

void VipsPictureImaging::PlanWorkers(int workers) {
  Engine& engine = Loaded();
  if (engine.imaging) engine.imaging->PlanWorkers(workers);
}

}  // namespace quorvale
