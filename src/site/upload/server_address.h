#pragma once

#include <string>
#include <variant>

namespace quorvale {

// How an upload reaches a server: SFTP over SSH, FTP made private with TLS before the
// user signs in (AUTH TLS), or plain FTP, where the password travels unencrypted.
enum class ServerScheme { kSftp, kFtps, kFtp };

// Where an upload goes on a server: an address SCHEME://USER@HOST[:PORT]/PATH, split.
// It never holds a password.
struct ServerAddress {
  ServerScheme scheme = ServerScheme::kSftp;
  std::string user;
  std::string host;  // an IPv6 address without its brackets
  int port = 22;
  std::string path;  // the site's folder on the server, "/" first; "/~/..." is below the user's home
  bool operator==(const ServerAddress&) const = default;
};

// The text a user is shown before an upload over plain FTP is allowed.
inline constexpr const char* kPlainFtpWarning =
    "ftp:// sends the password and every file unencrypted: anyone on the way can read them. "
    "Use ftps:// or sftp:// where the server offers them.";

// Whether `text` is a server address at all (it names one of the schemes), rather than a
// folder of this computer.
bool IsServerAddress(const std::string& text);

// The server address `text` names, or why it names none. A password in it is refused:
// it would end up in the project, the log and the transcript.
std::variant<ServerAddress, std::string> ParseServerAddress(const std::string& text);

}  // namespace quorvale
