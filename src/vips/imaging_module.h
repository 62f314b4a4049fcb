#pragma once

#include <string>
#include <variant>

namespace quorvale {

// Loads the imaging module (quorvale_vips: libvips and libexiv2), if it is not loaded
// yet, and looks up its entry point `name` (see ProgramModuleFunction). Returns the
// function's address, or the reason there is none.
std::variant<void*, std::string> ImagingModuleFunction(const char* name);

}  // namespace quorvale
