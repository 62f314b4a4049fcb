#include "window/upload_controller.h"

#include <utility>

#include "layout/site_layout.h"
#include "platform/file_system.h"
#include "platform/product.h"

namespace quorvale {
namespace {

constexpr const char* kUploadCaption = "Upload";

std::string NewHostQuestion(const std::string& host, const std::string& fingerprint) {
  return "The server " + host + " is new to this computer. Its key's fingerprint is\n\n" + fingerprint +
         "\n\nCompare it with the fingerprint your web host gives you: a different one means someone is in "
         "between. Trust this key and upload?";
}

std::string CountsLines(const UploadCounts& counts) {
  return "Uploaded: " + std::to_string(counts.uploaded) + "\nUnchanged: " + std::to_string(counts.unchanged) +
         "\nDeleted: " + std::to_string(counts.deleted) + "\nKept: " + std::to_string(counts.kept) +
         "\nErrors: " + std::to_string(counts.errors);
}

// The part of an address a password belongs to: the scheme, user, host and port,
// whatever folder on the server the site goes to.
std::string Account(const std::string& address) {
  const std::size_t scheme = address.find("://");
  const std::size_t path = address.find('/', scheme == std::string::npos ? 0 : scheme + 3);
  return address.substr(0, path);
}

}  // namespace

UploadController::~UploadController() = default;

void UploadController::RunUploadsInBackground(UploadRunner::Post post) {
  runner_.reset();  // an upload still going is stopped first
  state_.upload_running = false;
  if (post) runner_ = std::make_unique<UploadRunner>(std::move(post));
}

bool UploadController::UploadEnabled() const {
  const ProjectSettings& settings = state_.settings;
  return !settings.UploadAddress.empty() && !settings.PublishDirectory.empty() && !state_.generation_running &&
         !state_.upload_running && FileExists(SiteManifestPath(settings.PublishDirectory));
}

UploadRunner::Work UploadController::UploadWork(const std::string& address, std::shared_ptr<Attempt> attempt) {
  UploadJob job{state_.settings.PublishDirectory, address, &clock_};
  return [this, job = std::move(job), servers = servers_, attempt](const UploadEvents& events,
                                                                  const UploadRunner::OnWindowThread& ask,
                                                                  std::stop_token stop) {
    ServerQuestions questions;
    questions.trust_new_host = [this, &ask](const std::string& host, const std::string& fingerprint) {
      bool trusted = false;
      ask([&] { trusted = TrustNewHost(host, fingerprint); });
      return trusted;
    };
    questions.ask_password = [this, &ask, &job, &attempt] {
      std::optional<std::string> password;
      ask([&] { password = Password(job.destination, *attempt); });
      return password;
    };
    auto transfer = TransferFor(job.destination, servers, std::move(questions));
    if (auto* refused = std::get_if<std::string>(&transfer)) {
      if (events.line) events.line("ERROR: Quorvale cannot upload to " + job.destination + ": " + *refused + ".");
      attempt->refused = std::move(*refused);
      return UploadResult{UploadOutcome::kConnectionLost, {}};
    }
    WatchedTransfer watched(*std::get<std::unique_ptr<Transfer>>(transfer));
    UploadResult result = UploadSite(job, watched, events, std::move(stop));
    attempt->failure = watched.Failure();
    return result;
  };
}

void UploadController::UploadCommand() {
  if (!UploadEnabled()) return;
  const std::string address = state_.settings.UploadAddress;
  auto attempt = std::make_shared<Attempt>();
  UploadRunner::Work work = UploadWork(address, attempt);
  UploadEvents events;
  events.line = [this](const std::string& line) { run_.AppendStatusLine(line); };
  events.progress = [this](std::size_t done, std::size_t total) { run_.ShowFileProgress(done, total); };

  state_.upload_running = true;
  run_.BeginOtherTask("Uploading to " + address + " ...");
  state_.Notify();  // the view disables what must wait for the upload
  if (!runner_) {
    const UploadResult result = work(events, [](std::function<void()> task) { task(); }, {});
    FinishUpload(address, result, *attempt);
    return;
  }
  runner_->Start(std::move(work), std::move(events),
                 [this, address, attempt](const UploadResult& result) { FinishUpload(address, result, *attempt); });
}

void UploadController::CancelUpload() {
  if (state_.upload_running && runner_) runner_->RequestStop();
}

bool UploadController::TrustNewHost(const std::string& host, const std::string& fingerprint) {
  return state_.Message(NewHostQuestion(host, fingerprint), kUploadCaption, Buttons::kYesNo, Icon::kQuestion) ==
         Answer::kYes;
}

std::optional<std::string> UploadController::Password(const std::string& address, Attempt& attempt) {
  if (!passwords_) return std::nullopt;
  const std::string account = Account(address);
  attempt.password_given = true;
  // The password of this session or the keyring's is tried first, unless the last one
  // given got no file through.
  if (!password_refused_) {
    if (const auto known = session_passwords_.find(account); known != session_passwords_.end()) return known->second;
    if (passwords_->KeyringAvailable()) {
      if (auto kept = passwords_->KeptPassword(account)) return kept;
    }
  }
  session_passwords_.erase(account);
  const PasswordRequest request{"The server of " + account + " asks for a password.", WindowTitle(kUploadCaption),
                                passwords_->KeyringAvailable()};
  const auto answer = passwords_->AskPassword(request);
  if (!answer) return std::nullopt;
  session_passwords_[account] = answer->password;
  if (answer->remember && request.offer_remember) passwords_->KeepPassword(account, answer->password);
  return answer->password;
}

void UploadController::FinishUpload(const std::string& address, const UploadResult& result, const Attempt& attempt) {
  state_.upload_running = false;
  const UploadCounts& counts = result.counts;
  if (attempt.password_given) {
    password_refused_ = result.outcome == UploadOutcome::kConnectionLost && counts.uploaded == 0 &&
                        counts.unchanged == 0 && counts.kept == 0;
  }
  std::string text;
  Icon icon = Icon::kInformation;
  if (!attempt.refused.empty()) {
    run_.EndOtherTask("Upload failed");
    text = "Quorvale cannot upload to " + address + ": " + attempt.refused + ".";
    icon = Icon::kCritical;
  } else {
    switch (result.outcome) {
      case UploadOutcome::kNoSite:
        run_.EndOtherTask("Upload failed");
        text = state_.settings.PublishDirectory + " holds no finished site: generate the albums, then upload them.";
        icon = Icon::kExclamation;
        break;
      case UploadOutcome::kConnectionLost:
        run_.EndOtherTask("Upload failed");
        text = "The upload to " + address + " could not go on: " +
               (attempt.failure ? attempt.failure->reason : std::string("the server went away")) + ".";
        // Counts and a later resumption only mean something once a file got through.
        if (counts.uploaded + counts.unchanged + counts.kept > 0) {
          text += "\n\n" + CountsLines(counts) + "\n\nThe next upload goes on from where this one stopped.";
        }
        icon = Icon::kCritical;
        break;
      case UploadOutcome::kStopped:
        run_.EndOtherTask("Upload stopped");
        text = "The upload to " + address + " was stopped.\n\n" + CountsLines(counts) +
               "\n\nThe next upload goes on from where this one stopped.";
        break;
      case UploadOutcome::kCompleted:
        run_.EndOtherTask("Upload completed");
        if (counts.errors == 0 && counts.kept == 0) {
          text = "The site is uploaded to " + address + ".\n\n" + CountsLines(counts);
        } else {
          text = "The upload to " + address + " is finished, with problems.\n\n" + CountsLines(counts);
          if (attempt.failure) text += "\n\nThe first error: " + attempt.failure->reason + ".";
          text += "\n\nThe Generation Status box names each file.";
          icon = Icon::kExclamation;
        }
        break;
    }
  }
  state_.Notify();
  state_.Message(text, kUploadCaption, Buttons::kOk, icon);
}

}  // namespace quorvale
