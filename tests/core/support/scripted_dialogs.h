#pragma once

#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "platform/clock.h"
#include "platform/user_dialogs.h"

namespace quorvale::testing {

// A UserDialogs that records every box and dialog and answers from a script. A call
// that the script does not expect fails the test loudly (it throws).
class ScriptedDialogs : public UserDialogs {
 public:
  // What the dialogs were asked, in order.
  std::vector<MessageRequest> messages;
  std::vector<InputRequest> inputs;
  std::vector<FileDialogRequest> file_dialogs;
  std::vector<std::string> folder_dialog_titles;
  std::vector<std::string> folder_dialog_starts;

  // Answers, taken front first.
  std::deque<Answer> answers;                                   // for message boxes other than OK-only
  std::deque<std::optional<std::string>> texts;                 // input boxes; nullopt = Cancel
  std::deque<std::optional<std::vector<std::string>>> files;    // multi-selection open dialogs
  std::deque<std::optional<std::string>> paths;                 // open, save and folder dialogs

  Answer ShowMessage(const MessageRequest& request) override {
    messages.push_back(request);
    if (request.buttons == Buttons::kOk) return Answer::kOk;
    return Take(answers, "message box answer");
  }
  std::optional<std::string> AskText(const InputRequest& request) override {
    inputs.push_back(request);
    return Take(texts, "input box answer");
  }
  std::optional<std::vector<std::string>> ChooseOpenFiles(const FileDialogRequest& request) override {
    file_dialogs.push_back(request);
    return Take(files, "open-files answer");
  }
  std::optional<std::string> ChooseOpenFile(const FileDialogRequest& request) override {
    file_dialogs.push_back(request);
    return Take(paths, "open-file answer");
  }
  std::optional<std::string> ChooseSaveFile(const FileDialogRequest& request) override {
    file_dialogs.push_back(request);
    return Take(paths, "save-file answer");
  }
  std::optional<std::string> ChooseFolder(const std::string& title, const std::string& initial_folder) override {
    folder_dialog_titles.push_back(title);
    folder_dialog_starts.push_back(initial_folder);
    return Take(paths, "folder answer");
  }

 private:
  template <typename T>
  static T Take(std::deque<T>& queue, const char* what) {
    if (queue.empty()) throw std::logic_error(std::string("unexpected dialog: no scripted ") + what);
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
  }
};

// A clock that always tells the same time.
class FixedClock : public Clock {
 public:
  explicit FixedClock(std::string text = "12/5/2026 6:15:42 AM", std::string iso = "2026-12-05 06:15")
      : text_(std::move(text)), iso_(std::move(iso)) {}
  std::string NowText() const override { return text_; }
  std::string NowIsoText() const override { return iso_; }

 private:
  std::string text_;
  std::string iso_;
};

}  // namespace quorvale::testing
