#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>
#include <tuple>

#include "core/projectfile/project_file_fixtures.h"
#include "core/support/scripted_dialogs.h"
#include "platform/path.h"
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

const MessageRequest kSaveQuestion{"Save current project?", "Quorvale 1.0.0 - Save Project", Buttons::kYesNo,
                                   Icon::kNone};
const MessageRequest kNoChanges{"No changes to save", "Quorvale 1.0.0 - Save Project", Buttons::kOk,
                                Icon::kExclamation};
const MessageRequest kOverwriteQuestion{"Overwrite existing project?",
                                        "Quorvale 1.0.0 - Save Project: Overwrite confirmation", Buttons::kYesNo,
                                        Icon::kNone};
const MessageRequest kNotAProjectFile{"Not a Quorvale Project File.", "Quorvale 1.0.0 - Open Project", Buttons::kOk,
                                      Icon::kCritical};

class ProjectCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_folder_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_.str());  // "untitled.qs1" lives here
  }
  void TearDown() override { std::filesystem::current_path(previous_folder_); }

  // Everything a command may change, for "nothing changed" checks.
  auto State() const {
    const Project& p = window_->project();
    return std::tuple(window_->content().AlbumRows(), window_->content().PictureRows(), p.SelectedAlbum(), p.SelectedPicture(),
                      p.ProjectPath, window_->session().WindowCaption(), p.Modified, window_->settings(),
                      window_->content().CommentText(), window_->publishing().AccessUrl());
  }

  // Opens `bytes` saved as `name`; the open dialog answers with its path.
  void Open(const std::string& name, const std::string& bytes) {
    WriteBytes(PathIn(folder_, name), bytes);
    dialogs_.paths.push_back(PathIn(folder_, name));
    window_->session().OpenProject();
  }

  // Unsaved changes, to the example file opened or to an untitled project; the
  // dialogs' records start empty after it.
  void MakeChanges(bool untitled) {
    if (!untitled) Open("example.qs1", ExampleFileBytes());
    dialogs_.texts.push_back("Holiday");
    window_->content().AddAlbumCommand();
    if (untitled) window_->publishing().OnPublishDirectoryEdited("/srv/web");
    dialogs_.messages.clear();
    dialogs_.file_dialogs.clear();
  }

  void ExpectEmptyUntitled(const char* when) {
    SCOPED_TRACE(when);
    EXPECT_EQ(window_->session().WindowCaption(), "Quorvale 1.0.0 - untitled.qs1");
    EXPECT_EQ(window_->session().ProjectName(), "untitled.qs1");
    EXPECT_TRUE(window_->content().AlbumRows().empty());
    EXPECT_FALSE(window_->project().Modified);
  }

  testing::TempFolder folder_;
  std::filesystem::path previous_folder_;
  testing::ScriptedDialogs dialogs_;
  testing::FixedClock clock_;
  std::unique_ptr<MainWindowLogic> window_ = std::make_unique<MainWindowLogic>(dialogs_, clock_, "/opt/quorvale");
};

// An "untitled.qs1" in the working folder gives New its settings but not its albums;
// a refused one is reported, and the project is still empty.
TEST_F(ProjectCommandsTest, NewIsAlwaysAnEmptyUntitledProject) {
  window_->Startup();
  WriteBytes("untitled.qs1", Header() + Rec(0x83, "/srv/site") + Rec(0x89, "Kept out"));
  window_->session().NewProject();
  EXPECT_EQ(window_->settings().PublishDirectory, "/srv/site");
  EXPECT_EQ(window_->publishing().AccessUrl(), "/srv/site/PhotoAlbum.htm");
  ExpectEmptyUntitled("untitled.qs1 read");

  MakeChanges(false);
  dialogs_.answers.push_back(Answer::kNo);
  WriteBytes("untitled.qs1", "garbage");
  window_->session().NewProject();
  EXPECT_EQ(dialogs_.messages, (std::vector<MessageRequest>{kSaveQuestion, kNotAProjectFile}));
  ExpectEmptyUntitled("untitled.qs1 refused");
}

TEST_F(ProjectCommandsTest, OpenShowsTheFirstAlbumAsSelected) {
  window_->Startup();
  std::filesystem::create_directory(PathIn(folder_, "a"));
  Open("a/example.qs1", ExampleFileBytes());
  const std::string path = PathIn(folder_, "a/example.qs1");

  const FileDialogRequest expected{"Open Quorvale Project File", "", "qs1", "Quorvale Project (*.qs1)|*.qs1",
                                   JoinPath("/opt/quorvale", "Projects")};
  EXPECT_EQ(dialogs_.file_dialogs, std::vector<FileDialogRequest>{expected});
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_EQ(window_->session().ProjectName(), path);
  EXPECT_EQ(window_->session().WindowCaption(), "Quorvale 1.0.0 - " + path);
  EXPECT_EQ(window_->directories().ProjectDirectory, PathIn(folder_, "a"));
  EXPECT_EQ(window_->content().AlbumRows(), (std::vector<std::string>{"Lake trip ~ June", "Garden"}));
  EXPECT_EQ(window_->content().PictureRows(),
            (std::vector<std::string>{"C:\\Photos\\Lake\\boat.jpg", "C:\\Photos\\Lake\\cabin.jpg"}));
  EXPECT_EQ(window_->content().AlbumFrameCaption(), "     Albums: 1 of 2");
  EXPECT_EQ(window_->content().CommentText(), "Morning on the water");
  EXPECT_EQ(window_->publishing().AccessUrl(), "D:/Web/Family/PhotoAlbum.htm");
  EXPECT_FALSE(window_->project().Modified);
}

// Opened and saved projects come first in Recent Projects, each once, eight at most;
// an entry that is gone or refused is reported and leaves the list.
TEST_F(ProjectCommandsTest, RecentProjectsFollowOpenAndSave) {
  window_->Startup();
  const auto path = [this](int n) { return PathIn(folder_, "p" + std::to_string(n) + ".qs1"); };
  std::vector<std::string> kept;
  for (int n = 0; n < 10; ++n) kept.push_back(path(n));
  kept.insert(kept.begin() + 3, "");
  kept.insert(kept.begin() + 1, path(0));
  window_->recent().Assign(kept);
  EXPECT_EQ(window_->recent().Paths(), (std::vector<std::string>{path(0), path(1), path(2), path(3), path(4),
                                                                  path(5), path(6), path(7)}));

  Open("p5.qs1", ExampleFileBytes());
  EXPECT_EQ(window_->recent().Paths().front(), path(5));
  dialogs_.paths.push_back(PathIn(folder_, "saved.qs1"));
  window_->session().SaveProjectAs();
  EXPECT_EQ(window_->recent().Paths(), (std::vector<std::string>{PathIn(folder_, "saved.qs1"), path(5), path(0),
                                                                  path(1), path(2), path(3), path(4), path(6)}));

  WriteBytes(path(0), "garbage");
  dialogs_.messages.clear();
  window_->session().OpenRecentProject(path(0));   // refused: its reason shows
  window_->session().OpenRecentProject(path(1));   // never written
  EXPECT_EQ(dialogs_.messages, (std::vector<MessageRequest>{
                                   kNotAProjectFile,
                                   {"The project " + path(1) + " is no longer there.",
                                    "Quorvale 1.0.0 - Recent Projects", Buttons::kOk, Icon::kExclamation}}));
  EXPECT_EQ(window_->recent().Paths(), (std::vector<std::string>{PathIn(folder_, "saved.qs1"), path(5), path(2),
                                                                  path(3), path(4), path(6)}));
  EXPECT_EQ(window_->session().ProjectName(), PathIn(folder_, "saved.qs1"));
}

// Each refusal shows its own message box and leaves the window exactly as it was,
// including the folder the next dialog starts in when the extension is refused.
TEST_F(ProjectCommandsTest, RefusedFilesChangeNothing) {
  const auto box = [](const char* text, const std::string& title) {
    return MessageRequest{text, "Quorvale 1.0.0 - " + title, Buttons::kOk, Icon::kCritical};
  };
  const MessageRequest corrupted = box("File is corrupted. Cannot load project!!!", "Open Project: ERROR");
  const std::string two_lines = Rec(0x80, "QS") + Rec(0x81, "1.0");
  struct Case { const char* name; std::string file, bytes; MessageRequest message; };
  const Case cases[] = {
      {"lower-case magic", "refused.qs1", Rec(0x80, "qs") + Rec(0x81, "1.0") + Rec(0x82, "0"), kNotAProjectFile},
      {"extension in capitals", "sub/CAPITALS.QS1", ExampleFileBytes(), kNotAProjectFile},
      {"version without ~", "refused.qs1", Rec(0x80, "QS") + "\x81" "1.0\r\n" + Rec(0x82, "0"),
       box("Incorrect version specification. Can not load!!", "Open Project: File Corrupted!!")},
      {"higher version", "refused.qs1", Rec(0x80, "QS") + Rec(0x81, "1.00") + Rec(0x82, "0"),
       box("This project file was created by a higher version of software. Can not load!!",
           "Open Project: Version Conflict!!")},
      {"encoding wrong tag", "refused.qs1", two_lines + Rec(0x83, "0"),
       box("Incorrect encoding specification. Can not load!!", "Open Project: File Corrupted!!")},
      {"encoding type 1", "refused.qs1", two_lines + Rec(0x82, "1"),
       box("Incorrect encoding type. Can not load!!", "Open Project: File Corrupted!!")},
      {"empty file", "refused.qs1", "", corrupted},
      {"failure after albums were read", "refused.qs1",
       Header() + Rec(0x89, "A") + Rec(0x8B, "a.jpg") + Rec(0x84, "on"), corrupted},
  };
  std::filesystem::create_directory(PathIn(folder_, "sub"));
  window_->Startup();
  MakeChanges(false);
  window_->content().OnPictureClicked(0);
  const auto before = State();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs_.messages.clear();
    dialogs_.answers.push_back(Answer::kNo);  // keep the unsaved changes unsaved
    Open(c.file, c.bytes);
    EXPECT_EQ(dialogs_.messages, (std::vector<MessageRequest>{kSaveQuestion, c.message}));
    EXPECT_EQ(State(), before);
    EXPECT_EQ(window_->directories().ProjectDirectory, folder_.str());
  }
}

// The save question of New, Open and closing: each answer, each cancelled dialog,
// what is written and which project is shown afterwards.
TEST_F(ProjectCommandsTest, SaveQuestionAnswersAndCancels) {
  enum Command { kNew, kOpen, kClose };
  // `untitled`: the changed project was never saved; `written`: its file now holds the
  // changes; `kept`: it is still shown; `file_dialogs`: how many, each one cancelled.
  struct Case {
    const char* name;
    Command command;
    bool untitled;
    Answer answer;
    bool written, kept, modified;
    std::size_t file_dialogs;
  };
  const Case cases[] = {
      {"New, No", kNew, false, Answer::kNo, false, false, false, 0},
      {"New, Yes", kNew, false, Answer::kYes, true, false, false, 0},
      {"New untitled, Yes: into untitled.qs1 without a dialog", kNew, true, Answer::kYes, true, false, false, 0},
      {"Open, No", kOpen, false, Answer::kNo, false, true, true, 1},
      {"Open, Yes", kOpen, false, Answer::kYes, true, true, false, 1},
      {"Close, No", kClose, false, Answer::kNo, false, true, true, 0},
      {"Close, Yes", kClose, false, Answer::kYes, true, true, false, 0},
      {"Close untitled, Yes, save dialog cancelled", kClose, true, Answer::kYes, false, true, true, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove("untitled.qs1");
    dialogs_.paths.clear();  // a dialog left unshown by the last case
    window_ = std::make_unique<MainWindowLogic>(dialogs_, clock_, "/opt/quorvale");
    window_->Startup();
    MakeChanges(c.untitled);
    const std::string file = c.untitled ? "untitled.qs1" : PathIn(folder_, "example.qs1");
    const std::string old_bytes = ReadBytes(file);
    const std::string new_bytes = ProjectFileBytes(window_->project(), window_->settings());
    const auto albums = window_->content().AlbumRows();
    const auto settings = window_->settings();
    dialogs_.answers.push_back(c.answer);
    dialogs_.paths.push_back(std::nullopt);
    bool may_close = true;
    if (c.command == kNew) window_->session().NewProject();
    if (c.command == kOpen) window_->session().OpenProject();
    if (c.command == kClose) may_close = window_->ConfirmClose();
    EXPECT_EQ(dialogs_.messages, std::vector<MessageRequest>{kSaveQuestion});
    EXPECT_EQ(dialogs_.file_dialogs.size(), c.file_dialogs);
    EXPECT_EQ(ReadBytes(file), c.written ? new_bytes : old_bytes);
    EXPECT_EQ(window_->content().AlbumRows(), c.kept ? albums : std::vector<std::string>{});
    EXPECT_EQ(window_->settings().PublishDirectory, settings.PublishDirectory);
    EXPECT_EQ(window_->project().Modified, c.modified);
    // Yes asks for the work to be kept: unless it was written, the window stays open.
    EXPECT_EQ(may_close, !(c.command == kClose && c.answer == Answer::kYes && !c.written));
  }
}

TEST_F(ProjectCommandsTest, SaveOfAnUntitledProject) {
  window_->Startup();
  EXPECT_TRUE(window_->ConfirmClose());  // nothing modified: closes without a question
  window_->session().SaveProject();                // nothing modified: a message, no dialog
  EXPECT_EQ(dialogs_.messages, std::vector<MessageRequest>{kNoChanges});
  EXPECT_TRUE(dialogs_.file_dialogs.empty());

  MakeChanges(true);
  dialogs_.paths.push_back(std::nullopt);
  window_->session().SaveProject();
  // The dialog itself confirms before replacing a file (the last two flags).
  const FileDialogRequest expected{"Save Quorvale Project File As ..", "*.qs1", "qs1",
                                   "Quorvale Project File (*.qs1)|*.qs1", JoinPath("/opt/quorvale", "Projects"), true, true};
  EXPECT_EQ(dialogs_.file_dialogs, std::vector<FileDialogRequest>{expected});
  EXPECT_TRUE(window_->project().Modified);
  EXPECT_EQ(window_->session().ProjectName(), "untitled.qs1");

  const std::string path = PathIn(folder_, "holiday.qs1");
  dialogs_.paths.push_back(path);
  window_->session().SaveProject();
  EXPECT_EQ(window_->session().ProjectName(), path);
  EXPECT_EQ(window_->session().WindowCaption(), "Quorvale 1.0.0 - " + path);
  EXPECT_FALSE(window_->project().Modified);
  EXPECT_EQ(window_->directories().ProjectDirectory, JoinPath("/opt/quorvale", "Projects"));
  EXPECT_FALSE(std::filesystem::exists("untitled.qs1"));

  // Named now: a further save rewrites the file in place without a dialog, and what
  // it wrote opens as the same project.
  window_->publishing().OnPublishDirectoryEdited("/srv/other");
  window_->session().SaveProject();
  EXPECT_EQ(dialogs_.file_dialogs.size(), 2u);
  EXPECT_EQ(ReadBytes(path), ProjectFileBytes(window_->project(), window_->settings()));
  const auto state = State();
  dialogs_.paths.push_back(path);
  window_->session().OpenProject();
  EXPECT_EQ(State(), state);
}

TEST_F(ProjectCommandsTest, SaveAsAsksBeforeOverwriting) {
  window_->Startup();
  MakeChanges(false);
  std::filesystem::create_directory(PathIn(folder_, "b"));
  const std::string target = PathIn(folder_, "b/target.qs1");
  WriteBytes(target, "old");

  dialogs_.paths.push_back(std::nullopt);  // cancelled: nothing changes
  const auto before = State();
  window_->session().SaveProjectAs();
  EXPECT_EQ(State(), before);
  // No file name; starts in the last project's folder; the question below, not the
  // dialog, confirms overwriting.
  const FileDialogRequest expected{"Save Quorvale Project File As ..", "", "qs1",
                                   "Quorvale Project File (*.qs1)|*.qs1", folder_.str(), false, true};
  EXPECT_EQ(dialogs_.file_dialogs, std::vector<FileDialogRequest>{expected});

  dialogs_.paths.push_back(target);
  dialogs_.answers.push_back(Answer::kNo);
  window_->session().SaveProjectAs();
  EXPECT_EQ(dialogs_.messages, std::vector<MessageRequest>{kOverwriteQuestion});
  EXPECT_EQ(ReadBytes(target), "old");
  EXPECT_EQ(State(), before);
  EXPECT_EQ(window_->directories().ProjectDirectory, PathIn(folder_, "b"));

  dialogs_.paths.push_back(target);
  dialogs_.answers.push_back(Answer::kYes);
  window_->session().SaveProjectAs();
  EXPECT_EQ(ReadBytes(target), ProjectFileBytes(window_->project(), window_->settings()));
  EXPECT_EQ(window_->session().ProjectName(), target);
  EXPECT_FALSE(window_->project().Modified);

  // Onto a new file no question is asked; unmodified projects may be saved as well.
  dialogs_.messages.clear();
  dialogs_.paths.push_back(PathIn(folder_, "copy.qs1"));
  window_->session().SaveProjectAs();
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_EQ(ReadBytes(PathIn(folder_, "copy.qs1")), ReadBytes(target));
}

// A save that cannot be written is reported; the project keeps its name and its
// unsaved changes, the old file is untouched, and a closing window stays open.
TEST_F(ProjectCommandsTest, FailedSaveLosesNothing) {
  namespace fs = std::filesystem;
  // Permission bits do not stop a privileged user; there the writes are made to fail
  // by a file-size limit, which binds every user.
  fs::create_directory(PathIn(folder_, "probe"));
  fs::permissions(PathIn(folder_, "probe"), fs::perms::owner_read | fs::perms::owner_exec);
  const bool bits_bind = !std::ofstream(PathIn(folder_, "probe/x")).is_open();

  fs::create_directory(PathIn(folder_, "locked"));
  const std::string name = "locked/project.qs1";
  const std::string path = PathIn(folder_, name);
  window_->Startup();
  Open(name, ExampleFileBytes());
  window_->publishing().OnPublishDirectoryEdited("/srv/changed");
#ifdef _WIN32
  // Windows keeps no permission bits for folders, but refuses to replace a file that
  // is open without leave to delete it, as the C library opens files.
  static_cast<void>(bits_bind);
  std::ifstream in_use(NativePath(path));
#else
  rlimit size_limit{};
  getrlimit(RLIMIT_FSIZE, &size_limit);
  const rlimit unlimited_size = size_limit;
  if (bits_bind) {
    fs::permissions(PathIn(folder_, "locked"), fs::perms::owner_read | fs::perms::owner_exec);
  } else {
    std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead of ending the process
    size_limit.rlim_cur = 16;
    setrlimit(RLIMIT_FSIZE, &size_limit);
  }
#endif
  const auto before = State();
  ASSERT_EQ(window_->session().ProjectName(), path);

  window_->session().SaveProject();
  dialogs_.answers.push_back(Answer::kYes);
  EXPECT_FALSE(window_->ConfirmClose());
  dialogs_.answers.push_back(Answer::kYes);
  window_->session().NewProject();  // the save answering New fails: New stops there

  ASSERT_EQ(dialogs_.messages.size(), 5u);
  const std::string prefix = "Could not save the project file (" + path + ").\r\n\r\n";
  for (const std::size_t i : {0u, 2u, 4u}) {
    const MessageRequest& failed = dialogs_.messages[i];
    EXPECT_EQ(failed,
              (MessageRequest{failed.text, "Quorvale 1.0.0 - Save Project: ERROR", Buttons::kOk, Icon::kCritical}));
    EXPECT_EQ(failed.text.substr(0, prefix.size()), prefix);
    EXPECT_GT(failed.text.size(), prefix.size());  // the system's reason follows
  }
#ifdef _WIN32
  in_use.close();
#else
  setrlimit(RLIMIT_FSIZE, &unlimited_size);
#endif
  EXPECT_EQ(State(), before);  // still modified, still under its name
  EXPECT_EQ(ReadBytes(path), ExampleFileBytes());
  EXPECT_EQ(std::distance(fs::directory_iterator(PathIn(folder_, "locked")), {}), 1);
  for (const char* folder : {"locked", "probe"}) fs::permissions(PathIn(folder_, folder), fs::perms::owner_all);
}

// A read-only project file is the owner's wish: Save leaves it alone and says so.
TEST_F(ProjectCommandsTest, AReadOnlyProjectFileIsNotReplaced) {
  window_->Startup();
  Open("kept.qs1", ExampleFileBytes());
  const std::string path = PathIn(folder_, "kept.qs1");
  std::filesystem::permissions(path, std::filesystem::perms::owner_read);
  window_->publishing().OnPublishDirectoryEdited("/srv/changed");
  window_->session().SaveProject();
  EXPECT_EQ(dialogs_.messages.back().text, "Could not save the project file (" + path +
                                               ").\r\n\r\nThe file is read-only. Use Save As to save the project "
                                               "under another name.");
  EXPECT_EQ(ReadBytes(path), ExampleFileBytes());
  EXPECT_TRUE(window_->project().Modified);
}

TEST_F(ProjectCommandsTest, ALongCommentReadFromAFileIsShownWhole) {
  const std::string long_comment(250, 'c');
  Open("long.qs1", Header() + Rec(0x89, "Album") + Rec(0x8B, "/p/a.jpg") + Rec(0x8C, long_comment));
  EXPECT_EQ(window_->content().CommentText(), long_comment);
  EXPECT_EQ(window_->project().AlbumPictures(0).At(0).comment, long_comment);
  EXPECT_FALSE(window_->project().Modified);
}

}  // namespace
}  // namespace quorvale
