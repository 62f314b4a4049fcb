#pragma once

#include <string>
#include <variant>

namespace quorvale {

// Loads the imaging module (quorvale_vips: libvips and libexiv2), if it is not loaded
// yet, and looks up its entry point `name`. The module is beside the executable (a
// build tree, an installed Windows program) or in the library folder of the
// installation the executable belongs to. Returns the function's address, or the reason
// there is none.
std::variant<void*, std::string> ImagingModuleFunction(const char* name);

}  // namespace quorvale
