#include "imaging/vips_picture_imaging.h"

#include <filesystem>
#include <mutex>
#include <string>
#include <system_error>
#include <vector>

#include <dlfcn.h>

namespace quorvale {
namespace {

constexpr const char* kModuleName = "quorvale_vips.so";
constexpr const char* kFactoryName = "quorvale_create_vips_imaging";

// Where the module is: beside the executable (a build tree), or in the library folder
// of the installation the executable belongs to.
std::vector<std::filesystem::path> ModuleCandidates() {
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {kModuleName};
  const std::filesystem::path folder = executable.parent_path();
  return {folder / kModuleName, folder / QUORVALE_MODULE_DIR_FROM_BIN / kModuleName};
}

}  // namespace

struct VipsPictureImaging::Engine {
  std::once_flag loaded;
  void* handle = nullptr;
  std::unique_ptr<PictureImaging> imaging;
  std::string failure;

  void Load() {
    std::string reasons;
    for (const std::filesystem::path& candidate : ModuleCandidates()) {
      handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
      if (handle != nullptr) break;
      if (const char* reason = dlerror()) reasons += (reasons.empty() ? "" : "; ") + std::string(reason);
    }
    if (handle == nullptr) {
      failure = "the imaging module could not be loaded: " + reasons;
      return;
    }
    using Factory = PictureImaging* (*)();
    const auto factory = reinterpret_cast<Factory>(dlsym(handle, kFactoryName));
    if (factory == nullptr) {
      failure = "the imaging module has no entry point";
      return;
    }
    imaging.reset(factory());
  }
};

VipsPictureImaging::VipsPictureImaging() : engine_(std::make_unique<Engine>()) {}

// The module stays loaded: libvips keeps threads and state for the life of the process.
VipsPictureImaging::~VipsPictureImaging() = default;

VipsPictureImaging::Engine& VipsPictureImaging::Loaded() {
  std::call_once(engine_->loaded, [this] { engine_->Load(); });
  return *engine_;
}

std::variant<PreparedPicture, std::string> VipsPictureImaging::Prepare(const std::string& source,
                                                                       const std::string& thumbnail_path,
                                                                       const std::string& display_path,
                                                                       const ImagingSettings& settings) {
  Engine& engine = Loaded();
  if (!engine.imaging) return engine.failure;
  return engine.imaging->Prepare(source, thumbnail_path, display_path, settings);
}

void VipsPictureImaging::PlanWorkers(int workers) {
  Engine& engine = Loaded();
  if (engine.imaging) engine.imaging->PlanWorkers(workers);
}

}  // namespace quorvale
