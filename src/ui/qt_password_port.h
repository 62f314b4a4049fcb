#pragma once

#include <QPointer>
#include <QWidget>

#include "window/password_port.h"

namespace quorvale::ui {

// The password port answered with a Qt dialog and, where the program was built with
// QtKeychain, the desktop's keyring (the Secret Service, KWallet, the Windows
// credential store); without it the dialog offers no "Remember".
class QtPasswordPort final : public PasswordPort {
 public:
  void AttachWindow(QWidget* owner) { owner_ = owner; }

  std::optional<PasswordAnswer> AskPassword(const PasswordRequest& request) override;
  bool KeyringAvailable() const override;
  std::optional<std::string> KeptPassword(const std::string& account) override;
  void KeepPassword(const std::string& account, const std::string& password) override;

 private:
  QPointer<QWidget> owner_;
};

}  // namespace quorvale::ui
