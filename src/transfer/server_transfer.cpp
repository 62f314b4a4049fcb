#include "transfer/server_transfer.h"

#include <utility>

#include "platform/program_module.h"

namespace quorvale {

std::variant<std::unique_ptr<Transfer>, std::string> MakeServerTransfer(ServerAddress address,
                                                                        TrustNewHost trust_new_host,
                                                                        AskPassword ask_password) {
  auto found = ProgramModuleFunction(QUORVALE_CURL_MODULE_NAME, "quorvale_create_curl_transfer");
  if (auto* reasons = std::get_if<std::string>(&found)) return "the upload module could not be loaded: " + *reasons;
  using Factory = Transfer* (*)(ServerAddress&, TrustNewHost&, AskPassword&);
  const auto create = reinterpret_cast<Factory>(std::get<void*>(found));
  return std::unique_ptr<Transfer>(create(address, trust_new_host, ask_password));
}

}  // namespace quorvale
