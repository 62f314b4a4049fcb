// The Generate button of the main window: it empties the transcript, runs into the
// Publishing Directory text, and passes the transcript on piece by piece.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <unistd.h>

#include "core/support/scripted_dialogs.h"
#include "platform/path.h"
#include "window/main_window.h"

namespace quorvale::testing {
namespace {

namespace fs = std::filesystem;

class RecordingObserver : public WindowObserver {
 public:
  explicit RecordingObserver(const MainWindowLogic& window) : window_(window) {}
  void StateChanged() override {}
  void TranscriptAppended(std::string_view appended) override { shown += appended; }
  void TranscriptReplaced() override { shown = window_.StatusText(); ++replaced; }
  std::string shown;
  int replaced = 0;

 private:
  const MainWindowLogic& window_;
};

TEST(GenerateCommand, RunsIntoThePublishingDirectoryAndStreamsTheTranscript) {
  const std::string root = (fs::temp_directory_path() / ("quorvale_generate_command_" + std::to_string(::getpid()))).string();
  fs::remove_all(root);
  fs::create_directories(JoinPath(root, "site"));
  ScriptedDialogs dialogs;
  FixedClock clock;
  MainWindowLogic window(dialogs, clock, root);  // no viewer files: the source folder is missing
  RecordingObserver observer(window);
  window.SetObserver(&observer);
  window.Startup();

  // The start-up placeholder is no folder: refused, transcript stays empty.
  window.GenerateCommand();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "Publishing Folder (<CLICK BROWSE TO SELECT PUBLISHING DIRECTORY>) does not exist.");
  EXPECT_EQ(window.StatusText(), "");

  dialogs.texts.push_back("Only album");
  window.AddAlbumCommand();
  window.OnPublishDirectoryEdited(JoinPath(root, "site"));
  for (int run = 0; run < 2; ++run) {
    window.GenerateCommand();
    EXPECT_EQ(window.StatusText().rfind("\r\nGeneration started (12/5/2026 6:15:42 AM) ....\r\n\r\n", 0), 0u);
    EXPECT_EQ(observer.shown, window.StatusText());  // the second run started from an empty box
  }
  EXPECT_EQ(window.StatusCaption(), "Generation Completed.");
  EXPECT_EQ(window.ErrorCount(), 0);
  EXPECT_EQ(window.WarningCount(), 1);  // the album has no pictures
  EXPECT_EQ(dialogs.messages.back().title, "Quorvale 1.0.0 - GENERATION HAD ERRORS/WARNINGS");
  EXPECT_NE(dialogs.messages.back().text.find(JoinPath(root, "site") + "/PhotoAlbum.htm"), std::string::npos);
  EXPECT_TRUE(fs::exists(JoinPath(JoinPath(root, "site"), "album-0.htm")));
  fs::remove_all(root);
}

}  // namespace
}  // namespace quorvale::testing
