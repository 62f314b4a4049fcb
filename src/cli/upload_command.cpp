// quorvale-cli upload PROJECT: copies the generated site to a server or a folder.
#include <iostream>
#include <memory>

#include "cli/command.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "upload/folder_transfer.h"
#include "upload/site_upload.h"
#ifdef QUORVALE_HAS_SFTP
#include "transfer/curl_transfer.h"
#endif

namespace quorvale::cli {
namespace {

constexpr const char* kHelp =
    "Uploads the site that the last finished generation wrote into the project's\n"
    "Publishing Directory: only the files the server does not already have with the same\n"
    "content, the pages after the pictures they show and the home page last, each file\n"
    "whole under its name. A file is deleted on the server only when an earlier upload put\n"
    "it there and the site no longer has it; a file of the same name that no upload put\n"
    "there is kept and reported. PhotoAlbum/.quorvale-site on the server records what the\n"
    "uploads sent, so an upload cut short is finished by the next one.\n"
    "\n"
    "  PROJECT             a project file (.qs1)\n"
    "  --to ADDRESS        sftp://USER@HOST[:PORT]/PATH (PATH starting with ~ is below the\n"
    "                      user's home), or a folder of this computer; default: the\n"
    "                      project's upload address\n"
    "  --trust-new-host    trust a server whose key ~/.ssh/known_hosts does not hold yet\n"
    "                      (its fingerprint is printed; it is added there)\n"
    "  --help              this text\n"
    "\n"
    "SFTP signs in with the SSH agent or ~/.ssh/id_ed25519, id_ecdsa or id_rsa; no\n"
    "password is asked for or stored. A server whose key changed is refused.\n"
    "\n"
    "Exit status: 0 uploaded without errors, every file of the site on the server; 1\n"
    "uploaded with errors or files kept, or stopped part way; 2 nothing was uploaded (bad\n"
    "usage, a refused project, no finished site, no address, the server not reached).\n";

class UploadCommand final : public Command {
 public:
  UploadCommand() : Command("upload", "upload PROJECT [--to ADDRESS] [--trust-new-host]",
                            "Upload the generated site to a server (SFTP) or a folder.", kHelp) {
    Positionals("one PROJECT", 1, 1, &project_);
    Option("--to", "an address", &to_);
    Flag("--trust-new-host", &trust_new_host_);
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
    if (destination.starts_with("sftp://")) {
#ifdef QUORVALE_HAS_SFTP
      const auto address = ParseServerAddress(destination);
      if (const auto* problem = std::get_if<std::string>(&address)) {
        Complain(*problem);
        return nullptr;
      }
      const bool trust = trust_new_host_;
      return std::make_unique<CurlTransfer>(std::get<ServerAddress>(address),
                                            [trust](const std::string& host, const std::string& fingerprint) {
                                              std::cerr << "The key of " << host << " is new to this computer: "
                                                        << fingerprint << "\n";
                                              if (!trust) std::cerr << "Check it, then upload with --trust-new-host.\n";
                                              return trust;
                                            });
#else
      Complain("this build of quorvale-cli has no SFTP: upload to a folder instead");
      return nullptr;
#endif
    }
    if (destination.find("://") != std::string::npos) {
      Complain("\"" + destination + "\": only sftp:// addresses and folders can be uploaded to");
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
};

const Registered<UploadCommand> kRegistered;

}  // namespace
}  // namespace quorvale::cli
