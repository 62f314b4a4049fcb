#include "upload/server_address.h"

#include <array>
#include <cctype>
#include <cstdlib>
#include <string_view>

namespace quorvale {
namespace {

struct SchemeName {
  std::string_view prefix;
  ServerScheme scheme;
  int default_port;
};
constexpr std::array<SchemeName, 3> kSchemes{{
    {"sftp://", ServerScheme::kSftp, 22},
    {"ftps://", ServerScheme::kFtps, 21},  // explicit TLS on the FTP port, not the old port 990
    {"ftp://", ServerScheme::kFtp, 21},
}};

const SchemeName* SchemeOf(const std::string& text) {
  for (const SchemeName& name : kSchemes) {
    if (text.starts_with(name.prefix)) return &name;
  }
  return nullptr;
}

}  // namespace

bool IsServerAddress(const std::string& text) { return SchemeOf(text) != nullptr; }

std::variant<ServerAddress, std::string> ParseServerAddress(const std::string& text) {
  const SchemeName* scheme = SchemeOf(text);
  if (!scheme) return "\"" + text + "\" is no sftp://, ftps:// or ftp:// address";
  const std::string rest = text.substr(scheme->prefix.size());
  const std::size_t slash = rest.find('/');
  const std::string authority = rest.substr(0, slash);
  ServerAddress address;
  address.scheme = scheme->scheme;
  address.port = scheme->default_port;
  address.path = slash == std::string::npos ? "/" : rest.substr(slash);
  const std::string form = std::string(scheme->prefix) + "USER@HOST/PATH";
  const std::size_t at = authority.rfind('@');
  if (at == std::string::npos || at == 0) return "\"" + text + "\" names no user (" + form + ")";
  address.user = authority.substr(0, at);
  // The address is shown in messages: the refusal must not repeat the password.
  if (address.user.find(':') != std::string::npos) {
    return "the address holds a password after the user name: leave it out, it is asked for when the upload starts";
  }
  const std::string host_port = authority.substr(at + 1);
  // The port's text after the host: an IPv6 address is written in brackets.
  std::size_t port_colon = std::string::npos;
  if (host_port.starts_with('[')) {
    const std::size_t close = host_port.find(']');
    if (close == std::string::npos || (close + 1 < host_port.size() && host_port[close + 1] != ':')) {
      return "\"" + text + "\" names no host";
    }
    address.host = host_port.substr(1, close - 1);
    if (close + 1 < host_port.size()) port_colon = close + 1;
  } else {
    port_colon = host_port.rfind(':');
    address.host = host_port.substr(0, port_colon);
  }
  if (port_colon != std::string::npos) {
    const std::string port = host_port.substr(port_colon + 1);
    char* end = nullptr;
    const long number = std::strtol(port.c_str(), &end, 10);
    if (port.empty() || !std::isdigit(static_cast<unsigned char>(port.front())) || *end != '\0' || number < 1 ||
        number > 65535) {
      return "\"" + port + "\" is no port number";
    }
    address.port = static_cast<int>(number);
  }
  if (address.host.empty()) return "\"" + text + "\" names no host";
  // A line end in a path would end an FTP command early and start another.
  if (address.path.find_first_of("\r\n") != std::string::npos) return "\"" + text + "\" holds a line end";
  while (address.path.size() > 1 && address.path.back() == '/') address.path.pop_back();
  return address;
}

}  // namespace quorvale
