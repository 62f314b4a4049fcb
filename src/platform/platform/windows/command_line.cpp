#include "platform/command_line.h"

// shellapi.h needs the types of windows.h first.
#include <windows.h>

#include <shellapi.h>

#include "platform/windows/wide_text.h"

namespace quorvale {

std::vector<std::string> ProgramArguments(int, char**) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  if (wide == nullptr) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(windows::Narrow(wide[i]));
  LocalFree(wide);
  return arguments;
}

void UseUtf8ConsoleOutput() { SetConsoleOutputCP(CP_UTF8); }

}  // namespace quorvale
