#include "platform/command_line.h"

namespace quorvale {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

void UseUtf8ConsoleOutput() {}

}  // namespace quorvale
