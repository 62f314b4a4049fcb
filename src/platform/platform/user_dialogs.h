#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorvale {

// The button sets of a message box. Enter presses OK or Yes, except in an OK and
// Cancel box: such a box confirms something that cannot be undone (Clear's deletion),
// so Enter there is Cancel.
enum class Buttons { kOk, kOkCancel, kYesNo };
enum class Icon { kNone, kCritical, kExclamation, kQuestion, kInformation };
enum class Answer { kOk, kCancel, kYes, kNo };

// The answer of a box the user declined: closed without a button, or asked where nobody
// can answer. An OK box has nothing else to answer; the others say Cancel or No.
Answer DeclinedAnswer(Buttons buttons);

struct MessageRequest {
  std::string text;
  std::string title;
  Buttons buttons = Buttons::kOk;
  Icon icon = Icon::kNone;
  bool operator==(const MessageRequest&) const = default;
};

struct InputRequest {
  std::string prompt;
  std::string title;
  std::string default_text;
  bool operator==(const InputRequest&) const = default;
};

// A file dialog as the commands describe it. The filter is the product's own text,
// "Description|*.a;*.b" (pairs separated by "|"); the window turns it into its
// toolkit's form.
struct FileDialogRequest {
  std::string title;
  std::string file_name;       // initial file name
  std::string default_ext;     // without the dot; empty for none
  std::string filter;
  std::string initial_folder;  // empty: the dialog opens where it was last
  bool confirm_overwrite = false;  // a save dialog asks before replacing a file
  bool confirm_create = false;     // a save dialog asks before accepting a new name
  bool operator==(const FileDialogRequest&) const = default;
};

// Everything the core asks of the user goes through this port. The window answers it
// with real dialogs, the command-line tool from its flags, the tests from a script.
// An empty optional is the user's Cancel.
class UserDialogs {
 public:
  virtual ~UserDialogs() = default;

  virtual Answer ShowMessage(const MessageRequest& request) = 0;
  // The one-line input box; Cancel gives nothing.
  virtual std::optional<std::string> AskText(const InputRequest& request) = 0;
  // Multi-selection open dialog: full paths in the order chosen.
  virtual std::optional<std::vector<std::string>> ChooseOpenFiles(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> ChooseOpenFile(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> ChooseSaveFile(const FileDialogRequest& request) = 0;
  // A folder picker starting in `initial_folder`.
  virtual std::optional<std::string> ChooseFolder(const std::string& title,
                                                  const std::string& initial_folder) = 0;
};

}  // namespace quorvale
