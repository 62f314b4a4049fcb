#include "platform/program_module.h"

#include <string_view>
#include <vector>

#include "platform/path.h"
#include "platform/program_folder.h"
#include "platform/shared_module.h"

namespace quorvale {
namespace {

std::vector<std::string> ModuleCandidates(const std::string& file) {
  const std::string folder = ExecutableFolder();
  if (folder.empty()) return {file};
  std::vector<std::string> candidates = {JoinPath(folder, file)};
  if (std::string_view(QUORVALE_MODULE_DIR_FROM_BIN) != ".") {
    candidates.push_back(JoinPath(JoinPath(folder, QUORVALE_MODULE_DIR_FROM_BIN), file));
  }
  return candidates;
}

}  // namespace

std::variant<void*, std::string> ProgramModuleFunction(const std::string& file, const char* name) {
  std::string reasons;
  for (const std::string& candidate : ModuleCandidates(file)) {
    auto found = LoadModuleFunction(candidate, name);
    if (std::holds_alternative<void*>(found)) return found;
    reasons += (reasons.empty() ? "" : "; ") + std::get<std::string>(found);
  }
  return reasons;
}

}  // namespace quorvale
