#pragma once

#include <string>
#include <variant>

namespace quorvale {

// Loads the program's module `file` (a shared library the programs load on first use,
// such as quorvale_vips.so), if it is not loaded yet, and looks up its function `name`.
// The module is beside the executable (a build tree, an installed Windows program) or
// in the module folder of the installation the executable belongs to. Returns the
// function's address, or the reasons each place gave.
std::variant<void*, std::string> ProgramModuleFunction(const std::string& file, const char* name);

}  // namespace quorvale
