#include "platform/program_folder.h"

#include <vector>

#include "platform/path.h"
#include "platform/windows/wide_text.h"

namespace quorvale {

std::string ExecutableFolder() {
  // The buffer grows until the whole name fits: a program folder may be a long path.
  std::vector<wchar_t> name(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return std::string();
    if (length < name.size()) return FolderOf(windows::Narrow(std::wstring_view(name.data(), length)));
    name.resize(name.size() * 2);
  }
}

// An installed copy keeps Applications and Projects beside the executable, like a
// build tree does.
std::string ProgramFolder() { return ExecutableFolder(); }

}  // namespace quorvale
