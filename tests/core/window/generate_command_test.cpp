// The Generate button of the main window: it empties the transcript, runs into the
// Publishing Directory text, and passes the transcript on piece by piece.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/support/scripted_dialogs.h"
#include "core/support/temp_folder.h"
#include "platform/path.h"
#include "window/main_window.h"

namespace quorvale::testing {
namespace {

class RecordingObserver : public WindowObserver {
 public:
  explicit RecordingObserver(const MainWindowLogic& window) : window_(window) {}
  void StateChanged() override {}
  void TranscriptAppended(std::string_view appended) override { shown += appended; }
  void TranscriptReplaced() override { shown = window_.StatusText(); }
  void StatusCaptionChanged() override { captions.push_back(window_.StatusCaption()); }
  std::string shown;
  std::vector<std::string> captions;

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
  window.AddAlbumCommand();
  window.OnPublishDirectoryEdited(site);

  for (int run = 0; run < 2; ++run) {
    window.GenerateCommand();
    // The run's header is the only one, at the start: the second run began with an empty box.
    EXPECT_EQ(window.StatusText().rfind("\r\nGeneration started (12/5/2026 6:15:42 AM) ....\r\n\r\n"), 0u) << run;
    EXPECT_EQ(observer.shown, window.StatusText()) << run;
  }
  EXPECT_EQ(window.StatusCaption(), "Generation Completed.");
  EXPECT_EQ(observer.captions.size(), 8u);  // four captions a run, each shown as it came
  EXPECT_EQ(window.WarningCount(), 1);  // the album has no pictures
  EXPECT_EQ(dialogs.messages.back().title, "Quorvale 1.0.0 - GENERATION HAD ERRORS/WARNINGS");
  EXPECT_NE(dialogs.messages.back().text.find(site + "/PhotoAlbum.htm"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(JoinPath(site, "album-0.htm")));
}

}  // namespace
}  // namespace quorvale::testing
