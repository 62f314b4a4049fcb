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

  bool Ftp() const { return address.scheme != ServerScheme::kSftp; }

  // "scheme://host:port", an IPv6 host in brackets.
  std::string Server() const {
    const std::string host = address.host.find(':') != std::string::npos ? "[" + address.host + "]" : address.host;
    return (Ftp() ? "ftp://" : "sftp://") + host + ":" + std::to_string(address.port);
  }
  // The folder an FTP session starts in: commands sent before any CWD run there.
  std::string LoginUrl() const { return Server() + "/"; }
  // An FTP command ends at a line end: a name holding one is not sent at all.
  std::optional<TransferFailure> Unsendable(const std::string& path) const {
    if (!Ftp() || path.find_first_of("\r\n") == std::string::npos) return std::nullopt;
    return TransferFailure{"\"" + path + "\" holds a line end, which FTP cannot send"};
  }

  // The server path of `path` below the site, as quote commands take it: "/~/" is the
  // folder the session starts in.
  std::string ServerPath(const std::string& path) const {
    std::string full = address.path == "/" ? "/" + path : address.path + "/" + path;
    if (full.starts_with("/~/")) full.erase(0, 3);
    return full;
  }
  std::string Url(const std::string& path) const {
    if (!Ftp()) return Server() + EncodePath((address.path == "/" ? "" : address.path) + "/" + path);
    // An FTP address's path starts in the folder the session starts in; "%2F" makes it
    // start at the server's root.
    const std::string full = ServerPath(path);
    return LoginUrl() + (full.starts_with('/') ? "%2F" + EncodePath(full.substr(1)) : EncodePath(full));
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
    // A server that stops answering in the middle of a file counts as gone.
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, 30L);
    if (password) curl_easy_setopt(curl, CURLOPT_PASSWORD, password->c_str());
    if (Ftp()) {
      if (address.scheme == ServerScheme::kFtps) {
        // TLS before the user name and password, and for every file: the server's
        // certificate is checked against the system's authorities (or the ones
        // QUORVALE_UPLOAD_CA_FILE names), and there is no switch to skip the check.
        curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
        if (const char* authorities = std::getenv("QUORVALE_UPLOAD_CA_FILE"); authorities && *authorities) {
          curl_easy_setopt(curl, CURLOPT_CAINFO, authorities);
        }
      }
      return;
    }
    long auth_types = CURLSSH_AUTH_PUBLICKEY | CURLSSH_AUTH_AGENT;
    if (password) auth_types |= CURLSSH_AUTH_PASSWORD;
    curl_easy_setopt(curl, CURLOPT_SSH_AUTH_TYPES, auth_types);
    curl_easy_setopt(curl, CURLOPT_SSH_KNOWNHOSTS, known_hosts.c_str());
    curl_easy_setopt(curl, CURLOPT_SSH_KEYFUNCTION, &State::KeyCheck);
    curl_easy_setopt(curl, CURLOPT_SSH_KEYDATA, this);
    if (!key_file.empty()) {
      curl_easy_setopt(curl, CURLOPT_SSH_PRIVATE_KEYFILE, key_file.c_str());
      curl_easy_setopt(curl, CURLOPT_SSH_PUBLIC_KEYFILE, "");  // worked out from the private key
    }
  }

  // Runs one request: `options` sets what it does on a fresh handle. FTP always signs
  // in with a password, asked for before the first request; SFTP asks for one only when
  // the server refuses the keys, and then the request goes again with it.
  std::optional<TransferFailure> Run(const std::function<void()>& options) {
    if (Ftp() && !password) {
      if (!password_asked && ask_password) {
        password_asked = true;
        password = ask_password();
      }
      if (!password) return TransferFailure{"no password was given for " + address.user + " on " + address.host};
    }
    Begin();
    options();
    CURLcode code = curl_easy_perform(curl);
    if (code == CURLE_LOGIN_DENIED && !Ftp() && !password_asked && ask_password) {
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
    const std::string detail = error[0] != '\0' ? error : curl_easy_strerror(code);
    if (!host_key_problem.empty()) {
      failure.reason = host_key_problem;
    } else if (code == CURLE_LOGIN_DENIED) {
      failure.reason = address.host + " refused to sign in " + address.user +
                       (password ? ": wrong user name or password" : " with this computer's SSH keys") + " (" + detail + ")";
    } else if (code == CURLE_PEER_FAILED_VERIFICATION) {
      failure.reason = "the certificate of " + address.host + " is not one this computer trusts (" + detail +
                       "): nothing was sent to it";
    } else if (code == CURLE_USE_SSL_FAILED) {
      failure.reason = address.host + " offers no TLS (it refused AUTH TLS): nothing was sent to it";
    } else {
      failure.reason = detail;
      failure.connection_lost = code == CURLE_COULDNT_CONNECT || code == CURLE_SEND_ERROR || code == CURLE_RECV_ERROR ||
                                code == CURLE_OPERATION_TIMEDOUT || code == CURLE_GOT_NOTHING || code == CURLE_SSH ||
                                code == CURLE_PARTIAL_FILE;
    }
    return failure;
  }

  // Runs `command` on the server on its own, in the folder the session starts in.
  std::optional<TransferFailure> Quote(const std::string& command) {
    curl_slist* commands = curl_slist_append(nullptr, command.c_str());
    auto failure = Run([&] {
      curl_easy_setopt(curl, CURLOPT_URL, (Ftp() ? LoginUrl() : Url("")).c_str());
      curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
      curl_easy_setopt(curl, CURLOPT_QUOTE, commands);
    });
    curl_slist_free_all(commands);
    return failure;
  }

  // A command on `path` in the server's language.
  std::string Command(const char* sftp, const char* ftp, const std::string& path) const {
    return Ftp() ? std::string(ftp) + " " + path : std::string(sftp) + " " + Quoted(path);
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
  if (state.Ftp()) {
    // FTP asks for the size first: a file that is not there costs no data connection.
    if (const auto failure = state.Run([&] {
          curl_easy_setopt(state.curl, CURLOPT_URL, state.Url(path).c_str());
          curl_easy_setopt(state.curl, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
          curl_easy_setopt(state.curl, CURLOPT_NOBODY, 1L);
        })) {
      if (state.last == CURLE_REMOTE_FILE_NOT_FOUND) return std::optional<std::string>();
      return *failure;
    }
  }
  std::string bytes;
  const auto failure = state.Run([&] {
    bytes.clear();
    curl_easy_setopt(state.curl, CURLOPT_URL, state.Url(path).c_str());
    // One RETR of the whole path: a missing folder is a missing file, not a failed CWD.
    curl_easy_setopt(state.curl, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
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
  if (auto refused = state.Unsendable(path)) return refused;
  const std::string temporary = path + kTemporarySuffix;
  struct Reader {
    std::string_view rest;
  } reader{bytes};
  curl_slist* commands = nullptr;
  if (state.Ftp()) {
    // The session is in the file's folder after the upload; the rename replaces the
    // old file in one step.
    const std::string name = path.substr(path.rfind('/') + 1);
    commands = curl_slist_append(commands, ("RNFR " + name + kTemporarySuffix).c_str());
    commands = curl_slist_append(commands, ("RNTO " + name).c_str());
  } else {
    // The SFTP server's rename does not replace a file: the old one goes first ("*": its
    // absence is no failure), then the new one takes its name.
    commands = curl_slist_append(commands, ("*rm " + Quoted(state.ServerPath(path))).c_str());
    commands = curl_slist_append(
        commands, ("rename " + Quoted(state.ServerPath(temporary)) + " " + Quoted(state.ServerPath(path))).c_str());
  }
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
  if (auto refused = state_->Unsendable(path)) return refused;
  auto failure = state_->Quote(state_->Command("rm", "DELE", state_->ServerPath(path)));
  if (failure && !failure->connection_lost) {
    // A file that is not there any more is what was asked for.
    const auto there = Fetch(path);
    if (const auto* bytes = std::get_if<std::optional<std::string>>(&there); bytes && !*bytes) return std::nullopt;
  }
  return failure;
}

std::optional<TransferFailure> CurlTransfer::RemoveFolder(const std::string& path) {
  if (auto refused = state_->Unsendable(path)) return refused;
  return state_->Quote(state_->Command("rmdir", "RMD", state_->ServerPath(path)));
}

}  // namespace quorvale

// The module's one entry point: a new transfer, owned by the caller.
extern "C" __attribute__((visibility("default"))) quorvale::Transfer* quorvale_create_curl_transfer(
    quorvale::ServerAddress& address, quorvale::TrustNewHost& trust_new_host, quorvale::AskPassword& ask_password) {
  auto* transfer = new quorvale::CurlTransfer(std::move(address), std::move(trust_new_host));
  transfer->SetAskPassword(std::move(ask_password));
  return transfer;
}
