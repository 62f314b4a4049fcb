#pragma once

#include <string>

#include "upload/transfer.h"

namespace quorvale {

// A site copied to a folder of this computer (a mounted server share, a stick): the
// files are written through the contained writer below `root`, so no link in the target
// folder is followed.
class FolderTransfer final : public Transfer {
 public:
  explicit FolderTransfer(std::string root) : root_(std::move(root)) {}

  std::variant<std::optional<std::string>, TransferFailure> Fetch(const std::string& path) override;
  std::optional<TransferFailure> PutBytes(std::string_view bytes, const std::string& path) override;
  std::optional<TransferFailure> Remove(const std::string& path) override;
  std::optional<TransferFailure> RemoveFolder(const std::string& path) override;

 private:
  // The native path of `path` below the root, its folders made on the way when `make`.
  std::variant<std::string, TransferFailure> Target(const std::string& path, bool make);
  std::string root_;
};

}  // namespace quorvale
