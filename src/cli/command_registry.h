#pragma once

#include <functional>
#include <string>
#include <vector>

namespace quorvale::cli {

// Exit statuses shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitProblems = 1;   // ran, but with errors, warnings or a refusal by the user
inline constexpr int kExitCannotRun = 2;  // bad usage, refused project, missing folder

struct CliCommand {
  std::string name;
  std::string usage;    // one line: "generate PROJECT [--publish-dir DIR]"
  std::string summary;  // one sentence for the tool's --help
  std::string help;     // the command's own --help text
  std::function<int(const std::vector<std::string>& args)> run;
};

// Each command file registers its command through a static CommandRegistrar.
const std::vector<CliCommand>& RegisteredCommands();

struct CommandRegistrar {
  explicit CommandRegistrar(CliCommand command);
};

}  // namespace quorvale::cli
