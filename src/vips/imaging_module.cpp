#include "vips/imaging_module.h"

#include "platform/program_module.h"

namespace quorvale {

std::variant<void*, std::string> ImagingModuleFunction(const char* name) {
  auto found = ProgramModuleFunction(QUORVALE_VIPS_MODULE_NAME, name);
  if (auto* reasons = std::get_if<std::string>(&found)) return "the imaging module could not be loaded: " + *reasons;
  return found;
}

}  // namespace quorvale
