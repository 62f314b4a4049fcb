#include "cli/terminal_dialogs.h"

#include <iostream>
#include <istream>
#include <ostream>

#include <unistd.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <termios.h>
#endif

namespace quorvale::cli {

bool StandardInputIsTerminal() { return isatty(STDIN_FILENO) == 1; }

std::optional<std::string> AskHiddenLine(const std::string& prompt) {
  if (!StandardInputIsTerminal()) return std::nullopt;
  std::cerr << prompt << std::flush;
  // The terminal stops echoing while the line is typed, and echoes again after it,
  // however the reading ends.
#ifdef _WIN32
  const HANDLE console = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  const bool hidden = GetConsoleMode(console, &mode) && SetConsoleMode(console, mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
#else
  termios mode {};
  const bool hidden = tcgetattr(STDIN_FILENO, &mode) == 0 && [&] {
    termios quiet = mode;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    return tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
  }();
#endif
  std::string line;
  const bool read = static_cast<bool>(std::getline(std::cin, line));
  if (hidden) {
#ifdef _WIN32
    SetConsoleMode(console, mode);
#else
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &mode);
#endif
  }
  std::cerr << "\n";
  if (!read) return std::nullopt;
  if (line.ends_with('\r')) line.pop_back();
  return line;
}

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
