#include "upload/folder_transfer.h"

#include "platform/file_copy.h"
#include "platform/file_reading.h"
#include "platform/file_system.h"
#include "platform/folder_removal.h"
#include "platform/path.h"

namespace quorvale {
namespace {

// A manifest or page read back is small; a larger file is no file of ours.
constexpr std::uintmax_t kFetchLimit = 64 * 1024 * 1024;

}  // namespace

std::variant<std::string, TransferFailure> FolderTransfer::Target(const std::string& path, bool make) {
  std::string native = root_;
  std::size_t start = 0;
  while (true) {
    const std::size_t slash = path.find('/', start);
    const std::string name = path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    if (name.empty() || name == "." || name == "..") return TransferFailure{"\"" + path + "\" is no path below the site"};
    native = JoinPath(native, name);
    if (slash == std::string::npos) return native;
    if (make) {
      if (auto reason = CreateFolderBelow(root_, native)) return TransferFailure{*reason};
    }
    start = slash + 1;
  }
}

std::variant<std::optional<std::string>, TransferFailure> FolderTransfer::Fetch(const std::string& path) {
  const auto target = Target(path, false);
  if (const auto* failure = std::get_if<TransferFailure>(&target)) return *failure;
  const std::string& native = std::get<std::string>(target);
  std::string reason;
  auto bytes = ReadFileBelow(root_, native, kFetchLimit, &reason);
  // No file there (or a folder on the way missing) is no failure: there is nothing.
  if (!bytes && !reason.empty() && StampBelow(root_, native)) return TransferFailure{reason};
  return bytes;
}

std::optional<TransferFailure> FolderTransfer::PutBytes(std::string_view bytes, const std::string& path) {
  const auto target = Target(path, true);
  if (const auto* failure = std::get_if<TransferFailure>(&target)) return *failure;
  if (auto reason = WriteFileBelow(root_, std::get<std::string>(target), bytes)) return TransferFailure{*reason};
  return std::nullopt;
}

std::optional<TransferFailure> FolderTransfer::Remove(const std::string& path) {
  const auto target = Target(path, false);
  if (const auto* failure = std::get_if<TransferFailure>(&target)) return *failure;
  if (auto reason = RemoveFileBelow(root_, std::get<std::string>(target))) return TransferFailure{*reason};
  return std::nullopt;
}

std::optional<TransferFailure> FolderTransfer::RemoveFolder(const std::string& path) {
  const auto target = Target(path, false);
  if (const auto* failure = std::get_if<TransferFailure>(&target)) return *failure;
  if (auto reason = RemoveEmptyFolderBelow(root_, std::get<std::string>(target))) return TransferFailure{*reason};
  return std::nullopt;
}

}  // namespace quorvale
