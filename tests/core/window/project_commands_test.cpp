#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <variant>

#include "core/projectfile/project_file_fixtures.h"
#include "core/support/scripted_dialogs.h"
#include "platform/product.h"
#include "projectfile/project_file.h"
#include "window/main_window.h"

namespace quorvale {
namespace {

using testing::ExampleFileBytes;
using testing::Header;
using testing::PathIn;
using testing::ReadBytes;
using testing::Rec;
using testing::WriteBytes;

const MessageRequest kSaveQuestion{"Save current project?", WindowTitle("Save Project"), Buttons::kYesNo,
                                   Icon::kNone};
const MessageRequest kNoChanges{"No changes to save", WindowTitle("Save Project"), Buttons::kOk,
                                Icon::kExclamation};
const MessageRequest kOverwriteQuestion{"Overwrite existing project?",
                                        WindowTitle("Save Project: Overwrite confirmation"), Buttons::kYesNo,
                                        Icon::kNone};
const MessageRequest kNotAProjectFile{"Not a Quorvale Project File.", WindowTitle("Open Project"), Buttons::kOk,
                                      Icon::kCritical};

// Everything a command may change, for "nothing changed" checks.
struct WindowState {
  std::vector<std::string> albums;
  std::vector<std::string> pictures;
  int selected_album;
  int selected_picture;
  std::string path;
  std::string caption;
  bool modified;
  ProjectSettings settings;
  std::string comment;
  std::string access_url;
  bool operator==(const WindowState&) const = default;
};

class ProjectCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_folder_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_.str());  // "untitled.qs1" lives here
  }
  void TearDown() override { std::filesystem::current_path(previous_folder_); }

  WindowState State() const {
    const Project& p = window_->project();
    return {window_->AlbumRows(), window_->PictureRows(), p.SelectedAlbum(), p.SelectedPicture(), p.ProjectPath,
            window_->WindowCaption(), p.Modified, window_->settings(), window_->CommentText(), window_->AccessUrl()};
  }

  // Opens `bytes` saved as `name`; the open dialog answers with its path.
  void Open(const std::string& name, const std::string& bytes) {
    WriteBytes(PathIn(folder_, name), bytes);
    dialogs_.paths.push_back(PathIn(folder_, name));
    window_->OpenProject();
  }

  // A project with unsaved changes: the example file opened, then an album added.
  void OpenModifiedExample() {
    Open("example.qs1", ExampleFileBytes());
    dialogs_.texts.push_back("Added");
    window_->AddAlbumCommand();
    dialogs_.messages.clear();
    dialogs_.file_dialogs.clear();
  }

  // An untitled project with unsaved changes.
  void MakeUntitledChanges() {
    dialogs_.texts.push_back("Holiday");
    window_->AddAlbumCommand();
    window_->OnPublishDirectoryEdited("/srv/web");
  }

  testing::TempFolder folder_;
  std::filesystem::path previous_folder_;
  testing::ScriptedDialogs dialogs_;
  testing::FixedClock clock_;
  std::unique_ptr<MainWindowLogic> window_ = std::make_unique<MainWindowLogic>(dialogs_, clock_, "/opt/quorvale");
};

TEST_F(ProjectCommandsTest, StartupIsAnEmptyUntitledProject) {
  window_->Startup();
  EXPECT_EQ(window_->WindowCaption(), WindowTitle("untitled.qs1"));
  EXPECT_EQ(window_->ProjectName(), "untitled.qs1");
  EXPECT_TRUE(window_->AlbumRows().empty());
  EXPECT_FALSE(window_->project().Modified);
  EXPECT_EQ(window_->CurrentPage(), MainWindowLogic::kContentPage);
  EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(ProjectCommandsTest, StartupTakesOnlyTheSettingsOfAnUntitledFile) {
  WriteBytes("untitled.qs1", Header() + Rec(0x83, "/srv/site") + Rec(0x89, "Kept out"));
  window_->Startup();
  EXPECT_EQ(window_->settings().PublishDirectory, "/srv/site");
  EXPECT_EQ(window_->AccessUrl(), "/srv/site/PhotoAlbum.htm");
  EXPECT_TRUE(window_->AlbumRows().empty());
  EXPECT_EQ(window_->ProjectName(), "untitled.qs1");
  EXPECT_FALSE(window_->project().Modified);
}

TEST_F(ProjectCommandsTest, NewAfterARefusedUntitledFileIsStillEmptyAndUntitled) {
  window_->Startup();
  OpenModifiedExample();
  dialogs_.answers.push_back(Answer::kNo);
  WriteBytes("untitled.qs1", "garbage");
  window_->NewProject();
  ASSERT_EQ(dialogs_.messages.size(), 2u);
  EXPECT_EQ(dialogs_.messages[0], kSaveQuestion);
  EXPECT_EQ(dialogs_.messages[1], kNotAProjectFile);
  EXPECT_TRUE(window_->AlbumRows().empty());
  EXPECT_EQ(window_->ProjectName(), "untitled.qs1");
  EXPECT_FALSE(window_->project().Modified);
}

TEST_F(ProjectCommandsTest, NewAnsweredYesSavesUntitledIntoTheWorkingFolderAndKeepsItsSettings) {
  window_->Startup();
  MakeUntitledChanges();
  dialogs_.answers.push_back(Answer::kYes);
  window_->NewProject();
  EXPECT_EQ(dialogs_.messages, std::vector<MessageRequest>{kSaveQuestion});
  EXPECT_TRUE(dialogs_.file_dialogs.empty());
  EXPECT_NE(ReadBytes("untitled.qs1").find(Rec(0x89, "Holiday")), std::string::npos);
  EXPECT_EQ(window_->settings().PublishDirectory, "/srv/web");
  EXPECT_TRUE(window_->AlbumRows().empty());
  EXPECT_FALSE(window_->project().Modified);
}

TEST_F(ProjectCommandsTest, OpenShowsTheFirstAlbumAsSelected) {
  window_->Startup();
  dialogs_.paths.push_back(PathIn(folder_, "a") + "/example.qs1");
  std::filesystem::create_directory(PathIn(folder_, "a"));
  WriteBytes(PathIn(folder_, "a") + "/example.qs1", ExampleFileBytes());
  window_->OpenProject();

  FileDialogRequest expected;
  expected.title = "Open Quorvale Project File";
  expected.default_ext = "qs1";
  expected.filter = "Quorvale Project (*.qs1)|*.qs1";
  expected.initial_folder = "/opt/quorvale/Projects";
  EXPECT_EQ(dialogs_.file_dialogs, std::vector<FileDialogRequest>{expected});
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_EQ(window_->ProjectName(), PathIn(folder_, "a") + "/example.qs1");
  EXPECT_EQ(window_->WindowCaption(), WindowTitle(PathIn(folder_, "a") + "/example.qs1"));
  EXPECT_EQ(window_->directories().ProjectDirectory, PathIn(folder_, "a"));
  EXPECT_EQ(window_->AlbumRows(), (std::vector<std::string>{"Lake trip ~ June", "Garden"}));
  EXPECT_EQ(window_->PictureRows(),
            (std::vector<std::string>{"C:\\Photos\\Lake\\boat.jpg", "C:\\Photos\\Lake\\cabin.jpg"}));
  EXPECT_EQ(window_->SelectedAlbumLabel(), "Lake trip ~ June");
  EXPECT_EQ(window_->AlbumFrameCaption(), "     Albums: 1 of 2");
  EXPECT_EQ(window_->PictureFrameCaption(), "     Pictures: 2");
  EXPECT_EQ(window_->CommentText(), "Morning on the water");
  EXPECT_EQ(window_->AccessUrl(), "D:/Web/Family/PhotoAlbum.htm");
  EXPECT_FALSE(window_->project().Modified);

  // The next dialogs start in the folder of the file last chosen.
  dialogs_.paths.push_back(std::nullopt);
  window_->SaveProjectAs();
  EXPECT_EQ(dialogs_.file_dialogs.back().initial_folder, PathIn(folder_, "a"));
}

// Every refusal leaves the window exactly as it was, with its own message box.
TEST_F(ProjectCommandsTest, RefusedFilesChangeNothing) {
  const std::string v = Rec(0x80, "QS") + Rec(0x81, "1.0");
  const std::string corrupted = "File is corrupted. Cannot load project!!!";
  const std::string file_corrupted = WindowTitle("Open Project: File Corrupted!!");
  struct Case {
    const char* name;
    std::string bytes;
    std::string text;
    std::string title;
  };
  const Case cases[] = {
      {"lower-case magic", Rec(0x80, "qs") + Rec(0x81, "1.0") + Rec(0x82, "0"), kNotAProjectFile.text,
       kNotAProjectFile.title},
      {"magic with a blank", Rec(0x80, "QS ") + Rec(0x81, "1.0") + Rec(0x82, "0"), kNotAProjectFile.text,
       kNotAProjectFile.title},
      {"magic without tag", "QS\r\n" + Rec(0x81, "1.0") + Rec(0x82, "0"), kNotAProjectFile.text,
       kNotAProjectFile.title},
      {"version without ~", Rec(0x80, "QS") + "\x81" "1.0\r\n" + Rec(0x82, "0"),
       "Incorrect version specification. Can not load!!", file_corrupted},
      {"higher version", Rec(0x80, "QS") + Rec(0x81, "1.00") + Rec(0x82, "0"),
       "This project file was created by a higher version of software. Can not load!!",
       WindowTitle("Open Project: Version Conflict!!")},
      {"encoding wrong tag", v + Rec(0x83, "0"), "Incorrect encoding specification. Can not load!!",
       file_corrupted},
      {"encoding type 1", v + Rec(0x82, "1"), "Incorrect encoding type. Can not load!!", file_corrupted},
      {"empty file", "", corrupted, WindowTitle("Open Project: ERROR")},
      {"empty first line", "\r\n" + v + Rec(0x82, "0"), corrupted, WindowTitle("Open Project: ERROR")},
      {"two lines", v, corrupted, WindowTitle("Open Project: ERROR")},
      {"encoding a letter", v + Rec(0x82, "x"), corrupted, WindowTitle("Open Project: ERROR")},
      {"album count not a number", Header() + Rec(0x87, "two"), corrupted, WindowTitle("Open Project: ERROR")},
      {"flag out of range", Header() + Rec(0x84, "2"), corrupted, WindowTitle("Open Project: ERROR")},
      {"title without ~", Header() + "\x89\r\n", corrupted, WindowTitle("Open Project: ERROR")},
      {"picture before album", Header() + Rec(0x8B, "a.jpg"), corrupted, WindowTitle("Open Project: ERROR")},
      {"comment before album", Header() + Rec(0x8C, "c"), corrupted, WindowTitle("Open Project: ERROR")},
      {"comment before picture", Header() + Rec(0x89, "A") + Rec(0x8C, "c"), corrupted,
       WindowTitle("Open Project: ERROR")},
      {"failure after albums were read", Header() + Rec(0x89, "A") + Rec(0x8B, "a.jpg") + Rec(0x84, "on"),
       corrupted, WindowTitle("Open Project: ERROR")},
  };
  window_->Startup();
  OpenModifiedExample();
  window_->OnPictureClicked(0);
  const WindowState before = State();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs_.messages.clear();
    dialogs_.answers.push_back(Answer::kNo);  // keep the unsaved changes unsaved
    Open("refused.qs1", c.bytes);
    ASSERT_EQ(dialogs_.messages.size(), 2u);
    EXPECT_EQ(dialogs_.messages[1], (MessageRequest{c.text, c.title, Buttons::kOk, Icon::kCritical}));
    EXPECT_EQ(State(), before);
  }
}

TEST_F(ProjectCommandsTest, OpenRefusesAnExtensionInCapitals) {
  window_->Startup();
  OpenModifiedExample();
  const WindowState before = State();
  dialogs_.answers.push_back(Answer::kNo);
  std::filesystem::create_directory(PathIn(folder_, "sub"));
  Open("sub/CAPITALS.QS1", ExampleFileBytes());
  EXPECT_EQ(dialogs_.messages, (std::vector<MessageRequest>{kSaveQuestion, kNotAProjectFile}));
  EXPECT_EQ(State(), before);
  EXPECT_EQ(window_->directories().ProjectDirectory, folder_.str());
}

// The save question and the dialogs of New, Open and the close question: each
// answer and each cancel, and where the project ends up.
TEST_F(ProjectCommandsTest, SaveQuestionAnswersAndCancels) {
  enum Command { kNew, kOpen, kClose };
  struct Case {
    const char* name;
    Command command;
    Answer answer;
    bool expect_written;
    bool expect_kept;  // the example project is still shown
    bool expect_modified;
    bool expect_may_close;
  };
  const Case cases[] = {
      {"New, No", kNew, Answer::kNo, false, false, false, true},
      {"New, Yes", kNew, Answer::kYes, true, false, false, true},
      {"Open, No, dialog cancelled", kOpen, Answer::kNo, false, true, true, true},
      {"Open, Yes, dialog cancelled", kOpen, Answer::kYes, true, true, false, true},
      {"Close, No", kClose, Answer::kNo, false, true, true, true},
      {"Close, Yes", kClose, Answer::kYes, true, true, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    window_ = std::make_unique<MainWindowLogic>(dialogs_, clock_, "/opt/quorvale");
    window_->Startup();
    OpenModifiedExample();
    dialogs_.answers.push_back(c.answer);
    bool may_close = true;
    if (c.command == kNew) window_->NewProject();
    if (c.command == kOpen) {
      dialogs_.paths.push_back(std::nullopt);
      window_->OpenProject();
    }
    if (c.command == kClose) may_close = window_->ConfirmClose();
    EXPECT_EQ(dialogs_.messages, std::vector<MessageRequest>{kSaveQuestion});
    EXPECT_EQ(ReadBytes(PathIn(folder_, "example.qs1")) != ExampleFileBytes(), c.expect_written);
    EXPECT_EQ(window_->AlbumRows().size(), c.expect_kept ? 3u : 0u);
    EXPECT_EQ(window_->project().Modified, c.expect_modified);
    EXPECT_EQ(may_close, c.expect_may_close);
    WriteBytes(PathIn(folder_, "example.qs1"), ExampleFileBytes());
  }
}

TEST_F(ProjectCommandsTest, SaveOfAnUntitledProject) {
  FileDialogRequest expected;
  expected.title = "Save Quorvale Project File As ..";
  expected.file_name = "*.qs1";
  expected.default_ext = "qs1";
  expected.filter = "Quorvale Project File (*.qs1)|*.qs1";
  expected.confirm_overwrite = true;  // the dialog asks before replacing a file
  expected.confirm_create = true;

  window_->Startup();
  window_->SaveProject();  // nothing modified: a message, no dialog, nothing written
  EXPECT_EQ(dialogs_.messages, std::vector<MessageRequest>{kNoChanges});
  EXPECT_TRUE(dialogs_.file_dialogs.empty());

  MakeUntitledChanges();
  dialogs_.paths.push_back(std::nullopt);
  window_->SaveProject();
  EXPECT_EQ(dialogs_.file_dialogs, std::vector<FileDialogRequest>{expected});
  EXPECT_TRUE(window_->project().Modified);
  EXPECT_EQ(window_->ProjectName(), "untitled.qs1");

  const std::string path = PathIn(folder_, "holiday.qs1");
  dialogs_.paths.push_back(path);
  window_->SaveProject();
  EXPECT_EQ(window_->ProjectName(), path);
  EXPECT_EQ(window_->WindowCaption(), WindowTitle(path));
  EXPECT_FALSE(window_->project().Modified);
  EXPECT_EQ(window_->directories().ProjectDirectory, "/opt/quorvale/Projects");
  EXPECT_FALSE(std::filesystem::exists("untitled.qs1"));

  // Named now: a further save rewrites the file in place without a dialog, and what
  // it wrote opens as the same project.
  window_->OnPublishDirectoryEdited("/srv/other");
  window_->SaveProject();
  EXPECT_EQ(dialogs_.file_dialogs.size(), 2u);
  const std::string saved = ReadBytes(path);
  EXPECT_EQ(saved, ProjectFileBytes(window_->project(), window_->settings()));
  const WindowState state = State();
  dialogs_.paths.push_back(path);
  window_->OpenProject();
  EXPECT_EQ(State(), state);
}

TEST_F(ProjectCommandsTest, SaveAsAsksBeforeOverwriting) {
  window_->Startup();
  OpenModifiedExample();
  std::filesystem::create_directory(PathIn(folder_, "b"));
  const std::string target = PathIn(folder_, "b") + "/target.qs1";
  WriteBytes(target, "old");

  dialogs_.paths.push_back(std::nullopt);  // cancelled: nothing changes
  const WindowState before = State();
  window_->SaveProjectAs();
  EXPECT_EQ(State(), before);
  EXPECT_EQ(dialogs_.file_dialogs.back().file_name, "");
  EXPECT_EQ(dialogs_.file_dialogs.back().initial_folder, folder_.str());
  EXPECT_FALSE(dialogs_.file_dialogs.back().confirm_overwrite);
  EXPECT_TRUE(dialogs_.file_dialogs.back().confirm_create);

  dialogs_.paths.push_back(target);
  dialogs_.answers.push_back(Answer::kNo);
  window_->SaveProjectAs();
  EXPECT_EQ(dialogs_.messages, std::vector<MessageRequest>{kOverwriteQuestion});
  EXPECT_EQ(ReadBytes(target), "old");
  EXPECT_EQ(State(), before);
  EXPECT_EQ(window_->directories().ProjectDirectory, PathIn(folder_, "b"));

  dialogs_.paths.push_back(target);
  dialogs_.answers.push_back(Answer::kYes);
  window_->SaveProjectAs();
  EXPECT_EQ(ReadBytes(target), ProjectFileBytes(window_->project(), window_->settings()));
  EXPECT_EQ(window_->ProjectName(), target);
  EXPECT_FALSE(window_->project().Modified);

  // Onto a new file no question is asked; unmodified projects may be saved as well.
  dialogs_.messages.clear();
  dialogs_.paths.push_back(PathIn(folder_, "copy.qs1"));
  window_->SaveProjectAs();
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_EQ(ReadBytes(PathIn(folder_, "copy.qs1")), ReadBytes(target));
}

// A save that cannot be written is reported; the project keeps its name and its
// unsaved changes, the old file is untouched, and a closing window stays open.
TEST_F(ProjectCommandsTest, FailedSaveLosesNothing) {
  // Permission bits do not stop a privileged user; there the temporary file is made
  // to fail by a name one step short of the system's limit.
  const std::string probe_folder = PathIn(folder_, "probe");
  std::filesystem::create_directory(probe_folder);
  std::filesystem::permissions(probe_folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  const bool bits_bind = !std::ofstream(probe_folder + "/x").is_open();

  std::filesystem::create_directory(PathIn(folder_, "locked"));
  const std::string name = bits_bind ? "project.qs1" : std::string(246, 'p') + ".qs1";
  window_->Startup();
  Open("locked/" + name, ExampleFileBytes());
  const std::string path = PathIn(folder_, "locked/" + name);
  ASSERT_EQ(window_->ProjectName(), path);
  window_->OnPublishDirectoryEdited("/srv/changed");
  if (bits_bind) {
    std::filesystem::permissions(PathIn(folder_, "locked"),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  }
  const WindowState before = State();

  window_->SaveProject();
  dialogs_.answers.push_back(Answer::kYes);
  EXPECT_FALSE(window_->ConfirmClose());
  dialogs_.answers.push_back(Answer::kYes);
  window_->NewProject();  // the save answering New fails: New stops there

  ASSERT_EQ(dialogs_.messages.size(), 5u);
  for (const std::size_t i : {0u, 2u, 4u}) {
    const MessageRequest& failed = dialogs_.messages[i];
    const std::string prefix = "Could not save the project file (" + path + ").\r\n\r\n";
    EXPECT_EQ(failed.text.substr(0, prefix.size()), prefix);
    EXPECT_GT(failed.text.size(), prefix.size());  // the system's reason follows
    EXPECT_EQ(failed.title, WindowTitle("Save Project: ERROR"));
    EXPECT_EQ(failed.buttons, Buttons::kOk);
    EXPECT_EQ(failed.icon, Icon::kCritical);
  }
  EXPECT_EQ(State(), before);
  EXPECT_TRUE(window_->project().Modified);
  EXPECT_EQ(ReadBytes(path), ExampleFileBytes());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(PathIn(folder_, "locked")), {}), 1);
  for (const char* folder : {"locked", "probe"}) {
    std::filesystem::permissions(PathIn(folder_, folder), std::filesystem::perms::owner_all);
  }
}

TEST_F(ProjectCommandsTest, ClosingAnUntitledProjectWithACancelledSaveStillCloses) {
  window_->Startup();
  EXPECT_TRUE(window_->ConfirmClose());  // nothing modified: no question
  EXPECT_TRUE(dialogs_.messages.empty());
  MakeUntitledChanges();
  dialogs_.answers.push_back(Answer::kYes);
  dialogs_.paths.push_back(std::nullopt);
  EXPECT_TRUE(window_->ConfirmClose());
  EXPECT_EQ(dialogs_.messages, std::vector<MessageRequest>{kSaveQuestion});
  EXPECT_EQ(dialogs_.file_dialogs.size(), 1u);
}

TEST_F(ProjectCommandsTest, ALongCommentReadFromAFileIsShownWhole) {
  const std::string long_comment(250, 'c');
  Open("long.qs1", Header() + Rec(0x87, "1") + Rec(0x89, "Album") + Rec(0x8B, "/p/a.jpg") + Rec(0x8C, long_comment));

  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_EQ(window_->CommentText(), long_comment);
  EXPECT_EQ(window_->project().AlbumPictures(0).At(0).comment, long_comment);
  EXPECT_FALSE(window_->project().Modified);
}

}  // namespace
}  // namespace quorvale
