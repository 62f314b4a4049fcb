#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "upload/transfer.h"

namespace quorvale {

// Where an upload goes on a server: an address sftp://USER@HOST[:PORT]/PATH, split.
struct ServerAddress {
  std::string user;
  std::string host;
  int port = 22;
  std::string path;  // the site's folder on the server, "/" first; "/~/..." is below the user's home
};
// The server address `text` names, or why it names none.
std::variant<ServerAddress, std::string> ParseServerAddress(const std::string& text);

// A server's key that the user's known_hosts does not hold yet: true to trust it (it
// is added there), false to stop. `fingerprint` is "SHA256:" and the key's digest.
using TrustNewHost = std::function<bool(const std::string& host, const std::string& fingerprint)>;

// Asks the user for the password of the server's account: nothing when they decline.
using AskPassword = std::function<std::optional<std::string>()>;

// A site on an SFTP server, through libcurl and libssh2. Signs in with the user's SSH
// agent or key files (~/.ssh/id_ed25519, id_ecdsa or id_rsa), checks the server's key
// against ~/.ssh/known_hosts (a changed key is refused), and keeps one connection for
// every file. A file is written under a temporary name and renamed into place. When
// the server refuses the keys and a password may be asked for, it is asked for once
// and kept in memory for this transfer only.
class CurlTransfer final : public Transfer {
 public:
  CurlTransfer(ServerAddress address, TrustNewHost trust_new_host);
  ~CurlTransfer() override;
  CurlTransfer(const CurlTransfer&) = delete;
  CurlTransfer& operator=(const CurlTransfer&) = delete;

  // Where a password comes from when the server wants one; without it none is tried.
  void SetAskPassword(AskPassword ask_password);

  std::variant<std::optional<std::string>, TransferFailure> Fetch(const std::string& path) override;
  std::optional<TransferFailure> PutBytes(std::string_view bytes, const std::string& path) override;
  std::optional<TransferFailure> Remove(const std::string& path) override;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace quorvale
