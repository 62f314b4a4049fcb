// The upload from the window: the address setting, when Upload can be clicked, the
// server's questions and the box that ends every upload.
#include "window/upload_controller.h"

#include <future>
#include <mutex>
#include <thread>

#include "core/generate/generation_fixture.h"
#include "layout/site_layout.h"
#include "upload/folder_transfer.h"
#include "window/publishing_settings.h"

namespace quorvale::testing {
namespace {

using Messages = std::vector<MessageRequest>;

const std::string kPlainFtpQuestion =
    "An ftp:// address sends your password and every file of the site unencrypted: anyone on the way to the "
    "server can read them. Use an sftp:// or ftps:// address if the server offers one.\n\nUpload to this ftp:// "
    "address all the same?";

// A server that fails each call as told, and signs in only with `password` when one is
// set (asking for it once, as a server that refuses the user's keys makes the transfer do).
class FakeServer final : public Transfer {
 public:
  FakeServer(ServerQuestions questions, std::optional<TransferFailure> fetch_failure,
             std::optional<TransferFailure> put_failure, std::string password = "")
      : questions_(std::move(questions)), fetch_failure_(std::move(fetch_failure)),
        put_failure_(std::move(put_failure)), password_(std::move(password)) {}
  std::variant<std::optional<std::string>, TransferFailure> Fetch(const std::string&) override {
    if (!password_.empty() && !given_) given_ = questions_.ask_password();
    if (!password_.empty() && given_ != password_) return TransferFailure{"Login denied", false};
    if (fetch_failure_) return *fetch_failure_;
    return std::optional<std::string>();
  }
  std::optional<TransferFailure> PutBytes(std::string_view, const std::string&) override { return put_failure_; }
  std::optional<TransferFailure> Remove(const std::string&) override { return std::nullopt; }
  std::optional<TransferFailure> RemoveFolder(const std::string&) override { return std::nullopt; }

 private:
  ServerQuestions questions_;
  std::optional<TransferFailure> fetch_failure_, put_failure_;
  std::string password_;
  std::optional<std::string> given_;
};

// The password dialog and a keyring in memory; the dialog answers from a queue.
struct ScriptedPasswords final : PasswordPort {
  std::deque<std::optional<PasswordAnswer>> answers;
  std::vector<PasswordRequest> asked;
  std::map<std::string, std::string> keyring;
  std::optional<PasswordAnswer> AskPassword(const PasswordRequest& request) override {
    asked.push_back(request);
    if (answers.empty()) throw std::logic_error("unexpected password dialog");
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
  bool KeyringAvailable() const override { return true; }
  std::optional<std::string> KeptPassword(const std::string& account) override {
    const auto kept = keyring.find(account);
    return kept == keyring.end() ? std::nullopt : std::optional<std::string>(kept->second);
  }
  void KeepPassword(const std::string& account, const std::string& password) override { keyring[account] = password; }
};

class UploadWindowTest : public GenerationTest {
 protected:
  ScriptedDialogs window_dialogs_;
  WindowState state_{window_dialogs_};
  PublishingSettings publishing_{state_};
  RunController run_{state_, clock_};
  UploadController upload_{state_, clock_, run_};
};

TEST_F(UploadWindowTest, TheAddressIsAnUndoableSettingAndPlainFtpIsTakenOnlyAfterAYes) {
  struct Case {
    std::string typed;
    std::deque<Answer> answers;
    bool busy;
    bool taken;
  };
  const Case cases[] = {
      {"sftp://me@example.net/site", {}, false, true},
      {"ftp://me@example.net/site", {Answer::kYes}, false, true},
      {"FTP://me@example.net/site", {Answer::kNo}, false, false},
      {"sftp://me@example.net/site", {}, true, false},  // a run or an upload goes on
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    state_.settings.UploadAddress = "";
    state_.StartHistory();
    window_dialogs_.messages.clear();
    window_dialogs_.answers = c.answers;
    state_.upload_running = c.busy;
    publishing_.OnUploadAddressEdited(c.typed);
    state_.upload_running = false;
    EXPECT_EQ(publishing_.UploadAddress(), c.taken ? c.typed : "");
    const MessageRequest question{kPlainFtpQuestion, "Quorvale 1.0.0 - Upload to", Buttons::kYesNo, Icon::kExclamation};
    EXPECT_EQ(window_dialogs_.messages, c.answers.empty() ? Messages{} : Messages{question});
    ASSERT_EQ(state_.history.CanUndo(), c.taken);
    if (!c.taken) continue;
    EXPECT_EQ(state_.history.Undo()->content.settings.UploadAddress, "");
    EXPECT_EQ(state_.history.Redo()->content.settings.UploadAddress, c.typed);
  }
}

TEST_F(UploadWindowTest, UploadNeedsAnAddressAFinishedSiteAndNothingGoingOn) {
  AddAlbum("Lake", {{Picture("a", "boat.jpg", "boat"), ""}});
  state_.settings.PublishDirectory = publish_;
  EXPECT_FALSE(upload_.UploadEnabled());  // neither address nor site
  state_.settings.UploadAddress = root_;
  EXPECT_FALSE(upload_.UploadEnabled());  // no site yet
  Run(publish_);
  EXPECT_TRUE(upload_.UploadEnabled());
  state_.generation_running = true;
  EXPECT_FALSE(upload_.UploadEnabled());
  state_.generation_running = false;
  state_.upload_running = true;
  EXPECT_FALSE(upload_.UploadEnabled());
  state_.upload_running = false;
  state_.settings.UploadAddress = "";
  EXPECT_FALSE(upload_.UploadEnabled());
}

// Each way an upload ends, and the one box that says so.
TEST_F(UploadWindowTest, EveryUploadEndsInOneBoxWithTheCountsOrTheReason) {
  AddAlbum("Lake", {{Picture("a", "boat.jpg", "boat"), ""}});
  Run(publish_);
  const long long files = static_cast<long long>(ParseSiteManifest(Read(In("PhotoAlbum/site.manifest")))->size());
  const std::string folder = JoinPath(root_, "server");
  fs::create_directories(folder);
  const std::string counts_all = "Uploaded: " + std::to_string(files) + "\nUnchanged: 0\nDeleted: 0\nKept: 0\nErrors: 0";
  struct Case {
    std::string address;
    std::optional<TransferFailure> fetch_failure, put_failure;
    std::deque<Answer> answers;  // to the new server key
    MessageRequest box;
    const char* caption;
  };
  const Case cases[] = {
      {folder, {}, {}, {}, {"The site is uploaded to " + folder + ".\n\n" + counts_all, "", Buttons::kOk, Icon::kInformation},
       "Upload completed"},
      {"sftp://me@example.net/site", TransferFailure{"Login denied", false}, {}, {Answer::kYes},
       {"The upload to sftp://me@example.net/site could not go on: Login denied.", "", Buttons::kOk, Icon::kCritical},
       "Upload failed"},
      {"sftp://me@example.net/site", {}, TransferFailure{"Permission denied", false}, {Answer::kYes},
       {"The upload to sftp://me@example.net/site is finished, with problems.\n\nUploaded: 0\nUnchanged: 0\n"
        "Deleted: 0\nKept: 0\nErrors: " + std::to_string(files) +
            "\n\nThe first error: Permission denied.\n\nThe Generation Status box names each file.",
        "", Buttons::kOk, Icon::kExclamation},
       "Upload completed"},
      {"sftp://me@example.net/site", {}, {}, {Answer::kNo},
       {"Quorvale cannot upload to sftp://me@example.net/site: the key of example.net is not trusted.", "",
        Buttons::kOk, Icon::kCritical},
       "Upload failed"},
      {"nowhere", {}, {}, {},
       {"Quorvale cannot upload to nowhere: the folder nowhere does not exist.", "", Buttons::kOk, Icon::kCritical},
       "Upload failed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    upload_.SetServerTransfers([&](const std::string&, ServerQuestions questions)
                                   -> std::variant<std::unique_ptr<Transfer>, std::string> {
      if (!questions.trust_new_host("example.net", "SHA256:abc")) return "the key of example.net is not trusted";
      return std::make_unique<FakeServer>(std::move(questions), c.fetch_failure, c.put_failure);
    });
    fs::remove_all(folder);
    fs::create_directories(folder);
    state_.settings.PublishDirectory = publish_;
    state_.settings.UploadAddress = c.address;
    window_dialogs_.messages.clear();
    window_dialogs_.answers = c.answers;
    upload_.UploadCommand();
    MessageRequest box = c.box;
    box.title = "Quorvale 1.0.0 - Upload";
    Messages expected;
    if (!c.answers.empty()) {
      expected.push_back({"The server example.net is new to this computer. Its key's fingerprint is\n\nSHA256:abc\n\n"
                          "Compare it with the fingerprint your web host gives you: a different one means someone "
                          "is in between. Trust this key and upload?",
                          "Quorvale 1.0.0 - Upload", Buttons::kYesNo, Icon::kQuestion});
    }
    expected.push_back(box);
    EXPECT_EQ(window_dialogs_.messages, expected);
    EXPECT_EQ(run_.StatusCaption(), c.caption);
    EXPECT_FALSE(upload_.UploadRunning());
  }
  // An upload's transcript follows the earlier ones in the status box.
  EXPECT_NE(run_.StatusText().find("\r\n\r\nUpload to sftp://me@example.net/site started"), std::string::npos);
}

// A server whose first file waits, once it has said so, until the test opens the gate.
class GatedServer final : public Transfer {
 public:
  GatedServer(std::promise<void>& reached, std::shared_future<void> gate) : reached_(reached), gate_(std::move(gate)) {}
  std::variant<std::optional<std::string>, TransferFailure> Fetch(const std::string&) override {
    return std::optional<std::string>();
  }
  std::optional<TransferFailure> PutBytes(std::string_view, const std::string&) override {
    if (!waited_) reached_.set_value();
    waited_ = true;
    gate_.wait();
    return std::nullopt;
  }
  std::optional<TransferFailure> Remove(const std::string&) override { return std::nullopt; }
  std::optional<TransferFailure> RemoveFolder(const std::string&) override { return std::nullopt; }

 private:
  std::promise<void>& reached_;
  std::shared_future<void> gate_;
  bool waited_ = false;
};

// Cancel during an upload on the worker: it stops after the file in hand, the window's
// thread stays free meanwhile, and the box says how far it came.
TEST_F(UploadWindowTest, CancelStopsTheUploadOnTheWorkerAfterTheFileInHand) {
  AddAlbum("Lake", {{Picture("a", "boat.jpg", "boat"), ""}});
  Run(publish_);
  std::mutex mutex;
  std::deque<std::function<void()>> posted;
  upload_.RunUploadsInBackground([&](std::function<void()> task) {
    const std::lock_guard lock(mutex);
    posted.push_back(std::move(task));
  });
  std::promise<void> reached, gate;
  upload_.SetServerTransfers([&reached, shared = gate.get_future().share()](const std::string&, ServerQuestions)
                                 -> std::variant<std::unique_ptr<Transfer>, std::string> {
    return std::make_unique<GatedServer>(reached, shared);
  });
  state_.settings.PublishDirectory = publish_;
  state_.settings.UploadAddress = "sftp://me@example.net/site";
  upload_.UploadCommand();
  EXPECT_TRUE(upload_.UploadRunning());
  EXPECT_FALSE(upload_.UploadEnabled());
  reached.get_future().wait();  // the first file is in hand
  upload_.CancelUpload();
  gate.set_value();
  for (int waited = 0; upload_.UploadRunning() && waited < 10000; ++waited) {
    std::function<void()> task;
    {
      const std::lock_guard lock(mutex);
      if (!posted.empty()) {
        task = std::move(posted.front());
        posted.pop_front();
      }
    }
    if (task) task();
    else std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(window_dialogs_.messages,
            (Messages{{"The upload to sftp://me@example.net/site was stopped.\n\nUploaded: 1\nUnchanged: 0\n"
                       "Deleted: 0\nKept: 0\nErrors: 0\n\nThe next upload goes on from where this one stopped.",
                       "Quorvale 1.0.0 - Upload", Buttons::kOk, Icon::kInformation}}));
  EXPECT_EQ(run_.StatusCaption(), "Upload stopped");
  EXPECT_TRUE(upload_.UploadEnabled());
}

// A password is asked for once in a session, again after the server refused it, and
// kept in the keyring only when the user ticks "Remember"; never in the transcript or log.
TEST_F(UploadWindowTest, APasswordIsAskedOncePerSessionAndKeptOnlyWhenRemembered) {
  AddAlbum("Lake", {{Picture("a", "boat.jpg", "boat"), ""}});
  Run(publish_);
  ScriptedPasswords passwords;
  const auto servers = [](const std::string&, ServerQuestions questions)
      -> std::variant<std::unique_ptr<Transfer>, std::string> {
    return std::make_unique<FakeServer>(std::move(questions), std::nullopt, std::nullopt, "sesame");
  };
  const auto upload = [&](UploadController& controller) {
    window_dialogs_.messages.clear();
    controller.SetServerTransfers(servers);
    controller.SetPasswordPort(&passwords);
    controller.UploadCommand();
    return window_dialogs_.messages.back().icon;
  };
  state_.settings.PublishDirectory = publish_;
  state_.settings.UploadAddress = "ftps://me@example.net:2121/site";
  const std::string account = "ftps://me@example.net:2121";

  passwords.answers = {PasswordAnswer{"open up", true}};
  EXPECT_EQ(upload(upload_), Icon::kCritical);  // refused
  passwords.answers = {PasswordAnswer{"sesame", false}};
  EXPECT_EQ(upload(upload_), Icon::kInformation);  // asked again, as the last was refused
  EXPECT_EQ(upload(upload_), Icon::kInformation);  // the session's: not asked
  EXPECT_EQ(passwords.asked, (std::vector<PasswordRequest>(
                                 2, {"The server of " + account + " asks for a password.", "Quorvale 1.0.0 - Upload", true})));
  EXPECT_EQ(passwords.keyring, (std::map<std::string, std::string>{{account, "open up"}}));

  // A new session takes the keyring's; once refused, the user's new one replaces it there.
  UploadController next_session{state_, clock_, run_};
  passwords.answers = {PasswordAnswer{"sesame", true}};
  EXPECT_EQ(upload(next_session), Icon::kCritical);
  EXPECT_EQ(upload(next_session), Icon::kInformation);
  EXPECT_EQ(passwords.keyring[account], "sesame");
  EXPECT_EQ(passwords.asked.size(), 3u);

  EXPECT_EQ(run_.StatusText().find("sesame"), std::string::npos);
  const std::string log = Read(GenerationLogPath(publish_));
  EXPECT_NE(log.find("Uploaded to " + state_.settings.UploadAddress), std::string::npos);
  EXPECT_EQ(log.find("sesame"), std::string::npos);
}

}  // namespace
}  // namespace quorvale::testing
