#include "vips/vips_picture_imaging.h"

#include <mutex>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/path.h"
#include "platform/program_folder.h"
#include "platform/shared_module.h"

namespace quorvale {
namespace {

constexpr const char* kModuleName = QUORVALE_VIPS_MODULE_NAME;
constexpr const char* kFactoryName = "quorvale_create_vips_imaging";

// Where the module is: beside the executable (a build tree, an installed Windows
// program), or in the library folder of the installation the executable belongs to.
std::vector<std::string> ModuleCandidates() {
  const std::string folder = ExecutableFolder();
  if (folder.empty()) return {kModuleName};
  std::vector<std::string> candidates = {JoinPath(folder, kModuleName)};
  if (std::string_view(QUORVALE_MODULE_DIR_FROM_BIN) != ".") {
    candidates.push_back(JoinPath(JoinPath(folder, QUORVALE_MODULE_DIR_FROM_BIN), kModuleName));
  }
  return candidates;
}

}  // namespace

struct VipsPictureImaging::Engine {
  std::once_flag loaded;
  std::unique_ptr<PictureImaging> imaging;
  std::string failure;

  void Load() {
    std::string reasons;
    for (const std::string& candidate : ModuleCandidates()) {
      auto found = LoadModuleFunction(candidate, kFactoryName);
      if (auto* reason = std::get_if<std::string>(&found)) {
        reasons += (reasons.empty() ? "" : "; ") + *reason;
        continue;
      }
      using Factory = PictureImaging* (*)();
      imaging.reset(reinterpret_cast<Factory>(std::get<void*>(found))());
      return;
    }
    failure = "the imaging module could not be loaded: " + reasons;
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
