#include "platform/shared_module.h"

#include <dlfcn.h>

namespace quorvale {
namespace {

std::string LastLoaderError(const char* fallback) {
  const char* reason = dlerror();
  return reason != nullptr ? std::string(reason) : std::string(fallback);
}

}  // namespace

std::variant<void*, std::string> LoadModuleFunction(const std::string& path, const char* name) {
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) return LastLoaderError("cannot be loaded");
  void* function = dlsym(module, name);
  if (function == nullptr) return path + ": no function " + name;
  return function;
}

}  // namespace quorvale
