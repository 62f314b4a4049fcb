#include "window/upload_transfer.h"

#include "platform/file_system.h"
#include "upload/folder_transfer.h"

namespace quorvale {

std::variant<std::unique_ptr<Transfer>, std::string> TransferFor(const std::string& address,
                                                                  const ServerTransferFactory& servers,
                                                                  ServerQuestions questions) {
  if (address.find("://") != std::string::npos) {
    if (!servers) return std::string("this Quorvale reaches no server: upload to a folder instead");
    return servers(address, std::move(questions));
  }
  if (!FolderExists(address)) return "the folder " + address + " does not exist";
  return std::make_unique<FolderTransfer>(address);
}

std::variant<std::optional<std::string>, TransferFailure> WatchedTransfer::Fetch(const std::string& path) {
  auto outcome = inner_.Fetch(path);
  if (const auto* failure = std::get_if<TransferFailure>(&outcome)) Saw(*failure);
  return outcome;
}

std::optional<TransferFailure> WatchedTransfer::PutBytes(std::string_view bytes, const std::string& path) {
  auto failure = inner_.PutBytes(bytes, path);
  if (failure) Saw(*failure);
  return failure;
}

std::optional<TransferFailure> WatchedTransfer::Remove(const std::string& path) {
  auto failure = inner_.Remove(path);
  if (failure) Saw(*failure);
  return failure;
}

void WatchedTransfer::Saw(const TransferFailure& failure) {
  if (!failure_ || (failure.connection_lost && !failure_->connection_lost)) failure_ = failure;
}

}  // namespace quorvale
