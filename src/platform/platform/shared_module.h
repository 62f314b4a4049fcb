#pragma once

#include <string>
#include <variant>

namespace quorvale {

// Loads the shared library at `path` for the rest of the process (it is never
// unloaded) and looks up its function `name`. Returns the function's address, or the
// reason it could not be had.
std::variant<void*, std::string> LoadModuleFunction(const std::string& path, const char* name);

}  // namespace quorvale
