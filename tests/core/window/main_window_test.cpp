#include "window/main_window.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/path.h"
#include "core/support/scripted_dialogs.h"

namespace quorvale {
namespace {

using testing::FixedClock;
using testing::ScriptedDialogs;

const std::string kSep(1, kPathSeparator);
const std::string kProgram = kSep + "prog";
const std::string kPics = kSep + "pics";

MessageRequest Warning(const std::string& text, const std::string& caption) {
  return {text, "Quorvale 1.0.0 - " + caption, Buttons::kOk, Icon::kExclamation};
}

std::string Repeat(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

class MainWindowTest : public ::testing::Test {
 public:
  MainWindowTest() : logic(dialogs, clock, kProgram) { logic.Startup(); }

  void AddAlbum(const std::string& title) {
    dialogs.texts.push_back(title);
    logic.AddAlbumCommand();
  }
  void AddPictures(const std::vector<std::string>& names) {
    std::vector<std::string> paths;
    for (const std::string& name : names) paths.push_back(kPics + kSep + name);
    dialogs.files.push_back(paths);
    logic.AddPicturesCommand();
  }
  // One album "Album" holding the pictures p0 ... p(count - 1).
  void AlbumWithPictures(int count) {
    AddAlbum("Album");
    std::vector<std::string> names;
    for (int k = 0; k < count; ++k) names.push_back("p" + std::to_string(k) + ".jpg");
    if (count > 0) AddPictures(names);
    logic.OnPictureClicked(0);
  }
  std::string Pic(const std::string& name) const { return kPics + kSep + name; }
  // The one box shown since the last call, if exactly one was.
  MessageRequest OnlyMessage() {
    const MessageRequest shown = dialogs.messages.size() == 1
                                     ? dialogs.messages[0]
                                     : MessageRequest{std::to_string(dialogs.messages.size()) + " boxes", "",
                                                      Buttons::kOk, Icon::kNone};
    dialogs.messages.clear();
    return shown;
  }
  // What a save does to the flag, so a test can see the next command set it again.
  void ClearModified() { const_cast<Project&>(logic.project()).Modified = false; }

  ScriptedDialogs dialogs;
  FixedClock clock;
  MainWindowLogic logic;
};

TEST_F(MainWindowTest, StartupShowsAnEmptyUntitledProject) {
  EXPECT_EQ(logic.WindowCaption(), "Quorvale 1.0.0 - untitled.qs1");
  EXPECT_EQ(logic.CurrentPage(), MainWindowLogic::kContentPage);
  EXPECT_EQ(logic.AlbumFrameCaption(), "     Albums:");
  EXPECT_EQ(logic.PictureFrameCaption(), "     Pictures: 0");
  EXPECT_FALSE(logic.GenerateEnabled());
  EXPECT_FALSE(logic.project().Modified);
  EXPECT_EQ(logic.settings().PublishPictures, 1);
  EXPECT_FALSE(logic.PublishPicturesEnabled());
  EXPECT_FALSE(logic.HtmlOptionEnabled());
  EXPECT_EQ(logic.settings().ApplicationSourceDirectory, kProgram + kSep + "Applications" + kSep + "Torvexa");
  EXPECT_EQ(logic.directories().ProjectDirectory, kProgram + kSep + "Projects");
  EXPECT_EQ(logic.AccessUrl(), "<CLICK BROWSE TO SELECT PUBLISHING DIRECTORY>/PhotoAlbum.htm");
}

TEST_F(MainWindowTest, EveryRefusalShowsItsMessageAndChangesNothing) {
  struct Case {
    std::function<void(MainWindowTest&)> setup;
    void (MainWindowLogic::*command)();
    MessageRequest message;
  };
  const auto none_selected = [](MainWindowTest& t) {
    t.AddAlbum("one");
    t.AddAlbum("two");
    t.logic.OnAlbumClicked(-1);
  };
  const Case cases[] = {
      {none_selected, &MainWindowLogic::RemoveAlbumCommand,
       Warning("Please select an Album Index to REMOVE!!!", "Remove Album")},
      {[](MainWindowTest&) {}, &MainWindowLogic::AddPicturesCommand,
       Warning("Please add an album first!!!", "Add Picture")},
      {none_selected, &MainWindowLogic::AddPicturesCommand,
       Warning("Please select an album to add picture!!!", "Add Picture")},
      {[](MainWindowTest& t) { t.AlbumWithPictures(100); }, &MainWindowLogic::AddPicturesCommand,
       Warning("A maximum of 100 pictures can be added to an album. Your current album already contains 100 "
               "pictures.",
               "Add Picture")},
      {[](MainWindowTest& t) { t.AlbumWithPictures(2); t.logic.OnPictureClicked(-1); },
       &MainWindowLogic::RemovePictureCommand, Warning("Please select a Picture to REMOVE!!!", "Remove Picture")},
  };
  for (const Case& c : cases) {
    // Start-up runs New, which asks to save the previous case's changes first.
    if (logic.project().Modified) dialogs.answers.push_back(Answer::kNo);
    logic.Startup();
    c.setup(*this);
    dialogs.messages.clear();
    const auto files_asked = dialogs.file_dialogs.size();
    const auto albums = logic.AlbumRows();
    const auto pictures = logic.PictureRows();
    const bool modified = logic.project().Modified;
    (logic.*c.command)();
    EXPECT_EQ(OnlyMessage(), c.message);
    EXPECT_EQ(dialogs.file_dialogs.size(), files_asked);
    EXPECT_EQ(logic.AlbumRows(), albums);
    EXPECT_EQ(logic.PictureRows(), pictures);
    EXPECT_EQ(logic.project().Modified, modified);
  }
  // Nothing to act on at all: no message either.
  if (logic.project().Modified) dialogs.answers.push_back(Answer::kNo);
  logic.Startup();
  dialogs.messages.clear();
  logic.RemoveAlbumCommand();
  logic.EditAlbumTitle();
  AddAlbum("Empty");
  logic.RemovePictureCommand();
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(dialogs.texts.empty());
}

TEST_F(MainWindowTest, AddAlbumTrimsTheTitleAndShowsTheNewAlbum) {
  AddAlbum("First");
  AddAlbum("Third");
  logic.OnAlbumClicked(0);
  AddAlbum("  Summer  ");
  EXPECT_EQ(dialogs.inputs.back(),
            (InputRequest{"Enter the title for new album", "Quorvale 1.0.0 - Add New Album", ""}));
  EXPECT_EQ(logic.AlbumRows(), (std::vector<std::string>{"First", "Summer", "Third"}));
  EXPECT_EQ(logic.SelectedAlbumLabel(), "Summer");
  EXPECT_EQ(logic.AlbumFrameCaption(), "     Albums: 2 of 3");
  EXPECT_EQ(logic.PictureFrameCaption(), "     Pictures: 0");
  EXPECT_TRUE(logic.AddPictureEnabled());

  dialogs.answers.push_back(Answer::kNo);  // New's save question
  logic.Startup();
  dialogs.texts.push_back(std::nullopt);
  logic.AddAlbumCommand();
  AddAlbum("    ");
  EXPECT_TRUE(logic.AlbumRows().empty());
  EXPECT_FALSE(logic.project().Modified);
}

TEST_F(MainWindowTest, LongTitlesAreCutToTwoHundredCharacters) {
  const std::string e_acute = "\xC3\xA9", euro = "\xE2\x82\xAC";
  const std::pair<std::string, std::string> cases[] = {
      {Repeat("x", 250), Repeat("x", 200)},
      {Repeat(e_acute, 250), Repeat(e_acute, 200)},
      {Repeat("a", 199) + Repeat(euro, 10), Repeat("a", 199) + euro},  // a cut never splits a character
  };
  for (const auto& [typed, stored] : cases) {
    AddAlbum(typed);
    EXPECT_EQ(logic.AlbumRows().back(), stored);
    EXPECT_EQ(OnlyMessage(), Warning("Title length is greater than 200 characters. Input truncated!!",
                                     "Album Title Length Error"));
  }
  AddAlbum("  " + Repeat(euro, 200) + "  ");  // the blanks around it do not count
  EXPECT_EQ(logic.AlbumRows().back(), Repeat(euro, 200));
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainWindowTest, EditAlbumTitle) {
  AddAlbum("Old");
  dialogs.texts.push_back(std::nullopt);
  logic.EditAlbumTitle();
  EXPECT_EQ(dialogs.inputs.back(),
            (InputRequest{"Edit title for current album", "Quorvale 1.0.0 - Edit Album Title", "Old"}));
  EXPECT_EQ(logic.AlbumRows(), std::vector<std::string>{"Old"});
  ClearModified();
  dialogs.texts.push_back("Old");  // the unchanged title still counts as an edit
  logic.EditAlbumTitle();
  EXPECT_TRUE(logic.project().Modified);
  dialogs.texts.push_back(" New ");
  logic.EditAlbumTitle();
  EXPECT_EQ(logic.AlbumRows(), std::vector<std::string>{"New"});
  EXPECT_EQ(logic.SelectedAlbumLabel(), "New");
}

TEST_F(MainWindowTest, RemoveAlbumShowsTheNextAndEmptiesAfterTheLast) {
  for (const char* title : {"A", "B", "C"}) AddAlbum(title);
  AddPictures({"c.jpg"});
  logic.OnAlbumClicked(1);
  logic.RemoveAlbumCommand();
  EXPECT_EQ(logic.AlbumFrameCaption(), "     Albums: 2 of 2");
  EXPECT_EQ(logic.SelectedAlbumLabel(), "C");
  EXPECT_EQ(logic.PictureRows(), std::vector<std::string>{Pic("c.jpg")});
  EXPECT_EQ(logic.PictureFrameCaption(), "     Pictures: 1");

  logic.RemoveAlbumCommand();
  logic.RemoveAlbumCommand();
  EXPECT_EQ(logic.AlbumFrameCaption(), "     Albums:");
  EXPECT_EQ(logic.SelectedAlbumLabel(), "");
  EXPECT_TRUE(logic.PictureRows().empty());
  EXPECT_EQ(logic.CommentText(), "");
  EXPECT_FALSE(logic.AddPictureEnabled());
}

TEST_F(MainWindowTest, SelectingAnAlbumShowsItsPictures) {
  for (const char* title : {"a", "b", "c", "d", "e"}) AddAlbum(title);
  logic.OnAlbumClicked(1);
  AddPictures({"x.jpg", "y.jpg"});
  logic.OnAlbumClicked(2);
  EXPECT_EQ(logic.AlbumFrameCaption(), "     Albums: 3 of 5");
  EXPECT_EQ(logic.PictureFrameCaption(), "     Pictures: 0");
  logic.OnAlbumClicked(1);
  EXPECT_EQ(logic.PictureRows(), (std::vector<std::string>{Pic("x.jpg"), Pic("y.jpg")}));
  EXPECT_EQ(logic.project().SelectedPicture(), 0);
  EXPECT_EQ(logic.PictureFrameCaption(), "     Pictures: 2");
}

TEST_F(MainWindowTest, AddPicturesUsesTheOpenDialogAndKeepsTheFolder) {
  AlbumWithPictures(5);
  const FileDialogRequest& request = dialogs.file_dialogs.front();
  EXPECT_EQ(request.title, "Select Picture File");
  EXPECT_EQ(request.default_ext, "jpg");
  EXPECT_EQ(request.filter, "Image File (*.jpg, *.jpeg, *.gif)|*.jpg;*.jpeg;*.gif");
  EXPECT_EQ(request.initial_folder, kProgram);
  logic.OnPictureClicked(1);
  AddPictures({"new 1.jpg", "new 2.jpg"});
  EXPECT_EQ(logic.PictureRows()[3], Pic("new 2.jpg"));
  EXPECT_EQ(logic.project().SelectedPicture(), 3);
  EXPECT_EQ(logic.PictureFrameCaption(), "     Pictures: 7");
  EXPECT_EQ(dialogs.file_dialogs.back().initial_folder, kPics + kSep);

  AddPictures({"one.jpg"});
  EXPECT_EQ(logic.directories().LastPictureDirectory, kPics);
  ClearModified();
  dialogs.files.push_back(std::nullopt);
  logic.AddPicturesCommand();
  EXPECT_FALSE(logic.project().Modified);
  EXPECT_EQ(logic.directories().LastPictureDirectory, kPics);

  dialogs.files.push_back(std::vector<std::string>{kSep + "a.jpg", kSep + "b.jpg"});  // the root folder
  logic.AddPicturesCommand();
  EXPECT_EQ(logic.PictureRows()[6], kSep + "b.jpg");
  EXPECT_EQ(logic.directories().LastPictureDirectory, kSep);
}

TEST_F(MainWindowTest, MultipleAddStopsAtTheLimit) {
  AlbumWithPictures(98);
  AddPictures({"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"});
  EXPECT_EQ(logic.PictureRows().size(), 100u);
  EXPECT_EQ(logic.PictureRows()[2], Pic("b.jpg"));
  EXPECT_EQ(logic.PictureFrameCaption(), "     Pictures: 100");
  EXPECT_EQ(OnlyMessage(), Warning("The limit of 100 pictures in an album is reached. 2 of selected 5 pictures "
                                   "have been added in your current album.",
                                   "Add Picture"));
  EXPECT_EQ(logic.directories().LastPictureDirectory, kPics + kSep);
}

TEST_F(MainWindowTest, CommentFollowsTheSelectedPicture) {
  AlbumWithPictures(2);
  logic.OnCommentEdited("first");
  logic.OnPictureClicked(1);
  EXPECT_EQ(logic.CommentText(), "");
  logic.OnCommentEdited("second");
  EXPECT_EQ(logic.project().AlbumPictures(0).At(1).comment, "second");

  // A picture whose comment differs from the box stores it again and marks the project;
  // one whose comment the box already shows does not.
  ClearModified();
  logic.OnPictureClicked(1);
  EXPECT_FALSE(logic.project().Modified);
  logic.OnPictureClicked(0);
  EXPECT_EQ(logic.CommentText(), "first");
  EXPECT_TRUE(logic.project().Modified);

  AddPictures({"p0.jpg"});  // re-adding a path empties its comment
  EXPECT_EQ(logic.project().AlbumPictures(0).At(0).comment, "");
  EXPECT_EQ(logic.CommentText(), "");
}

TEST_F(MainWindowTest, LongCommentsAreCutAndCommentsNeedAPicture) {
  AddAlbum("Empty");
  logic.OnCommentEdited("lost");
  EXPECT_EQ(logic.CommentText(), "");

  AlbumWithPictures(1);
  const std::string euro = "\xE2\x82\xAC";
  logic.OnCommentEdited(Repeat(euro, 200));
  EXPECT_TRUE(dialogs.messages.empty());
  logic.OnCommentEdited(Repeat(euro, 200) + "x");
  EXPECT_EQ(logic.CommentText(), Repeat(euro, 200));
  EXPECT_EQ(logic.project().AlbumPictures(1).At(0).comment, Repeat(euro, 200));
  EXPECT_EQ(OnlyMessage(), Warning("Comment length is greater than 200 characters. Input truncated!!",
                                   "Edit Picture Comment: Length Error"));
}

TEST_F(MainWindowTest, RemovePictureSelectsTheNeighbourAndShowsItsComment) {
  AlbumWithPictures(3);
  logic.OnPictureClicked(1);
  logic.OnCommentEdited("middle");
  logic.OnPictureClicked(2);
  logic.RemovePictureCommand();
  EXPECT_EQ(logic.project().SelectedPicture(), 1);
  EXPECT_EQ(logic.CommentText(), "middle");
  EXPECT_EQ(logic.PictureFrameCaption(), "     Pictures: 2");

  logic.OnPictureClicked(0);
  logic.OnCommentEdited("zero");
  logic.RemovePictureCommand();
  EXPECT_EQ(logic.CommentText(), "middle");
  logic.RemovePictureCommand();
  EXPECT_EQ(logic.CommentText(), "");
  EXPECT_EQ(logic.PictureFrameCaption(), "     Pictures: 0");
}

TEST_F(MainWindowTest, AccessUrlFollowsThePublishingDirectory) {
  dialogs.paths.push_back(std::nullopt);
  logic.BrowseForDirectory();
  EXPECT_EQ(dialogs.folder_dialog_titles, std::vector<std::string>{"Select the Publishing Directory ..."});
  EXPECT_EQ(dialogs.folder_dialog_starts, std::vector<std::string>{"<CLICK BROWSE TO SELECT PUBLISHING DIRECTORY>"});
  EXPECT_FALSE(logic.project().Modified);

  logic.OnPublishDirectoryEdited("\\\\server\\share\\site");
  EXPECT_EQ(logic.AccessUrl(), "//server/share/site/PhotoAlbum.htm");
  EXPECT_TRUE(logic.project().Modified);
  logic.OnAccessUrlEdited("typed over");
  EXPECT_EQ(logic.AccessUrl(), "//server/share/site/PhotoAlbum.htm");
  dialogs.paths.push_back(kSep + "srv" + kSep + "www");
  logic.BrowseForDirectory();
  EXPECT_EQ(logic.AccessUrl(), "/srv/www/PhotoAlbum.htm");
}

TEST_F(MainWindowTest, TabChangeReevaluatesTheButtons) {
  logic.OnTabChanged(MainWindowLogic::kGeneratePage);
  EXPECT_FALSE(logic.GenerateEnabled());
  AddAlbum("One");
  EXPECT_FALSE(logic.GenerateEnabled());  // only the tab change looks again
  logic.OnTabChanged(MainWindowLogic::kGeneratePage);
  EXPECT_TRUE(logic.GenerateEnabled());

  logic.OnAlbumClicked(-1);
  logic.OnTabChanged(MainWindowLogic::kContentPage);
  EXPECT_FALSE(logic.AddPictureEnabled());
  EXPECT_FALSE(logic.RemovePictureEnabled());
  EXPECT_EQ(logic.SelectedAlbumLabel(), "");
}

TEST_F(MainWindowTest, AboutBox) {
  logic.ShowAbout();
  EXPECT_EQ(OnlyMessage(),
            (MessageRequest{"Quorvale 1.0.0\r\n\r\nFor updates visit internet:\r\n\r\nhttps://quorvale.example/updates"
                            "\r\n\r\nCopyright (C) 2026 The Quorvale authors. Distributed under the MIT License.",
                            "Quorvale 1.0.0 - About", Buttons::kOk, Icon::kNone}));
}

}  // namespace
}  // namespace quorvale
