#include "platform/shared_module.h"

#include "platform/windows/wide_text.h"

namespace quorvale {

std::variant<void*, std::string> LoadModuleFunction(const std::string& path, const char* name) {
  // The module's own folder is searched for the libraries it needs, not the program's
  // working folder.
  const HMODULE module = LoadLibraryExW(windows::SystemPath(path).c_str(), nullptr,
                                        LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
  if (module == nullptr) return path + ": " + windows::LastErrorText();
  const FARPROC function = GetProcAddress(module, name);
  if (function == nullptr) return path + ": no function " + name;
  return reinterpret_cast<void*>(function);
}

}  // namespace quorvale
