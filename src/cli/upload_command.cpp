// quorvale-cli upload PROJECT: copies the generated site to a server or a folder.
#include <cstdlib>
#include <iostream>
#include <memory>

#include "cli/command.h"
#include "cli/terminal_dialogs.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "upload/folder_transfer.h"
#include "upload/server_address.h"
#include "upload/site_upload.h"
#ifdef QUORVALE_HAS_SFTP
#include "transfer/server_transfer.h"
#endif

namespace quorvale::cli {
namespace {

constexpr const char* kUploadHelp =
    "Uploads the site that the last finished generation wrote into the project's\n"
    "Publishing Directory: only the files the server does not already have with the same\n"
    "content, the pages after the pictures they show and the home page last, each file\n"
    "whole under its name. A file is deleted on the server only when an earlier upload put\n"
    "it there and the site no longer has it, and a folder only when that left it empty; a\n"
    "file of the same name that no upload put there is kept and reported.\n"
    "PhotoAlbum/.quorvale-site on the server records what the uploads sent, so an upload\n"
    "cut short is finished by the next one; a lost connection is tried again after 1, 2\n"
    "and 4 seconds.\n"
    "\n"
    "  PROJECT             a project file (.qs1)\n"
    "  --to ADDRESS        sftp://USER@HOST[:PORT]/PATH, ftps://USER@HOST[:PORT]/PATH,\n"
    "                      ftp://USER@HOST[:PORT]/PATH (PATH starting with ~ is below the\n"
    "                      user's home folder), or a folder of this computer; default: the\n"
    "                      project's upload address. Never a password.\n"
    "  --trust-new-host    trust a server whose key ~/.ssh/known_hosts does not hold yet\n"
    "                      (its fingerprint is printed; it is added there)\n"
    "  --allow-plain-ftp   upload to an ftp:// address, whose password and files travel\n"
    "                      unencrypted\n"
    "  --help              this text\n"
    "\n"
    "SFTP (port 22) signs in with the SSH agent or ~/.ssh/id_ed25519, id_ecdsa or id_rsa,\n"
    "and with a password only when the server refuses them; a server whose key changed is\n"
    "refused. FTPS (port 21) turns on TLS before signing in (AUTH TLS) and accepts only a\n"
    "certificate that the system's certificate authorities vouch for; there is no switch\n"
    "to skip that check. FTP (port 21) encrypts nothing.\n"
    "\n"
    "The password is never stored. It is taken from the environment variable\n"
    "QUORVALE_UPLOAD_PASSWORD when that is set, and otherwise asked for on the terminal,\n"
    "without showing what is typed.\n"
    "\n"
    "Environment:\n"
    "  QUORVALE_UPLOAD_PASSWORD  the password of the server's account\n"
    "  QUORVALE_UPLOAD_CA_FILE   a file of certificate authorities (PEM) that FTPS trusts\n"
    "                            instead of the system's, for a server with its own\n"
    "\n"
    "Exit status: 0 uploaded without errors, every file of the site on the server; 1\n"
    "uploaded with errors or files kept, or stopped part way; 2 nothing was uploaded (bad\n"
    "usage, a refused project, no finished site, no address, the server not reached or\n"
    "refusing the sign-in).\n";

#ifdef QUORVALE_HAS_SFTP
// The password for the server: the environment's, or typed at the terminal.
std::optional<std::string> UploadPassword(const ServerAddress& address) {
  if (const char* password = std::getenv("QUORVALE_UPLOAD_PASSWORD"); password && *password) return password;
  return AskHiddenLine("Password for " + address.user + " on " + address.host + ": ");
}
#endif

class UploadCommand final : public Command {
 public:
  UploadCommand()
      : Command("upload", "upload PROJECT [--to ADDRESS] [--trust-new-host] [--allow-plain-ftp]",
                "Upload the generated site to a server (SFTP, FTPS, FTP) or a folder.", kUploadHelp) {
    Positionals("one PROJECT", 1, 1, &project_);
    Option("--to", "an address", &to_);
    Flag("--trust-new-host", &trust_new_host_);
    Flag("--allow-plain-ftp", &allow_plain_ftp_);
  }

 private:
  int Execute() override {
    const auto loaded = LoadProject(project_.front());
    if (!loaded) return kExitCannotRun;
    const std::string destination = to_.value_or(loaded->settings.UploadAddress);
    if (destination.empty()) {
      Complain("the project has no upload address: give one with --to");
      return kExitCannotRun;
    }
    const std::unique_ptr<Transfer> transfer = TransferTo(destination);
    if (!transfer) return kExitCannotRun;

    const SystemClock clock;
    const UploadJob job{loaded->settings.PublishDirectory, destination, &clock};
    UploadEvents events;
    events.line = [](const std::string& line) { std::cout << line << "\n" << std::flush; };
    const UploadResult result = UploadSite(job, *transfer, events);
    const UploadCounts& counts = result.counts;
    switch (result.outcome) {
      case UploadOutcome::kNoSite:
        return kExitCannotRun;
      case UploadOutcome::kConnectionLost:
        return counts.uploaded == 0 && counts.unchanged == 0 ? kExitCannotRun : kExitProblems;
      case UploadOutcome::kStopped:
        return kExitProblems;
      case UploadOutcome::kCompleted:
        break;
    }
    return counts.errors == 0 && counts.kept == 0 ? kExitOk : kExitProblems;
  }

  std::unique_ptr<Transfer> TransferTo(const std::string& destination) const {
    if (IsServerAddress(destination)) {
      const auto parsed = ParseServerAddress(destination);
      if (const auto* problem = std::get_if<std::string>(&parsed)) {
        Complain(*problem);
        return nullptr;
      }
      const auto& address = std::get<ServerAddress>(parsed);
      if (address.scheme == ServerScheme::kFtp) {
        if (!allow_plain_ftp_) {
          Complain(std::string(kPlainFtpWarning) + " To upload all the same, add --allow-plain-ftp");
          return nullptr;
        }
        std::cerr << "WARNING: " << kPlainFtpWarning << "\n";
      }
#ifdef QUORVALE_HAS_SFTP
      const bool trust = trust_new_host_;
      auto transfer = MakeServerTransfer(
          address,
          [trust](const std::string& host, const std::string& fingerprint) {
            std::cerr << "The key of " << host << " is new to this computer: " << fingerprint << "\n";
            if (!trust) std::cerr << "Check it, then upload with --trust-new-host.\n";
            return trust;
          },
          [address] { return UploadPassword(address); });
      if (auto* reason = std::get_if<std::string>(&transfer)) {
        Complain(*reason);
        return nullptr;
      }
      return std::move(std::get<std::unique_ptr<Transfer>>(transfer));
#else
      Complain("this build of quorvale-cli uploads to folders only");
      return nullptr;
#endif
    }
    if (destination.find("://") != std::string::npos) {
      Complain("\"" + destination + "\": only sftp://, ftps:// and ftp:// addresses and folders can be uploaded to");
      return nullptr;
    }
    if (!FolderExists(destination)) {
      Complain("the folder " + destination + " does not exist");
      return nullptr;
    }
    return std::make_unique<FolderTransfer>(destination);
  }

  std::vector<std::string> project_;
  std::optional<std::string> to_;
  bool trust_new_host_ = false;
  bool allow_plain_ftp_ = false;
};

const Registered<UploadCommand> kUploadRegistered;

}  // namespace
}  // namespace quorvale::cli
