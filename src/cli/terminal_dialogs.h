#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "platform/user_dialogs.h"

namespace quorvale::cli {

// The dialog port for the command line. A message box becomes its title and text on
// standard error. A question (OK/Cancel or Yes/No) is answered by --yes, or asked on
// the terminal as y/n; without a terminal and without --yes it is declined. File and
// input dialogs cannot be shown here and count as cancelled.
class TerminalDialogs : public UserDialogs {
 public:
  enum class Questions { kAsk, kAnswerYes };

  TerminalDialogs(std::istream& in, std::ostream& err, Questions questions, bool interactive);

  Answer ShowMessage(const MessageRequest& request) override;
  std::optional<std::string> AskText(const InputRequest& request) override;
  std::optional<std::vector<std::string>> ChooseOpenFiles(const FileDialogRequest& request) override;
  std::optional<std::string> ChooseOpenFile(const FileDialogRequest& request) override;
  std::optional<std::string> ChooseSaveFile(const FileDialogRequest& request) override;
  std::optional<std::string> ChooseFolder(const std::string& title, const std::string& initial_folder) override;

 private:
  std::istream& in_;
  std::ostream& err_;
  Questions questions_;
  bool interactive_;
};

// Whether standard input is a terminal someone can answer at.
bool StandardInputIsTerminal();

// A line typed at the terminal without showing it (a password), after `prompt` on
// standard error; nothing when standard input is no terminal or ends.
std::optional<std::string> AskHiddenLine(const std::string& prompt);

// CR LF line ends of the product's texts shown as the terminal's LF.
std::string ToTerminalText(const std::string& text);

}  // namespace quorvale::cli
