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
  // What a save does to the flag, so a test can see the next command set it again.
  void ClearModified() { const_cast<Project&>(logic.project()).Modified = false; }

  ScriptedDialogs dialogs;
  FixedClock clock;
  MainWindowLogic logic;
};

TEST_F(MainWindowTest, StartupShowsAnEmptyUntitledProject) {
  EXPECT_EQ(logic.WindowCaption(), "Quorvale 1.0.0 - untitled.qs1");
  EXPECT_EQ(logic.CurrentPage(), MainWindowLogic::kContentPage);
  EXPECT_TRUE(logic.AlbumRows().empty());
  EXPECT_EQ(logic.AlbumFrameCaption(), "     Albums:");
  EXPECT_EQ(logic.PictureFrameCaption(), "     Pictures: 0");
  EXPECT_FALSE(logic.GenerateEnabled());
  EXPECT_FALSE(logic.AddPictureEnabled());
  EXPECT_FALSE(logic.project().Modified);
  EXPECT_EQ(logic.settings().ViewerType, "Java");
  EXPECT_EQ(logic.settings().PublishPictures, 1);
  EXPECT_FALSE(logic.PublishPicturesEnabled());
  EXPECT_FALSE(logic.PublishLabelsEnabled());
  EXPECT_TRUE(logic.JavaOptionSelected());
  EXPECT_FALSE(logic.HtmlOptionEnabled());
  EXPECT_EQ(logic.settings().ApplicationSourceDirectory, kProgram + kSep + "Applications" + kSep + "Torvexa");
  EXPECT_EQ(logic.directories().ProjectDirectory, kProgram + kSep + "Projects");
  EXPECT_EQ(logic.directories().LastPictureDirectory, kProgram);
  EXPECT_EQ(logic.AccessUrl(), "<CLICK BROWSE TO SELECT PUBLISHING DIRECTORY>/PhotoAlbum.htm");
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainWindowTest, EveryRefusalShowsItsMessageAndChangesNothing) {
  struct Case {
    const char* name;
    std::function<void(MainWindowTest&)> setup;
    std::function<void(MainWindowLogic&)> command;
    MessageRequest message;
  };
  const auto remove_album = [](MainWindowLogic& l) { l.RemoveAlbumCommand(); };
  const auto add_pictures = [](MainWindowLogic& l) { l.AddPicturesCommand(); };
  const auto two_albums_none_selected = [](MainWindowTest& t) {
    t.AddAlbum("one");
    t.AddAlbum("two");
    t.logic.OnAlbumClicked(-1);
  };
  const Case cases[] = {
      {"remove album, none selected", two_albums_none_selected, remove_album,
       {"Please select an Album Index to REMOVE!!!", "Quorvale 1.0.0 - Remove Album", Buttons::kOk,
        Icon::kExclamation}},
      {"add picture, no album", [](MainWindowTest&) {}, add_pictures,
       {"Please add an album first!!!", "Quorvale 1.0.0 - Add Picture", Buttons::kOk, Icon::kExclamation}},
      {"add picture, none selected", two_albums_none_selected, add_pictures,
       {"Please select an album to add picture!!!", "Quorvale 1.0.0 - Add Picture", Buttons::kOk,
        Icon::kExclamation}},
      {"add picture, album full", [](MainWindowTest& t) { t.AlbumWithPictures(100); }, add_pictures,
       {"A maximum of 100 pictures can be added to an album. Your current album already contains 100 pictures.",
        "Quorvale 1.0.0 - Add Picture", Buttons::kOk, Icon::kExclamation}},
      {"remove picture, none selected",
       [](MainWindowTest& t) {
         t.AlbumWithPictures(2);
         t.logic.OnPictureClicked(-1);
       },
       [](MainWindowLogic& l) { l.RemovePictureCommand(); },
       {"Please select a Picture to REMOVE!!!", "Quorvale 1.0.0 - Remove Picture", Buttons::kOk,
        Icon::kExclamation}},
  };
  for (const Case& c : cases) {
    MainWindowTest& t = *this;
    // Start-up runs New, which asks to save the previous case's changes first.
    if (t.logic.project().Modified) t.dialogs.answers.push_back(Answer::kNo);
    t.logic.Startup();
    c.setup(t);
    t.dialogs.messages.clear();
    t.dialogs.file_dialogs.clear();
    const auto rows = t.logic.AlbumRows();
    const auto pictures = t.logic.PictureRows();
    const bool modified = t.logic.project().Modified;
    c.command(t.logic);
    ASSERT_EQ(t.dialogs.messages.size(), 1u) << c.name;
    EXPECT_EQ(t.dialogs.messages[0], c.message) << c.name;
    EXPECT_TRUE(t.dialogs.file_dialogs.empty()) << c.name;
    EXPECT_EQ(t.logic.AlbumRows(), rows) << c.name;
    EXPECT_EQ(t.logic.PictureRows(), pictures) << c.name;
    EXPECT_EQ(t.logic.project().Modified, modified) << c.name;
  }
}

TEST_F(MainWindowTest, SilentRefusals) {
  logic.RemoveAlbumCommand();  // empty project
  logic.EditAlbumTitle();      // nothing selected: no input box
  AddAlbum("Empty");
  logic.RemovePictureCommand();  // no rows
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(dialogs.inputs.size(), 1u);
}

TEST_F(MainWindowTest, AddAlbumTrimsInsertsAfterTheSelectionAndShowsIt) {
  AddAlbum("First");
  AddAlbum("Third");
  logic.OnAlbumClicked(0);
  AddAlbum("  Summer  ");
  EXPECT_EQ(dialogs.inputs.back(), (InputRequest{"Enter the title for new album", "Quorvale 1.0.0 - Add New Album", ""}));
  EXPECT_EQ(logic.AlbumRows(), (std::vector<std::string>{"First", "Summer", "Third"}));
  EXPECT_EQ(logic.project().SelectedAlbum(), 1);
  EXPECT_EQ(logic.SelectedAlbumLabel(), "Summer");
  EXPECT_EQ(logic.AlbumFrameCaption(), "     Albums: 2 of 3");
  EXPECT_EQ(logic.PictureFrameCaption(), "     Pictures: 0");
  EXPECT_TRUE(logic.AddPictureEnabled());
  EXPECT_TRUE(logic.project().Modified);
}

TEST_F(MainWindowTest, CancelledOrBlankTitleChangesNothing) {
  dialogs.texts.push_back(std::nullopt);
  logic.AddAlbumCommand();
  AddAlbum("    ");
  EXPECT_TRUE(logic.AlbumRows().empty());
  EXPECT_FALSE(logic.project().Modified);
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainWindowTest, LongTitlesAreCutToTwoHundredCharacters) {
  struct Case {
    std::string typed, stored;
    bool cut;
  };
  const std::string e_acute = "\xC3\xA9", euro = "\xE2\x82\xAC";
  const Case cases[] = {
      {Repeat("x", 250), Repeat("x", 200), true},
      {Repeat(e_acute, 250), Repeat(e_acute, 200), true},
      {Repeat("a", 199) + Repeat(euro, 10), Repeat("a", 199) + euro, true},
      {"  " + Repeat(euro, 200) + "  ", Repeat(euro, 200), false},  // blanks do not count
  };
  for (const Case& c : cases) {
    dialogs.messages.clear();
    AddAlbum(c.typed);
    EXPECT_EQ(logic.AlbumRows().back(), c.stored);
    if (c.cut) {
      ASSERT_EQ(dialogs.messages.size(), 1u);
      EXPECT_EQ(dialogs.messages[0],
                (MessageRequest{"Title length is greater than 200 characters. Input truncated!!",
                                "Quorvale 1.0.0 - Album Title Length Error", Buttons::kOk, Icon::kExclamation}));
    } else {
      EXPECT_TRUE(dialogs.messages.empty());
    }
  }
}

TEST_F(MainWindowTest, EditAlbumTitle) {
  AddAlbum("Old");
  dialogs.texts.push_back(std::nullopt);
  logic.EditAlbumTitle();
  EXPECT_EQ(dialogs.inputs.back(), (InputRequest{"Edit title for current album", "Quorvale 1.0.0 - Edit Album Title", "Old"}));
  EXPECT_EQ(logic.AlbumRows(), std::vector<std::string>{"Old"});

  logic.OnTabChanged(MainWindowLogic::kContentPage);
  ClearModified();
  dialogs.texts.push_back("Old");  // the unchanged title still counts as an edit
  logic.EditAlbumTitle();
  EXPECT_TRUE(logic.project().Modified);

  dialogs.texts.push_back(" New ");
  logic.EditAlbumTitle();
  EXPECT_EQ(logic.AlbumRows(), std::vector<std::string>{"New"});
  EXPECT_EQ(logic.SelectedAlbumLabel(), "New");
}

TEST_F(MainWindowTest, RemoveAlbumSelectsTheNextAndEmptiesTheLastOne) {
  AddAlbum("A");
  AddAlbum("B");
  AddAlbum("C");
  AddPictures({"c.jpg"});
  logic.OnAlbumClicked(1);
  logic.RemoveAlbumCommand();
  EXPECT_EQ(logic.AlbumRows(), (std::vector<std::string>{"A", "C"}));
  EXPECT_EQ(logic.AlbumFrameCaption(), "     Albums: 2 of 2");
  EXPECT_EQ(logic.SelectedAlbumLabel(), "C");
  EXPECT_EQ(logic.PictureRows(), std::vector<std::string>{Pic("c.jpg")});
  EXPECT_EQ(logic.PictureFrameCaption(), "     Pictures: 1");

  logic.RemoveAlbumCommand();
  logic.RemoveAlbumCommand();
  EXPECT_TRUE(logic.AlbumRows().empty());
  EXPECT_EQ(logic.project().SelectedAlbum(), -1);
  EXPECT_EQ(logic.AlbumFrameCaption(), "     Albums:");
  EXPECT_EQ(logic.SelectedAlbumLabel(), "");
  EXPECT_TRUE(logic.PictureRows().empty());
  EXPECT_EQ(logic.CommentText(), "");
  EXPECT_FALSE(logic.AddPictureEnabled());
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainWindowTest, AlbumCounterAndPictureSide) {
  for (const char* title : {"a", "b", "c", "d", "e"}) AddAlbum(title);
  logic.OnAlbumClicked(1);
  AddPictures({"x.jpg", "y.jpg"});
  logic.OnAlbumClicked(2);
  EXPECT_EQ(logic.AlbumFrameCaption(), "     Albums: 3 of 5");
  EXPECT_EQ(logic.PictureFrameCaption(), "     Pictures: 0");
  EXPECT_TRUE(logic.PictureRows().empty());
  logic.OnAlbumClicked(1);
  EXPECT_EQ(logic.PictureRows(), (std::vector<std::string>{Pic("x.jpg"), Pic("y.jpg")}));
  EXPECT_EQ(logic.project().SelectedPicture(), 0);  // the first picture is selected
  EXPECT_EQ(logic.PictureFrameCaption(), "     Pictures: 2");
}

TEST_F(MainWindowTest, AddPicturesUsesTheOpenDialogAndKeepsTheFolder) {
  AlbumWithPictures(5);
  logic.OnPictureClicked(1);
  AddPictures({"new 1.jpg", "new 2.jpg"});
  const FileDialogRequest& request = dialogs.file_dialogs.front();
  EXPECT_EQ(request.title, "Select Picture File");
  EXPECT_EQ(request.default_ext, "jpg");
  EXPECT_EQ(request.filter, "Image File (*.jpg, *.jpeg, *.gif)|*.jpg;*.jpeg;*.gif");
  EXPECT_EQ(request.initial_folder, kProgram);
  EXPECT_EQ(logic.PictureRows(),
            (std::vector<std::string>{Pic("p0.jpg"), Pic("p1.jpg"), Pic("new 1.jpg"), Pic("new 2.jpg"), Pic("p2.jpg"),
                                      Pic("p3.jpg"), Pic("p4.jpg")}));
  EXPECT_EQ(logic.project().SelectedPicture(), 3);
  EXPECT_EQ(logic.PictureFrameCaption(), "     Pictures: 7");
  EXPECT_EQ(logic.directories().LastPictureDirectory, kPics + kSep);
  EXPECT_EQ(dialogs.file_dialogs.back().initial_folder, kPics + kSep);

  AddPictures({"one.jpg"});
  EXPECT_EQ(logic.directories().LastPictureDirectory, kPics);

  ClearModified();
  dialogs.files.push_back(std::nullopt);
  logic.AddPicturesCommand();
  EXPECT_FALSE(logic.project().Modified);
  EXPECT_EQ(logic.directories().LastPictureDirectory, kPics);
  EXPECT_EQ(logic.PictureRows().size(), 8u);
}

TEST_F(MainWindowTest, PicturesFromTheRootFolderGetOneSeparator) {
  AddAlbum("Root");
  dialogs.files.push_back(std::vector<std::string>{kSep + "a.jpg", kSep + "b.jpg", kSep + "c.jpg"});
  logic.AddPicturesCommand();
  EXPECT_EQ(logic.PictureRows(), (std::vector<std::string>{kSep + "a.jpg", kSep + "b.jpg", kSep + "c.jpg"}));
  EXPECT_EQ(logic.directories().LastPictureDirectory, kSep);
}

TEST_F(MainWindowTest, MultipleAddStopsAtTheLimit) {
  AlbumWithPictures(98);
  AddPictures({"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"});
  EXPECT_EQ(logic.PictureRows().size(), 100u);
  EXPECT_EQ(logic.PictureRows()[2], Pic("b.jpg"));
  EXPECT_EQ(logic.PictureFrameCaption(), "     Pictures: 100");
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0],
            (MessageRequest{"The limit of 100 pictures in an album is reached. 2 of selected 5 pictures have been "
                            "added in your current album.",
                            "Quorvale 1.0.0 - Add Picture", Buttons::kOk, Icon::kExclamation}));
  EXPECT_EQ(logic.directories().LastPictureDirectory, kPics + kSep);
}

TEST_F(MainWindowTest, CommentFollowsTheSelectedPicture) {
  AlbumWithPictures(2);
  logic.OnCommentEdited("first");
  logic.OnPictureClicked(1);
  EXPECT_EQ(logic.CommentText(), "");
  logic.OnCommentEdited("second");
  EXPECT_EQ(logic.project().AlbumPictures(0).At(1).comment, "second");

  // A picture whose comment differs from the box stores it again and marks the project.
  ClearModified();
  logic.OnPictureClicked(0);
  EXPECT_EQ(logic.CommentText(), "first");
  EXPECT_TRUE(logic.project().Modified);

  // Re-adding a path empties its comment.
  AddPictures({"p0.jpg"});
  EXPECT_EQ(logic.CommentText(), "");
  EXPECT_EQ(logic.project().AlbumPictures(0).At(0).comment, "");
}

TEST_F(MainWindowTest, SameCommentLeavesModifiedAlone) {
  AlbumWithPictures(2);
  ClearModified();
  logic.OnPictureClicked(1);
  EXPECT_FALSE(logic.project().Modified);
}

TEST_F(MainWindowTest, TypingWithoutAPictureClearsTheBox) {
  AddAlbum("Empty");
  logic.OnCommentEdited("lost");
  EXPECT_EQ(logic.CommentText(), "");
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainWindowTest, LongCommentsAreCutAndStored) {
  AlbumWithPictures(1);
  const std::string euro = "\xE2\x82\xAC";
  logic.OnCommentEdited(Repeat(euro, 200));
  EXPECT_TRUE(dialogs.messages.empty());
  logic.OnCommentEdited(Repeat(euro, 200) + "x");
  EXPECT_EQ(logic.CommentText(), Repeat(euro, 200));
  EXPECT_EQ(logic.project().AlbumPictures(0).At(0).comment, Repeat(euro, 200));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0],
            (MessageRequest{"Comment length is greater than 200 characters. Input truncated!!",
                            "Quorvale 1.0.0 - Edit Picture Comment: Length Error", Buttons::kOk, Icon::kExclamation}));
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
  EXPECT_EQ(logic.PictureRows(), std::vector<std::string>{Pic("p1.jpg")});
  EXPECT_EQ(logic.CommentText(), "middle");

  logic.RemovePictureCommand();
  EXPECT_TRUE(logic.PictureRows().empty());
  EXPECT_EQ(logic.CommentText(), "");
  EXPECT_EQ(logic.PictureFrameCaption(), "     Pictures: 0");
}

TEST_F(MainWindowTest, AccessUrlFollowsThePublishingDirectory) {
  logic.OnPublishDirectoryEdited("\\\\server\\share\\site");
  EXPECT_EQ(logic.AccessUrl(), "//server/share/site/PhotoAlbum.htm");
  EXPECT_TRUE(logic.project().Modified);
  logic.OnAccessUrlEdited("typed over");
  EXPECT_EQ(logic.AccessUrl(), "//server/share/site/PhotoAlbum.htm");
  logic.OnPublishDirectoryEdited("C:\\My Albums");
  EXPECT_EQ(logic.AccessUrl(), "C:/My Albums/PhotoAlbum.htm");
}

TEST_F(MainWindowTest, BrowseForTheFolder) {
  dialogs.paths.push_back(std::nullopt);
  logic.BrowseForDirectory();
  EXPECT_EQ(dialogs.folder_dialog_titles, std::vector<std::string>{"Select the Publishing Directory ..."});
  EXPECT_EQ(dialogs.folder_dialog_starts, std::vector<std::string>{"<CLICK BROWSE TO SELECT PUBLISHING DIRECTORY>"});
  EXPECT_EQ(logic.settings().PublishDirectory, "<CLICK BROWSE TO SELECT PUBLISHING DIRECTORY>");
  EXPECT_FALSE(logic.project().Modified);

  dialogs.paths.push_back(kSep + "srv" + kSep + "www");
  logic.BrowseForDirectory();
  EXPECT_EQ(logic.settings().PublishDirectory, kSep + "srv" + kSep + "www");
  EXPECT_EQ(logic.AccessUrl(), "/srv/www/PhotoAlbum.htm");
  EXPECT_TRUE(logic.project().Modified);
}

TEST_F(MainWindowTest, TabChangeReevaluatesTheButtons) {
  logic.OnTabChanged(MainWindowLogic::kGeneratePage);
  EXPECT_FALSE(logic.GenerateEnabled());
  AddAlbum("One");
  EXPECT_FALSE(logic.GenerateEnabled());  // only the tab change looks again
  logic.OnTabChanged(MainWindowLogic::kGeneratePage);
  EXPECT_TRUE(logic.GenerateEnabled());
  EXPECT_EQ(logic.CurrentPage(), MainWindowLogic::kGeneratePage);

  logic.OnAlbumClicked(-1);
  logic.OnTabChanged(MainWindowLogic::kContentPage);
  EXPECT_FALSE(logic.AddPictureEnabled());
  EXPECT_FALSE(logic.RemovePictureEnabled());
  EXPECT_EQ(logic.SelectedAlbumLabel(), "");
}

TEST_F(MainWindowTest, AboutBox) {
  logic.ShowAbout();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0],
            (MessageRequest{"Quorvale 1.0.0\r\n\r\nFor updates visit internet:\r\n\r\nhttps://quorvale.example/updates"
                            "\r\n\r\nCopyright (C) 2026 The Quorvale authors. Distributed under the MIT License.",
                            "Quorvale 1.0.0 - About", Buttons::kOk, Icon::kNone}));
}

}  // namespace
}  // namespace quorvale
