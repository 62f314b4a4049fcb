#pragma once

#include <optional>
#include <string>

namespace quorvale {

struct PasswordRequest {
  std::string prompt;
  std::string title;
  bool offer_remember = false;  // a "Remember" tick, where a desktop keyring can keep it
  bool operator==(const PasswordRequest&) const = default;
};

struct PasswordAnswer {
  std::string password;
  bool remember = false;
};

// The password dialog and the desktop keyring, as the window offers them. A password
// lives in memory for the session and, when the user asks, in the keyring: never in the
// project, the log or the transcript.
class PasswordPort {
 public:
  virtual ~PasswordPort() = default;
  // The dialog; Cancel gives nothing.
  virtual std::optional<PasswordAnswer> AskPassword(const PasswordRequest& request) = 0;
  virtual bool KeyringAvailable() const = 0;
  // The keyring's password for `account`, if it keeps one.
  virtual std::optional<std::string> KeptPassword(const std::string& account) = 0;
  virtual void KeepPassword(const std::string& account, const std::string& password) = 0;
};

}  // namespace quorvale
