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

TEST(GenerateCommand, RunsIntoThePublishingDirectoryAndStreamsTheTranscript) {
  TempFolder root;  // no viewer files: the source folder is missing
  const std::string site = JoinPath(root.str(), "site");
  std::filesystem::create_directory(site);
  ScriptedDialogs dialogs;
  FixedClock clock;
  MainWindowLogic window(dialogs, clock, root.str());
  RecordingObserver observer(window);
  window.SetObserver(&observer);
  window.Startup();
  dialogs.texts.push_back("Only album");
  window.content().AddAlbumCommand();
  window.publishing().OnPublishDirectoryEdited(site);

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

}  // namespace
}  // namespace quorvale::testing
