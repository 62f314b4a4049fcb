#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/clock.h"
#include "upload/site_upload.h"
#include "window/password_port.h"
#include "window/run_controller.h"
#include "window/upload_runner.h"
#include "window/upload_transfer.h"
#include "window/window_state.h"

namespace quorvale {

// Upload from the window: sends the site the last run wrote to the address of the
// Generate page, reporting in the run's caption, status box and progress bar, asking
// the server's questions (a new key, a password) on the window's thread, and ending
// with a message box that gives the counts or says why the upload could not go on.
class UploadController {
 public:
  UploadController(WindowState& state, const Clock& clock, RunController& run)
      : state_(state), clock_(clock), run_(run) {}
  // An upload still going is stopped and waited for.
  ~UploadController();
  UploadController(const UploadController&) = delete;
  UploadController& operator=(const UploadController&) = delete;

  // How the program reaches servers; without it only folders can be uploaded to.
  void SetServerTransfers(ServerTransferFactory servers) { servers_ = std::move(servers); }
  // The password dialog and keyring; without them a server that wants a password gets none.
  void SetPasswordPort(PasswordPort* passwords) { passwords_ = passwords; }
  // Lets uploads go on a worker thread: `post` queues a task on the window's thread.
  // Without it (or with an empty one, which also stops an upload still going) an upload
  // keeps the calling thread until it ends.
  void RunUploadsInBackground(UploadRunner::Post post);

  // btnUpload.
  void UploadCommand();
  // btnCancelGeneration and Escape during an upload: it stops after the file in hand.
  void CancelUpload();

  bool UploadRunning() const { return state_.upload_running; }
  // btnUpload: an address is set, the Publishing Directory holds a finished site, and
  // neither a run nor an upload goes on.
  bool UploadEnabled() const;

 private:
  // What one upload learnt on the way, read when it has ended.
  struct Attempt {
    std::string refused;  // why the address gives no transfer
    std::optional<TransferFailure> failure;
    bool password_given = false;
  };

  // The upload itself, on the worker when there is one; `ask` reaches the window's thread.
  UploadRunner::Work UploadWork(const std::string& address, std::shared_ptr<Attempt> attempt);
  bool TrustNewHost(const std::string& host, const std::string& fingerprint);
  std::optional<std::string> Password(const std::string& address, Attempt& attempt);
  void FinishUpload(const std::string& address, const UploadResult& result, const Attempt& attempt);

  WindowState& state_;
  const Clock& clock_;
  RunController& run_;
  ServerTransferFactory servers_;
  PasswordPort* passwords_ = nullptr;
  std::map<std::string, std::string> session_passwords_;  // by account, until the program ends
  // The last upload that gave a password reached no file: the password kept may be the
  // wrong one, so the next is asked of the user.
  bool password_refused_ = false;
  std::unique_ptr<UploadRunner> runner_;
};

}  // namespace quorvale
