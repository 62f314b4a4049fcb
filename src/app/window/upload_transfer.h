#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "upload/transfer.h"

namespace quorvale {

// What a server asks of the user while an upload signs in. The answers come from the
// window's thread; the upload waits for them.
struct ServerQuestions {
  // A server key this computer has not seen: true to trust it from now on.
  std::function<bool(const std::string& host, const std::string& fingerprint)> trust_new_host;
  // The server wants a password (the key and agent did not do, or the protocol has no
  // keys); nothing when the user gives none. Asked again when the last one was refused.
  std::function<std::optional<std::string>()> ask_password;
};

// The program's transfer to a server address (a scheme such as sftp://), or why it has
// none; built where a network library is, and handed in by the program.
using ServerTransferFactory =
    std::function<std::variant<std::unique_ptr<Transfer>, std::string>(const std::string& address, ServerQuestions questions)>;

// The transfer the upload address names: a server's through `servers` (which may be
// empty: this program reaches no server), a folder of this computer through the
// contained writer; or why the address names none.
std::variant<std::unique_ptr<Transfer>, std::string> TransferFor(const std::string& address,
                                                                  const ServerTransferFactory& servers,
                                                                  ServerQuestions questions);

// A transfer that keeps the failure that tells the user best why an upload went wrong:
// the first one that lost the connection, else the first one of all.
class WatchedTransfer final : public Transfer {
 public:
  explicit WatchedTransfer(Transfer& inner) : inner_(inner) {}

  std::variant<std::optional<std::string>, TransferFailure> Fetch(const std::string& path) override;
  std::optional<TransferFailure> PutBytes(std::string_view bytes, const std::string& path) override;
  std::optional<TransferFailure> Remove(const std::string& path) override;
  // Passed on unwatched: a folder that still holds something is refused by design.
  std::optional<TransferFailure> RemoveFolder(const std::string& path) override { return inner_.RemoveFolder(path); }

  const std::optional<TransferFailure>& Failure() const { return failure_; }

 private:
  void Saw(const TransferFailure& failure);

  Transfer& inner_;
  std::optional<TransferFailure> failure_;
};

}  // namespace quorvale
