#include "cli/terminal_dialogs.h"

#include <istream>
#include <ostream>

#include <unistd.h>

namespace quorvale::cli {

bool StandardInputIsTerminal() { return isatty(STDIN_FILENO) == 1; }

std::string ToTerminalText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

TerminalDialogs::TerminalDialogs(std::istream& in, std::ostream& err, Questions questions, bool interactive)
    : in_(in), err_(err), questions_(questions), interactive_(interactive) {}

Answer TerminalDialogs::ShowMessage(const MessageRequest& request) {
  err_ << request.title << "\n" << ToTerminalText(request.text) << "\n";
  if (request.buttons == Buttons::kOk) return Answer::kOk;
  const Answer yes = request.buttons == Buttons::kYesNo ? Answer::kYes : Answer::kOk;
  const Answer no = DeclinedAnswer(request.buttons);
  if (questions_ == Questions::kAnswerYes) {
    err_ << "(answered yes by --yes)\n";
    return yes;
  }
  if (!interactive_) {
    err_ << "(no terminal to answer at: declined; pass --yes to agree)\n";
    return no;
  }
  for (;;) {
    err_ << "[y/n] " << std::flush;
    std::string line;
    if (!std::getline(in_, line)) return no;
    if (!line.empty() && line.back() == '\r') line.pop_back();  // a Windows console's line end
    if (line == "y" || line == "Y" || line == "yes") return yes;
    if (line == "n" || line == "N" || line == "no") return no;
  }
}

std::optional<std::string> TerminalDialogs::AskText(const InputRequest&) { return std::nullopt; }
std::optional<std::vector<std::string>> TerminalDialogs::ChooseOpenFiles(const FileDialogRequest&) {
  return std::nullopt;
}
std::optional<std::string> TerminalDialogs::ChooseOpenFile(const FileDialogRequest&) { return std::nullopt; }
std::optional<std::string> TerminalDialogs::ChooseSaveFile(const FileDialogRequest&) { return std::nullopt; }
std::optional<std::string> TerminalDialogs::ChooseFolder(const std::string&, const std::string&) {
  return std::nullopt;
}

}  // namespace quorvale::cli
