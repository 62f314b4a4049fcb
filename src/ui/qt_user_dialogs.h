#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <string>

#include "platform/user_dialogs.h"

namespace quorvale::ui {

// The product's filter text "Description|*.a;*.b|Other|*.c" as Qt name filters
// ("Description (*.a *.b)", "Other (*.c)"). An empty text gives no filter.
QStringList NameFiltersFromProductFilter(const std::string& filter);

// The dialog port answered with real Qt dialogs, owned by the main window.
class QtUserDialogs final : public UserDialogs {
 public:
  // The window that owns the dialogs.
  void AttachWindow(QWidget* owner);

  Answer ShowMessage(const MessageRequest& request) override;
  std::optional<std::string> AskText(const InputRequest& request) override;
  std::optional<std::vector<std::string>> ChooseOpenFiles(const FileDialogRequest& request) override;
  std::optional<std::string> ChooseOpenFile(const FileDialogRequest& request) override;
  std::optional<std::string> ChooseSaveFile(const FileDialogRequest& request) override;
  std::optional<std::string> ChooseFolder(const std::string& title, const std::string& initial_folder) override;

 private:
  QPointer<QWidget> owner_;
};

}  // namespace quorvale::ui
