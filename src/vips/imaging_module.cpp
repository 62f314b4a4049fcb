#include "vips/imaging_module.h"

#include <string_view>
#include <vector>

#include "platform/path.h"
#include "platform/program_folder.h"
#include "platform/shared_module.h"

namespace quorvale {
namespace {

constexpr const char* kModuleName = QUORVALE_VIPS_MODULE_NAME;

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

std::variant<void*, std::string> ImagingModuleFunction(const char* name) {
  std::string reasons;
  for (const std::string& candidate : ModuleCandidates()) {
    auto found = LoadModuleFunction(candidate, name);
    if (std::holds_alternative<void*>(found)) return found;
    reasons += (reasons.empty() ? "" : "; ") + std::get<std::string>(found);
  }
  return "the imaging module could not be loaded: " + reasons;
}

}  // namespace quorvale
