#include "transfer/curl_transfer.h"

#include <curl/curl.h>
#include <openssl/evp.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <mutex>

namespace quorvale {
namespace {

constexpr const char* kTemporarySuffix = ".quorvale-part";

void InitialiseCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// Letters, digits and -._~/ stay; every other byte is %XX.
std::string EncodePath(const std::string& path) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string encoded;
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) || c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
      encoded += c;
    } else {
      encoded += '%';
      encoded += kDigits[byte >> 4];
      encoded += kDigits[byte & 0xF];
    }
  }
  return encoded;
}

// A path as a quote command takes it, in double quotes.
std::string Quoted(const std::string& path) {
  std::string quoted = "\"";
  for (const char c : path) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

// OpenSSH's way of showing a key: its SHA-256 digest in base64 without padding.
std::string Fingerprint(const curl_khkey* key) {
  std::string raw;
  if (key->len > 0) {
    raw.assign(key->key, key->len);
  } else {
    const std::string text(key->key);
    raw.resize(text.size());
    const int length = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(raw.data()),
                                       reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
    raw.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  }
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int digest_length = 0;
  EVP_Digest(raw.data(), raw.size(), digest, &digest_length, EVP_sha256(), nullptr);
  std::string text(4 * ((digest_length + 2) / 3) + 1, '\0');
  const int written = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()), digest, static_cast<int>(digest_length));
  text.resize(static_cast<std::size_t>(written));
  while (!text.empty() && text.back() == '=') text.pop_back();
  return "SHA256:" + text;
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  return home ? home : "";
}

}  // namespace

std::variant<ServerAddress, std::string> ParseServerAddress(const std::string& text) {
  constexpr std::string_view kScheme = "sftp://";
  if (!text.starts_with(kScheme)) return "\"" + text + "\" is no sftp:// address";
  const std::string rest = text.substr(kScheme.size());
  const std::size_t slash = rest.find('/');
  const std::string authority = rest.substr(0, slash);
  ServerAddress address;
  address.path = slash == std::string::npos ? "/" : rest.substr(slash);
  const std::size_t at = authority.rfind('@');
  if (at == std::string::npos || at == 0) return "\"" + text + "\" names no user (sftp://USER@HOST/PATH)";
  address.user = authority.substr(0, at);
  address.host = authority.substr(at + 1);
  if (const std::size_t colon = address.host.rfind(':'); colon != std::string::npos) {
    const std::string port = address.host.substr(colon + 1);
    address.host.resize(colon);
    char* end = nullptr;
    const long number = std::strtol(port.c_str(), &end, 10);
    if (port.empty() || *end != '\0' || number < 1 || number > 65535) return "\"" + port + "\" is no port number";
    address.port = static_cast<int>(number);
  }
  if (address.host.empty()) return "\"" + text + "\" names no host";
  while (address.path.size() > 1 && address.path.back() == '/') address.path.pop_back();
  return address;
}

struct CurlTransfer::State {
  ServerAddress address;
  TrustNewHost trust_new_host;
  AskPassword ask_password;
  std::optional<std::string> password;  // once given, for every later connection
  bool password_asked = false;          // the user is asked once per transfer
  CURL* curl = nullptr;
  std::string known_hosts;
  std::string key_file;
  std::string host_key_problem;
  char error[CURL_ERROR_SIZE] = {};
  CURLcode last = CURLE_OK;  // what the last transfer ended with

  // The server path of `path` below the site, as quote commands take it: "/~/" is the
  // folder the session starts in.
  std::string ServerPath(const std::string& path) const {
    std::string full = address.path == "/" ? "/" + path : address.path + "/" + path;
    if (full.starts_with("/~/")) full.erase(0, 3);
    return full;
  }
  std::string Url(const std::string& path) const {
    const std::string full = path.empty() ? address.path + "/" : (address.path == "/" ? "" : address.path) + "/" + path;
    return "sftp://" + address.host + ":" + std::to_string(address.port) + EncodePath(full);
  }

  static int KeyCheck(CURL*, const curl_khkey*, const curl_khkey* found, curl_khmatch match, void* data) {
    auto* state = static_cast<State*>(data);
    if (match == CURLKHMATCH_OK) return CURLKHSTAT_FINE;
    if (match == CURLKHMATCH_MISMATCH) {
      state->host_key_problem = "the key of " + state->address.host +
                                " is not the one it had before: refused. If the server's key was changed on purpose, "
                                "remove its line from " + state->known_hosts;
      return CURLKHSTAT_REJECT;
    }
    const std::string fingerprint = Fingerprint(found);
    if (state->trust_new_host && state->trust_new_host(state->address.host, fingerprint)) {
      return CURLKHSTAT_FINE_ADD_TO_FILE;
    }
    state->host_key_problem = "the key of " + state->address.host + " (" + fingerprint + ") is not trusted yet";
    return CURLKHSTAT_REJECT;
  }

  void Begin() {
    curl_easy_reset(curl);
    error[0] = '\0';
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 20L);
    curl_easy_setopt(curl, CURLOPT_USERNAME, address.user.c_str());
    long auth_types = CURLSSH_AUTH_PUBLICKEY | CURLSSH_AUTH_AGENT;
    if (password) {
      auth_types |= CURLSSH_AUTH_PASSWORD;
      curl_easy_setopt(curl, CURLOPT_PASSWORD, password->c_str());
    }
    curl_easy_setopt(curl, CURLOPT_SSH_AUTH_TYPES, auth_types);
    curl_easy_setopt(curl, CURLOPT_SSH_KNOWNHOSTS, known_hosts.c_str());
    curl_easy_setopt(curl, CURLOPT_SSH_KEYFUNCTION, &State::KeyCheck);
    curl_easy_setopt(curl, CURLOPT_SSH_KEYDATA, this);
    if (!key_file.empty()) {
      curl_easy_setopt(curl, CURLOPT_SSH_PRIVATE_KEYFILE, key_file.c_str());
      curl_easy_setopt(curl, CURLOPT_SSH_PUBLIC_KEYFILE, "");  // worked out from the private key
    }
  }

  // Runs one request: `options` sets what it does on a fresh handle. When the server
  // refuses the keys and no password was tried yet, the user is asked for one, and the
  // request goes again with it.
  std::optional<TransferFailure> Run(const std::function<void()>& options) {
    Begin();
    options();
    CURLcode code = curl_easy_perform(curl);
    if (code == CURLE_LOGIN_DENIED && !password_asked && ask_password) {
      password_asked = true;
      password = ask_password();
      if (password) {
        Begin();
        options();
        code = curl_easy_perform(curl);
      }
    }
    return Outcome(code);
  }

  std::optional<TransferFailure> Outcome(CURLcode code) {
    last = code;
    if (code == CURLE_OK) return std::nullopt;
    TransferFailure failure;
    if (!host_key_problem.empty()) {
      failure.reason = host_key_problem;
      return failure;
    }
    failure.reason = error[0] != '\0' ? error : curl_easy_strerror(code);
    failure.connection_lost = code == CURLE_COULDNT_CONNECT || code == CURLE_SEND_ERROR || code == CURLE_RECV_ERROR ||
                              code == CURLE_OPERATION_TIMEDOUT || code == CURLE_GOT_NOTHING || code == CURLE_SSH;
    return failure;
  }
};

CurlTransfer::CurlTransfer(ServerAddress address, TrustNewHost trust_new_host) : state_(std::make_unique<State>()) {
  InitialiseCurlOnce();
  state_->address = std::move(address);
  state_->trust_new_host = std::move(trust_new_host);
  state_->curl = curl_easy_init();
  const std::filesystem::path ssh = std::filesystem::path(HomeFolder()) / ".ssh";
  std::error_code error;
  if (std::filesystem::create_directories(ssh, error)) {
    std::filesystem::permissions(ssh, std::filesystem::perms::owner_all, error);
  }
  state_->known_hosts = (ssh / "known_hosts").string();
  for (const char* name : {"id_ed25519", "id_ecdsa", "id_rsa"}) {
    if (std::filesystem::exists(ssh / name, error)) {
      state_->key_file = (ssh / name).string();
      break;
    }
  }
}

CurlTransfer::~CurlTransfer() {
  if (state_->curl) curl_easy_cleanup(state_->curl);
  if (state_->password) std::fill(state_->password->begin(), state_->password->end(), '\0');
}

void CurlTransfer::SetAskPassword(AskPassword ask_password) { state_->ask_password = std::move(ask_password); }

std::variant<std::optional<std::string>, TransferFailure> CurlTransfer::Fetch(const std::string& path) {
  State& state = *state_;
  std::string bytes;
  const auto failure = state.Run([&] {
    bytes.clear();
    curl_easy_setopt(state.curl, CURLOPT_URL, state.Url(path).c_str());
    curl_easy_setopt(state.curl, CURLOPT_WRITEFUNCTION, +[](char* data, size_t size, size_t count, void* out) {
      static_cast<std::string*>(out)->append(data, size * count);
      return size * count;
    });
    curl_easy_setopt(state.curl, CURLOPT_WRITEDATA, &bytes);
  });
  if (failure) {
    if (state.last == CURLE_REMOTE_FILE_NOT_FOUND) return std::optional<std::string>();
    return *failure;
  }
  return std::optional<std::string>(std::move(bytes));
}

std::optional<TransferFailure> CurlTransfer::PutBytes(std::string_view bytes, const std::string& path) {
  State& state = *state_;
  const std::string temporary = path + kTemporarySuffix;
  struct Reader {
    std::string_view rest;
  } reader{bytes};
  // The server's rename does not replace a file: the old one goes first ("*": its
  // absence is no failure), then the new one takes its name.
  const std::string remove_old = "*rm " + Quoted(state.ServerPath(path));
  const std::string rename = "rename " + Quoted(state.ServerPath(temporary)) + " " + Quoted(state.ServerPath(path));
  curl_slist* commands = curl_slist_append(nullptr, remove_old.c_str());
  commands = curl_slist_append(commands, rename.c_str());
  auto failure = state.Run([&] {
    reader.rest = bytes;
    curl_easy_setopt(state.curl, CURLOPT_URL, state.Url(temporary).c_str());
    curl_easy_setopt(state.curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(state.curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(bytes.size()));
    curl_easy_setopt(state.curl, CURLOPT_FTP_CREATE_MISSING_DIRS, static_cast<long>(CURLFTP_CREATE_DIR_RETRY));
    curl_easy_setopt(state.curl, CURLOPT_READFUNCTION, +[](char* buffer, size_t size, size_t count, void* data) {
      auto* from = static_cast<Reader*>(data);
      const std::size_t length = std::min(size * count, from->rest.size());
      std::copy_n(from->rest.data(), length, buffer);
      from->rest.remove_prefix(length);
      return length;
    });
    curl_easy_setopt(state.curl, CURLOPT_READDATA, &reader);
    curl_easy_setopt(state.curl, CURLOPT_POSTQUOTE, commands);
  });
  curl_slist_free_all(commands);
  return failure;
}

std::optional<TransferFailure> CurlTransfer::Remove(const std::string& path) {
  State& state = *state_;
  const std::string command = "rm " + Quoted(state.ServerPath(path));
  curl_slist* commands = curl_slist_append(nullptr, command.c_str());
  auto failure = state.Run([&] {
    curl_easy_setopt(state.curl, CURLOPT_URL, state.Url("").c_str());
    curl_easy_setopt(state.curl, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(state.curl, CURLOPT_QUOTE, commands);
  });
  curl_slist_free_all(commands);
  if (failure && !failure->connection_lost) {
    // A file that is not there any more is what was asked for.
    const auto there = Fetch(path);
    if (const auto* bytes = std::get_if<std::optional<std::string>>(&there); bytes && !*bytes) return std::nullopt;
  }
  return failure;
}

}  // namespace quorvale
