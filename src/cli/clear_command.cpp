// quorvale-cli clear DIR: the window's Clear button for a Publishing Directory.
#include <iostream>

#include "cli/command.h"
#include "cli/terminal_dialogs.h"
#include "generate/clear_publishing_directory.h"
#include "viewers/viewer_registry.h"
#include "platform/clock.h"

namespace quorvale::cli {
namespace {

class ClearCommand final : public Command {
 public:
  ClearCommand()
      : Command("clear", "clear DIR [--yes]", "Delete what generation put into a Publishing Directory (asks first).",
                "Deletes the PhotoAlbum folder of DIR with everything in it and, when DIR holds\n"
                "PhotoAlbum.htm, every .htm page directly in DIR; then appends the purge entry to\n"
                "DIR/Generation_Log.txt. The images folder, the log and every other file stay.\n"
                "Symbolic links are removed as links; what they point to is never deleted. A\n"
                "read-only file stops the deletion.\n\n"
                "The desktop program's questions are asked here as y/n. Without a terminal to\n"
                "answer at they are declined and nothing is deleted.\n\n"
                "  --yes   answer OK and Yes to every question\n\n"
                "Exit status: 0 cleared; 1 declined, or a deletion failed (what was deleted stays\n"
                "deleted); 2 DIR is empty or names no existing folder, or bad usage.\n") {
    Positionals("one DIR", 1, 1, &folder_);
    Flag("--yes", &yes_);
  }

 private:
  int Execute() override {
    TerminalDialogs dialogs(std::cin, std::cerr,
                            yes_ ? TerminalDialogs::Questions::kAnswerYes : TerminalDialogs::Questions::kAsk,
                            StandardInputIsTerminal());
    const SystemClock clock;
    switch (ClearPublishingDirectory(folder_.front(), dialogs, clock, OwnedByAnyViewer())) {
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

  std::vector<std::string> folder_;
  bool yes_ = false;
};

const Registered<ClearCommand> kClearRegistered;

}  // namespace
}  // namespace quorvale::cli
