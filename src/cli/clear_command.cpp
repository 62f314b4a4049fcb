#include <iostream>
#include <string>
#include <vector>

#include "cli/command_registry.h"
#include "cli/terminal_dialogs.h"
#include "generate/clear_publishing_directory.h"
#include "platform/clock.h"

namespace quorvale::cli {
namespace {

constexpr const char* kUsage = "clear DIR [--yes]";

int RunClear(const std::vector<std::string>& args) {
  bool yes = false;
  std::vector<std::string> folders;
  for (const std::string& arg : args) {
    if (arg == "--yes") {
      yes = true;
    } else if (arg.size() > 2 && arg.starts_with("--")) {
      std::cerr << "quorvale-cli clear: unknown option '" << arg << "'\nUsage: quorvale-cli " << kUsage << "\n";
      return kExitCannotRun;
    } else {
      folders.push_back(arg);
    }
  }
  if (folders.size() != 1) {
    std::cerr << "Usage: quorvale-cli " << kUsage << "\n";
    return kExitCannotRun;
  }

  TerminalDialogs dialogs(std::cin, std::cerr,
                          yes ? TerminalDialogs::Questions::kAnswerYes : TerminalDialogs::Questions::kAsk,
                          StandardInputIsTerminal());
  const SystemClock clock;
  switch (ClearPublishingDirectory(folders.front(), dialogs, clock)) {
    case ClearOutcome::kCleared:
      return kExitOk;
    case ClearOutcome::kDeclined:
    case ClearOutcome::kFailed:
      return kExitProblems;
    case ClearOutcome::kCouldNotRun:
      break;
  }
  return kExitCannotRun;
}

const CommandRegistrar kRegisterClear({
    "clear",
    kUsage,
    "Delete what generation put into a Publishing Directory (asks first).",
    "Deletes the PhotoAlbum folder of DIR with everything in it and, when DIR holds\n"
    "PhotoAlbum.htm, every .htm page directly in DIR; then appends the purge entry to\n"
    "DIR/Generation_Log.txt. The images folder, the log and every other file stay.\n"
    "Symbolic links are removed as links; what they point to is never deleted. A\n"
    "read-only file stops the deletion.\n\n"
    "The desktop program's questions are asked here as y/n. Without a terminal to\n"
    "answer at they are declined and nothing is deleted.\n\n"
    "  --yes   answer OK and Yes to every question\n\n"
    "Exit status: 0 cleared; 1 declined, or a deletion failed (what was deleted stays\n"
    "deleted); 2 DIR is empty or names no existing folder, or bad usage.\n",
    &RunClear,
});

}  // namespace
}  // namespace quorvale::cli
