#pragma once

#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "transfer/server_transfer.h"
#include "upload/server_address.h"
#include "upload/transfer.h"

namespace quorvale {

// A site on a server, through libcurl, keeping one connection for every file; a file is
// written under a temporary name and renamed into place. A password is asked for at
// most once and kept in memory for this transfer only.
// - SFTP (libssh2) signs in with the user's SSH agent or key files (~/.ssh/id_ed25519,
//   id_ecdsa or id_rsa), and with a password only when the server refuses them; it
//   checks the server's key against ~/.ssh/known_hosts (a changed key is refused).
// - FTPS turns TLS on before signing in (AUTH TLS) and checks the server's certificate
//   against the system's authorities, or those of the file QUORVALE_UPLOAD_CA_FILE
//   names; FTP sends everything unencrypted. Both sign in with a password.
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
  std::optional<TransferFailure> RemoveFolder(const std::string& path) override;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace quorvale
