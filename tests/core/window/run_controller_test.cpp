// The Generate button of the main window: it empties the transcript, runs into the
// Publishing Directory text, and passes the transcript on piece by piece.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/support/scripted_dialogs.h"
#include "core/support/temp_folder.h"
#include "generate/access_url.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "window/main_window.h"

namespace quorvale::testing {
namespace {

class RecordingObserver : public WindowObserver {
 public:
  explicit RecordingObserver(const MainWindowLogic& window) : window_(window) {}
  void StateChanged() override {}
  void TranscriptAppended(std::string_view appended) override { shown += appended; }
  void TranscriptReplaced() override { shown = window_.run().StatusText(); }
  void StatusCaptionChanged() override { captions.push_back(window_.run().StatusCaption()); }
  void GenerationProgressed(const GenerationProgress& progress) override { progress_seen.push_back(progress); }
  void CloseRequested() override { ++close_requests; }
  std::string shown;
  std::vector<std::string> captions;
  std::vector<GenerationProgress> progress_seen;
  int close_requests = 0;

 private:
  const MainWindowLogic& window_;
};

// The folder "site" made in `root`, for a run to publish into.
std::string SiteFolder(const TempFolder& root) {
  const std::string site = JoinPath(root.str(), "site");
  std::filesystem::create_directory(site);
  return site;
}

// Start-up, then one empty album `title` publishing into `site`.
void OneAlbumInto(MainWindowLogic& window, ScriptedDialogs& dialogs, const char* title, const std::string& site) {
  window.Startup();
  dialogs.texts.push_back(title);
  window.content().AddAlbumCommand();
  window.publishing().OnPublishDirectoryEdited(site);
}

TEST(GenerateCommand, RunsIntoThePublishingDirectoryAndStreamsTheTranscript) {
  TempFolder root;  // no viewer files: the source folder is missing
  const std::string site = SiteFolder(root);
  ScriptedDialogs dialogs;
  FixedClock clock;
  MainWindowLogic window(dialogs, clock, root.str());
  RecordingObserver observer(window);
  window.SetObserver(&observer);
  OneAlbumInto(window, dialogs, "Only album", site);
  EXPECT_FALSE(window.run().OpenSiteEnabled());

  for (int run = 0; run < 2; ++run) {
    window.run().GenerateCommand();
    // The run's header is the only one, at the start: the second run began with an empty box.
    EXPECT_EQ(window.run().StatusText().rfind("\r\nGeneration started (12/5/2026 6:15:42 AM) ....\r\n\r\n"), 0u) << run;
    EXPECT_EQ(observer.shown, window.run().StatusText()) << run;
  }
  EXPECT_EQ(window.run().StatusCaption(), "Generation Completed.");
  EXPECT_EQ(observer.captions.size(), 8u);  // four captions a run, each shown as it came
  EXPECT_EQ(window.run().WarningCount(), 1);  // the album has no pictures
  EXPECT_EQ(dialogs.messages.back().title, "Quorvale 1.0.0 - GENERATION HAD ERRORS/WARNINGS");
  EXPECT_NE(dialogs.messages.back().text.find(AccessUrlFor(site)), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(JoinPath(site, "album-0.htm")));
  EXPECT_TRUE(window.run().OpenSiteEnabled());
  EXPECT_EQ(window.run().SiteHomePage(), JoinPath(site, "PhotoAlbum.htm"));
  EXPECT_TRUE(std::filesystem::exists(window.run().SiteHomePage()));
  dialogs.answers.push_back(Answer::kNo);  // save the project first?
  window.session().NewProject();
  EXPECT_FALSE(window.run().OpenSiteEnabled());  // a new project has no site yet
}

// The window's thread in a test: tasks posted from the worker wait here until pumped.
class TaskQueue {
 public:
  void Post(std::function<void()> task) {
    {
      const std::lock_guard lock(mutex_);
      tasks_.push_back(std::move(task));
    }
    ready_.notify_one();
  }
  // Runs the tasks posted so far, waiting a little for the first.
  void Pump() {
    std::unique_lock lock(mutex_);
    ready_.wait_for(lock, std::chrono::milliseconds(20), [this] { return !tasks_.empty(); });
    std::deque<std::function<void()>> tasks = std::move(tasks_);
    tasks_.clear();
    lock.unlock();
    for (auto& task : tasks) task();
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::function<void()>> tasks_;
};

// Dialogs that note on which thread each box was shown.
class ThreadNotingDialogs : public ScriptedDialogs {
 public:
  Answer ShowMessage(const MessageRequest& request) override {
    threads.push_back(std::this_thread::get_id());
    return ScriptedDialogs::ShowMessage(request);
  }
  std::vector<std::thread::id> threads;
};

// A run on a worker thread: everything it reports reaches the window's thread in order,
// the boxes included; Cancel stops it with the cancel line and the log entry; closing
// during a run asks first and closes once it has stopped.
TEST(GenerateCommand, RunsOnAWorkerAndStopsWhenCancelled) {
  TempFolder root;
  const std::string site = JoinPath(root.str(), "site");
  const std::string pictures = JoinPath(root.str(), "pictures");
  std::filesystem::create_directories(site);
  std::filesystem::create_directories(pictures);
  std::vector<std::string> paths;
  for (int k = 0; k < 100; ++k) {
    paths.push_back(JoinPath(pictures, "p" + std::to_string(k) + ".jpg"));
    std::ofstream(paths.back()) << "\xFF\xD8\xFF" << std::string(20000, 'x');
  }
  ThreadNotingDialogs dialogs;
  FixedClock clock;
  TaskQueue queue;
  MainWindowLogic window(dialogs, clock, root.str());
  RecordingObserver observer(window);
  window.SetObserver(&observer);
  window.Startup();
  window.run().RunGenerationInBackground([&queue](std::function<void()> task) { queue.Post(std::move(task)); });
  for (const char* title : {"One", "Two", "Three"}) {
    dialogs.texts.push_back(title);
    window.content().AddAlbumCommand();
    dialogs.files.push_back(paths);
    window.content().AddPicturesCommand();
  }
  window.publishing().OnPublishDirectoryEdited(site);
  dialogs.messages.clear();

  // A full run: the missing viewer source's box, the tip and the final box, all shown here.
  window.run().GenerateCommand();
  EXPECT_TRUE(window.run().GenerationRunning());
  while (window.run().GenerationRunning()) queue.Pump();
  ASSERT_EQ(dialogs.messages.size(), 3u);
  EXPECT_EQ(dialogs.messages.back().title, "Quorvale 1.0.0 - GENERATION SUCCESSFUL");
  EXPECT_EQ(dialogs.threads, std::vector<std::thread::id>(3, std::this_thread::get_id()));
  EXPECT_EQ(observer.shown, window.run().StatusText());
  EXPECT_FALSE(window.project().PictureCountTipPending);

  // Closing during a run, before any picture: the run cannot pass the box about the
  // missing viewer source before the pump below answers it. No final box.
  std::filesystem::remove_all(JoinPath(site, "PhotoAlbum"));
  dialogs.messages.clear();
  observer.progress_seen.clear();
  window.run().GenerateCommand();
  dialogs.answers.push_back(Answer::kYes);  // closing: cancel the run first?
  EXPECT_FALSE(window.ConfirmClose());
  while (window.run().GenerationRunning()) queue.Pump();
  const MessageRequest close_question{"Generation is still running. Cancel it and close Quorvale?",
                                      "Quorvale 1.0.0 - Close", Buttons::kYesNo, Icon::kQuestion};
  EXPECT_EQ(dialogs.messages.front(), close_question);
  for (const MessageRequest& message : dialogs.messages) EXPECT_EQ(message.title.find("GENERATION"), std::string::npos);
  EXPECT_EQ(window.run().Progress().pictures_done, 0);
  EXPECT_TRUE(window.run().StatusText().ends_with("\r\nGeneration cancelled."));
  EXPECT_EQ(window.run().StatusCaption(), "Generation cancelled.");
  EXPECT_EQ(observer.close_requests, 1);
  const std::string log = ReadWholeFile(JoinPath(site, "Generation_Log.txt")).value_or("");
  EXPECT_TRUE(log.ends_with("    Generation cancelled with 0 ERRORS and 0 WARNINGS.\r\n\r\n")) << log;
}

// While a run goes on nothing changes the project or its settings: each command is
// refused, the view is told to show the state that stays, and nothing is left to undo.
TEST(GenerateCommand, EditsWaitForTheRun) {
  TempFolder root;
  const std::string site = SiteFolder(root);
  ScriptedDialogs dialogs;
  FixedClock clock;
  TaskQueue queue;
  MainWindowLogic window(dialogs, clock, root.str());
  OneAlbumInto(window, dialogs, "Album", site);
  window.publishing().OnViewerOptionChosen(ViewerId::kHtml);
  window.run().RunGenerationInBackground([&queue](std::function<void()> task) { queue.Post(std::move(task)); });
  const ProjectSettings before = window.settings();
  const std::string picture = JoinPath(root.str(), "a.jpg");
  std::ofstream(picture) << "picture";

  const struct {
    const char* what;
    std::function<void()> edit;
  } refused[] = {
      {"viewer", [&] { window.publishing().OnViewerOptionChosen(ViewerId::kTorvexa); }},
      {"keep location", [&] { window.publishing().OnKeepLocationClicked(true); }},
      {"publish originals", [&] { window.publishing().OnPublishPicturesClicked(false); }},
      {"directory typed", [&] { window.publishing().OnPublishDirectoryEdited("/elsewhere"); }},
      {"directory browsed", [&] { window.publishing().BrowseForDirectory(); }},
      {"picture dropped", [&] { window.DropPaths(DropTarget::kPictureList, {picture}); }},
      {"folder dropped", [&] { window.DropPaths(DropTarget::kAlbumList, {root.str()}); }},
  };
  window.run().GenerateCommand();
  ASSERT_TRUE(window.run().GenerationRunning());
  EXPECT_FALSE(window.publishing().SettingsEnabled());
  EXPECT_FALSE(window.publishing().KeepLocationEnabled());
  EXPECT_FALSE(window.CanUndo());
  for (const auto& c : refused) {
    c.edit();
    EXPECT_EQ(window.settings(), before) << c.what;
    EXPECT_EQ(window.project().AlbumCount(), 1) << c.what;
    EXPECT_EQ(window.project().AlbumPictures(0).Count(), 0) << c.what;
  }
  EXPECT_TRUE(dialogs.folder_dialog_titles.empty());
  while (window.run().GenerationRunning()) queue.Pump();
  EXPECT_TRUE(window.publishing().SettingsEnabled());
  EXPECT_TRUE(window.CanUndo());

  // A run with an empty Publishing Directory runs nothing and keeps the last counters.
  const long long warnings = window.run().WarningCount();
  EXPECT_EQ(warnings, 1);  // the album has no pictures
  window.publishing().OnPublishDirectoryEdited("");
  dialogs.messages.clear();
  window.run().GenerateCommand();
  while (window.run().GenerationRunning()) queue.Pump();
  EXPECT_EQ(window.run().WarningCount(), warnings);
}

// Dialogs whose close question is answered only after the run has ended.
class LateAnswerDialogs : public ScriptedDialogs {
 public:
  Answer ShowMessage(const MessageRequest& request) override {
    if (request.buttons == Buttons::kYesNo && until_idle) {
      while (until_idle()) queue->Pump();
    }
    return ScriptedDialogs::ShowMessage(request);
  }
  std::function<bool()> until_idle;
  TaskQueue* queue = nullptr;
};

// A Yes to "Cancel it and close?" given after the run ended closes now, through the
// save question, and leaves nothing that would close the window after a later run.
TEST(GenerateCommand, ACloseAnsweredAfterTheRunDoesNotOutliveIt) {
  TempFolder root;
  LateAnswerDialogs dialogs;
  FixedClock clock;
  TaskQueue queue;
  MainWindowLogic window(dialogs, clock, root.str());
  RecordingObserver observer(window);
  window.SetObserver(&observer);
  OneAlbumInto(window, dialogs, "Album", SiteFolder(root));
  window.run().RunGenerationInBackground([&queue](std::function<void()> task) { queue.Post(std::move(task)); });
  dialogs.queue = &queue;
  dialogs.until_idle = [&window] { return window.run().GenerationRunning(); };

  window.run().GenerateCommand();
  dialogs.answers = {Answer::kYes, Answer::kNo};  // cancel and close: yes; save the project: no
  EXPECT_TRUE(window.ConfirmClose());
  EXPECT_EQ(dialogs.messages.back().text, "Save current project?");
  dialogs.until_idle = nullptr;
  window.run().GenerateCommand();
  while (window.run().GenerationRunning()) queue.Pump();
  EXPECT_EQ(observer.close_requests, 0);
}

}  // namespace
}  // namespace quorvale::testing
