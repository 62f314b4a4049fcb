#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "upload/server_address.h"
#include "upload/transfer.h"

namespace quorvale {

// A server's key that the user's known_hosts does not hold yet: true to trust it (it
// is added there), false to stop. `fingerprint` is "SHA256:" and the key's digest.
using TrustNewHost = std::function<bool(const std::string& host, const std::string& fingerprint)>;

// Asks the user for the password of the server's account: nothing when they decline.
using AskPassword = std::function<std::optional<std::string>()>;

// A transfer to the server at `address` through libcurl (see CurlTransfer), asking the
// user through `trust_new_host` and `ask_password`. libcurl and the libraries it brings
// are in a module, quorvale_curl, loaded with the first upload to a server: a program
// that uploads to no server starts without them. The reason when the module cannot be
// loaded.
std::variant<std::unique_ptr<Transfer>, std::string> MakeServerTransfer(ServerAddress address,
                                                                        TrustNewHost trust_new_host,
                                                                        AskPassword ask_password);

}  // namespace quorvale
