#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace quorvale {

// Why a transfer failed: the server's or the system's reason, and whether the
// connection itself is gone (a later call may succeed after reconnecting) rather than
// the one file refused.
struct TransferFailure {
  std::string reason;
  bool connection_lost = false;
};

// One place a site is copied to: a folder on a server, or a local folder. Paths are
// relative to it, with "/" between names. Every file arrives whole: it is written under
// a temporary name and renamed into place, so a visitor never loads half a page.
class Transfer {
 public:
  virtual ~Transfer() = default;
  // The bytes of file `path`, or nothing when there is none.
  virtual std::variant<std::optional<std::string>, TransferFailure> Fetch(const std::string& path) = 0;
  // Puts `bytes` at `path`, making the folders on the way.
  virtual std::optional<TransferFailure> PutBytes(std::string_view bytes, const std::string& path) = 0;
  // Deletes file `path`; one that is not there is no failure.
  virtual std::optional<TransferFailure> Remove(const std::string& path) = 0;
  // Deletes folder `path` when it is empty; one that holds anything stays, and that is
  // a failure.
  virtual std::optional<TransferFailure> RemoveFolder(const std::string& path) = 0;
};

}  // namespace quorvale
