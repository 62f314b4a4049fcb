// Moving, undo and redo, and drops from outside, as the Content page shows them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/support/temp_folder.h"
#include "core/window/window_fixture.h"
#include "window/picture_rows.h"

namespace quorvale {
namespace {

using testing::kPics;
using testing::kSep;
using testing::Messages;
using testing::TempFolder;
using testing::Warning;

class EditCommandsTest : public testing::MainWindowTest {
 public:
  // Seen() without the flag, plus the Publishing Directory once it is set.
  std::string Shown() {
    std::string view = Seen();
    const std::string flag = " modified";
    if (view.ends_with(flag)) view.resize(view.size() - flag.size());
    const ProjectSettings& settings = logic.settings();
    if (settings.PublishDirectory != kPublishDirectoryPlaceholder) view += " pd=" + settings.PublishDirectory;
    if (settings.ViewerType == ViewerId::kHtml) view += " html";
    if (settings.PublishPictures == 0) view += " no-originals";
    if (settings.KeepLocation) view += " keep";
    return view;
  }
  // Two albums: "Album" holding p0.jpg, p1.jpg (captioned "one", selected) and p2.jpg,
  // then "Empty".
  void TwoAlbums() {
    ClearModified();
    logic.Startup();
    logic.publishing().OnPublishDirectoryEdited(kPublishDirectoryPlaceholder);  // New keeps the settings
    AlbumWithPictures(3);
    logic.content().OnPictureClicked(1);
    logic.content().OnCommentEdited("one");
    AddAlbum("Empty");
    logic.content().OnAlbumClicked(0);
    logic.content().OnPictureClicked(1);
  }
  std::string MakeFile(const std::string& relative) {
    const auto path = folder.path() / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << "\xFF\xD8\xFF picture";  // a picture is known by its first bytes
    return path.string();
  }

  TempFolder folder;
};

TEST_F(EditCommandsTest, EveryEditIsOneStepToUndoAndRedo) {
  using Edit = std::function<void(EditCommandsTest&)>;
  const struct {
    const char* what;
    Edit edit;
    std::string after;
  } cases[] = {
      {"add an album", [](auto& t) { t.AddAlbum("New"); }, "Album *New Empty|     Albums: 2 of 3|New|     Pictures: 0||"},
      {"rename an album",
       [](auto& t) {
         t.dialogs.texts.push_back("Renamed");
         t.logic.content().EditAlbumTitle();
       },
       "*Renamed Empty|     Albums: 1 of 2|Renamed|     Pictures: 3|p0.jpg *p1.jpg p2.jpg|one"},
      {"remove an album with its captions", [](auto& t) { t.logic.content().RemoveAlbumCommand(); },
       "*Empty|     Albums: 1 of 1|Empty|     Pictures: 0||"},
      {"move an album down", [](auto& t) { t.logic.content().MoveAlbumDown(); },
       "Empty *Album|     Albums: 2 of 2|Album|     Pictures: 3|p0.jpg *p1.jpg p2.jpg|one"},
      {"drop an album at the end", [](auto& t) { t.logic.content().MoveAlbumBefore(0, 2); },
       "Empty *Album|     Albums: 2 of 2|Album|     Pictures: 3|p0.jpg *p1.jpg p2.jpg|one"},
      {"drag the other album first", [](auto& t) { t.logic.content().MoveAlbumBefore(1, 0); },
       "*Empty Album|     Albums: 1 of 2|Empty|     Pictures: 0||"},
      {"add pictures", [](auto& t) { t.AddPictures({"a.jpg", "b.jpg"}); },
       "*Album Empty|     Albums: 1 of 2|Album|     Pictures: 5|p0.jpg p1.jpg a.jpg *b.jpg p2.jpg|"},
      {"remove a picture", [](auto& t) { t.logic.content().RemovePictureCommand(); },
       "*Album Empty|     Albums: 1 of 2|Album|     Pictures: 2|p0.jpg *p2.jpg|"},
      {"move a picture up", [](auto& t) { t.logic.content().MovePictureUp(); },
       "*Album Empty|     Albums: 1 of 2|Album|     Pictures: 3|*p1.jpg p0.jpg p2.jpg|one"},
      {"drag a picture to the end", [](auto& t) { t.logic.content().MovePictureBefore(1, 3); },
       "*Album Empty|     Albums: 1 of 2|Album|     Pictures: 3|p0.jpg p2.jpg *p1.jpg|one"},
      {"remove two selected pictures",
       [](auto& t) {
         t.logic.content().OnPictureSelectionChanged({0, 1}, 1);
         t.logic.content().RemovePictureCommand();
       },
       "*Album Empty|     Albums: 1 of 2|Album|     Pictures: 1|*p2.jpg|"},
      {"move two selected pictures down",
       [](auto& t) {
         t.logic.content().OnPictureSelectionChanged({1, 0}, 1);
         t.logic.content().MovePictureDown();
       },
       "*Album Empty|     Albums: 1 of 2|Album|     Pictures: 3|p2.jpg p0.jpg *p1.jpg|one"},
      {"drag two pictures, the selected one not among them, to the end",
       [](auto& t) { t.logic.content().MovePicturesBefore({0, 2}, 3); },
       "*Album Empty|     Albums: 1 of 2|Album|     Pictures: 3|p1.jpg *p0.jpg p2.jpg|"},
      {"select all and remove", [](auto& t) {
         t.logic.content().SelectAllPictures();
         t.logic.content().RemovePictureCommand();
       }, "*Album Empty|     Albums: 1 of 2|Album|     Pictures: 0||"},
      {"type on in a comment",
       [](auto& t) {
         for (const char* typed : {"one ", "one t", "one two"}) t.logic.content().OnCommentEdited(typed);
       },
       "*Album Empty|     Albums: 1 of 2|Album|     Pictures: 3|p0.jpg *p1.jpg p2.jpg|one two"},
      {"type a Publishing Directory",
       [](auto& t) {
         for (const char* typed : {"/", "/s", "/site"}) t.logic.publishing().OnPublishDirectoryEdited(typed);
       },
       "*Album Empty|     Albums: 1 of 2|Album|     Pictures: 3|p0.jpg *p1.jpg p2.jpg|one pd=/site"},
      {"browse for a Publishing Directory",
       [](auto& t) {
         t.dialogs.paths.push_back("/srv");
         t.logic.publishing().BrowseForDirectory();
       },
       "*Album Empty|     Albums: 1 of 2|Album|     Pictures: 3|p0.jpg *p1.jpg p2.jpg|one pd=/srv"},
      {"drop picture files",
       [](auto& t) {
         t.logic.DropPaths(DropTarget::kPictureList,
                           {t.MakeFile("peak-10.jpg"), t.MakeFile("peak-1.JPG"), t.MakeFile("peak-2.gif")});
       },
       "*Album Empty|     Albums: 1 of 2|Album|     Pictures: 6|p0.jpg p1.jpg peak-1.JPG peak-2.gif *peak-10.jpg "
       "p2.jpg|"},
      {"drop folders",
       [](auto& t) {
         t.MakeFile("Day 2/a.jpg");
         t.MakeFile("Day 10/c.jpg");
         t.MakeFile("Day 10/b.jpg");
         t.logic.DropPaths(DropTarget::kAlbumList, {t.folder.str() + "/Day 10", t.folder.str() + "/Day 2"});
       },
       "Album Day 2 *Day 10 Empty|     Albums: 3 of 4|Day 10|     Pictures: 2|*b.jpg c.jpg|"},
  };
  for (const auto& c : cases) {
    TwoAlbums();
    const std::string before = Shown();
    c.edit(*this);
    EXPECT_EQ(Shown(), c.after) << c.what;
    logic.session().Undo();
    EXPECT_EQ(Shown(), before) << c.what;
    logic.session().Redo();
    EXPECT_EQ(Shown(), c.after) << c.what;
    EXPECT_TRUE(dialogs.messages.empty()) << c.what;
    std::filesystem::remove_all(folder.path() / "Day 2");
    std::filesystem::remove_all(folder.path() / "Day 10");
  }
}

// Moves that would leave every picture where it is make no step; the selection moves
// with the pictures it holds.
TEST_F(EditCommandsTest, MovesThatChangeNothingMakeNoStep) {
  using Edit = std::function<void(EditCommandsTest&)>;
  const struct {
    const char* what;
    Edit edit;
  } cases[] = {
      {"drop a picture on its own row", [](auto& t) { t.logic.content().MovePictureBefore(1, 1); }},
      {"drop a picture just below itself", [](auto& t) { t.logic.content().MovePictureBefore(1, 2); }},
      {"drop two pictures inside themselves", [](auto& t) { t.logic.content().MovePicturesBefore({0, 1}, 1); }},
      {"drop two pictures below themselves", [](auto& t) { t.logic.content().MovePicturesBefore({1, 2}, 3); }},
      {"drop rows that are not there", [](auto& t) { t.logic.content().MovePicturesBefore({2, 3}, 0); }},
      {"sort an album in name order", [](auto& t) { t.logic.content().SortPicturesByName(); }},
      {"move all pictures up", [](auto& t) {
         t.logic.content().SelectAllPictures();
         t.logic.content().MovePictureUp();
       }},
  };
  for (const auto& c : cases) {
    TwoAlbums();
    while (logic.CanUndo()) logic.session().Undo();
    logic.session().Redo();  // the album
    logic.session().Redo();  // its pictures
    logic.session().Redo();  // the comment
    const std::string before = Shown();
    const bool could_redo = logic.CanRedo();
    c.edit(*this);
    EXPECT_EQ(Shown(), before) << c.what;
    EXPECT_EQ(logic.CanRedo(), could_redo) << c.what;  // no new step took redo away
  }

  // Sort by Name puts file names in natural order as one step, the selection kept.
  TwoAlbums();
  AddPictures({"p10.jpg", "a.jpg"});
  logic.content().SortPicturesByName();
  EXPECT_EQ(Shown(), "*Album Empty|     Albums: 1 of 2|Album|     Pictures: 5|*a.jpg p0.jpg p1.jpg p2.jpg p10.jpg|");
  logic.session().Undo();
  EXPECT_EQ(Shown(), "*Album Empty|     Albums: 1 of 2|Album|     Pictures: 5|p0.jpg p1.jpg p10.jpg *a.jpg p2.jpg|");

  // Up and down are there while the selection can move that way.
  TwoAlbums();
  logic.content().OnPictureSelectionChanged({1, 2}, 2);
  EXPECT_TRUE(logic.content().MovePictureUpEnabled());
  EXPECT_FALSE(logic.content().MovePictureDownEnabled());
  logic.content().MovePictureUp();
  EXPECT_EQ(logic.content().SelectedPictureRows(), (std::vector<int>{0, 1}));
  EXPECT_FALSE(logic.content().MovePictureUpEnabled());
  logic.content().OnAlbumClicked(1);
  EXPECT_FALSE(logic.content().RemovePictureEnabled());
  EXPECT_FALSE(logic.content().SelectAllEnabled());
}

// The settings are edits like any other: undo takes back the last one only, with what
// was typed around it left as it was.
TEST_F(EditCommandsTest, SettingsAreStepsOfTheirOwn) {
  using Edit = std::function<void(EditCommandsTest&)>;
  const struct {
    const char* what;
    Edit edit;
    std::string after;
  } steps[] = {
      {"choose HTML", [](auto& t) { t.logic.publishing().OnViewerOptionChosen(ViewerId::kHtml); }, "|one html"},
      {"tick Keep", [](auto& t) { t.logic.publishing().OnKeepLocationClicked(true); }, "|one html keep"},
      {"type a comment", [](auto& t) { t.logic.content().OnCommentEdited("one!"); }, "|one! html keep"},
      {"untick Keep", [](auto& t) { t.logic.publishing().OnKeepLocationClicked(false); }, "|one! html"},
      {"type again", [](auto& t) { t.logic.content().OnCommentEdited("one!!"); }, "|one!! html"},
      {"undo the typing", [](auto& t) { t.logic.session().Undo(); }, "|one! html"},
      {"undo Untick", [](auto& t) { t.logic.session().Undo(); }, "|one! html keep"},
      {"redo Untick", [](auto& t) { t.logic.session().Redo(); }, "|one! html"},
      {"untick originals", [](auto& t) { t.logic.publishing().OnPublishPicturesClicked(false); },
       "|one! html no-originals"},
      {"choose JAVA", [](auto& t) { t.logic.publishing().OnViewerOptionChosen(ViewerId::kTorvexa); }, "|one!"},
      {"undo JAVA", [](auto& t) { t.logic.session().Undo(); }, "|one! html no-originals"},
      {"undo originals", [](auto& t) { t.logic.session().Undo(); }, "|one! html"},
  };
  TwoAlbums();
  const std::string page = "*Album Empty|     Albums: 1 of 2|Album|     Pictures: 3|p0.jpg *p1.jpg p2.jpg";
  EXPECT_NE(logic.publishing().ViewerHint().find("no Java plug-in"), std::string::npos);  // JAVA, at start
  for (const auto& step : steps) {
    step.edit(*this);
    EXPECT_EQ(Shown(), page + step.after) << step.what;
  }
  EXPECT_EQ(logic.publishing().ViewerHint(), "");  // HTML
}

// The project counts as modified exactly when it differs from the saved state:
// selecting is no edit, and undoing past the save and editing again is one.
TEST_F(EditCommandsTest, ModifiedFollowsTheSavedState) {
  using Edit = std::function<void(EditCommandsTest&)>;
  const struct {
    const char* what;
    Edit edits;
    bool modified;
  } cases[] = {
      {"select another album and picture",
       [](auto& t) {
         t.logic.content().OnAlbumClicked(1);
         t.logic.content().OnAlbumClicked(0);
         t.logic.content().OnPictureClicked(2);
       },
       false},
      {"type, undo", [](auto& t) {
         t.logic.content().OnCommentEdited("x");
         t.logic.session().Undo();
       }, false},
      {"type, undo, type again",
       [](auto& t) {
         t.logic.content().OnCommentEdited("x");
         t.logic.session().Undo();
         t.logic.content().OnCommentEdited("y");
       },
       true},
      {"type and take it out again",
       [](auto& t) {
         t.logic.content().OnCommentEdited("one!");
         t.logic.content().OnCommentEdited("one");
       },
       false},
      {"choose HTML, tick Keep, undo the tick", [](auto& t) {
         t.logic.publishing().OnViewerOptionChosen(ViewerId::kHtml);
         t.logic.publishing().OnKeepLocationClicked(true);
         t.logic.session().Undo();
       }, true},
  };
  for (const auto& c : cases) {
    TwoAlbums();
    dialogs.paths.push_back(folder.str() + kSep + c.what + ".qs1");
    logic.session().SaveProjectAs();
    c.edits(*this);
    EXPECT_EQ(logic.project().Modified, c.modified) << c.what;
  }
}

// Saving marks the clean state: undoing back to it clears Modified, leaving it sets it.
TEST_F(EditCommandsTest, UndoBackToTheSavedStateLeavesNothingToSave) {
  const auto modified = [this] { return logic.project().Modified; };
  AlbumWithPictures(1);
  logic.content().OnCommentEdited("a");
  logic.content().OnCommentEdited("ab");
  dialogs.paths.push_back(folder.str() + kSep + "saved.qs1");
  logic.session().SaveProject();
  EXPECT_FALSE(modified());
  logic.content().OnCommentEdited("abc");  // after a save, typing on is a step of its own
  EXPECT_TRUE(modified());
  logic.session().Undo();
  EXPECT_EQ(logic.content().CommentText(), "ab");
  EXPECT_FALSE(modified());
  logic.session().Undo();  // "a" and "ab" were one step
  EXPECT_EQ(logic.content().CommentText(), "");
  EXPECT_TRUE(modified());
  logic.session().Redo();
  EXPECT_FALSE(modified());

  // Typing in another picture's comment, or again after selecting elsewhere, is a new step.
  AddPictures({"q.jpg"});
  logic.content().OnCommentEdited("q");
  logic.content().OnPictureClicked(0);
  logic.content().OnPictureClicked(1);
  logic.content().OnCommentEdited("qq");
  logic.session().Undo();
  EXPECT_EQ(logic.content().CommentText(), "q");

  // A new edit after an undo drops what could have been redone, the saved state too.
  logic.session().Undo();
  logic.session().Undo();
  EXPECT_EQ(logic.content().PictureRows().size(), 1u);
  AddAlbum("Other");
  EXPECT_FALSE(logic.CanRedo());
  while (logic.CanUndo()) logic.session().Undo();
  EXPECT_TRUE(modified());
  EXPECT_EQ(logic.content().AlbumRows().size(), 0u);

  // A re-added picture keeps its caption and makes no step.
  logic.session().Redo();  // the album
  logic.session().Redo();  // its picture
  logic.content().OnPictureClicked(0);
  logic.content().OnCommentEdited("kept");
  AddPictures({"p0.jpg"});
  EXPECT_EQ(logic.content().CommentText(), "kept");
  logic.session().Undo();
  EXPECT_EQ(logic.content().CommentText(), "");

  // New and Open start an empty history.
  dialogs.answers.push_back(Answer::kNo);
  logic.session().NewProject();
  EXPECT_FALSE(logic.CanUndo() || logic.CanRedo());
}

TEST_F(EditCommandsTest, DroppedPicturesFollowTheAddPictureRules) {
  const std::string kept = MakeFile("kept.jpg");
  dialogs.messages.clear();
  logic.DropPaths(DropTarget::kPictureList, {kept});  // no album yet
  EXPECT_EQ(TakeMessages(), Messages{Warning("Please add an album first!!!", "Add Picture")});

  AlbumWithPictures(98);
  logic.content().OnPictureClicked(0);
  logic.content().OnCommentEdited("caption");
  // Files that hold no picture, whatever their names, are all named (in the order a drop
  // adds them) and left out.
  const std::string text = folder.str() + kSep + "notes.txt", fake = folder.str() + kSep + "fake.heic";
  std::ofstream(text) << "notes";
  std::ofstream(fake) << "....ftypheic";
  logic.DropPaths(DropTarget::kPictureList, {text, fake});
  EXPECT_EQ(TakeMessages(), Messages{Warning("These files cannot be added: they are not JPEG, GIF, HEIC, AVIF, WebP, "
                                             "PNG or TIFF pictures.\r\n" + fake + "\r\n" + text, "Add Picture")});
  EXPECT_EQ(logic.content().PictureRows().size(), 98u);
#ifdef _WIN32
  // A Windows file name cannot hold a line break: nothing to refuse there.
  logic.DropPaths(DropTarget::kPictureList, {kept});
  EXPECT_EQ(TakeMessages(), Messages{});
#else
  const std::string broken = MakeFile("two\nlines.jpg");
  logic.DropPaths(DropTarget::kPictureList, {kept, broken});
  EXPECT_EQ(TakeMessages(), Messages{Warning("These files cannot be added: their names hold a line break, which a "
                                             "project file cannot store.\r\n" + broken, "Add Picture")});
#endif
  logic.DropPaths(DropTarget::kPictureList, {MakeFile("x.jpg"), MakeFile("y.jpg"), kept, MakeFile("z.jpg")});
  EXPECT_EQ(logic.content().PictureRows().size(), 100u);
  EXPECT_EQ(TakeMessages(), Messages{Warning("The limit of 100 pictures in an album is reached. 2 of selected 4 "
                                             "pictures have been added in your current album.",
                                             "Add Picture")});
  logic.DropPaths(DropTarget::kPictureList, {MakeFile("w.jpg")});
  EXPECT_EQ(TakeMessages(), Messages{Warning("A maximum of 100 pictures can be added to an album. Your current "
                                             "album already contains 100 pictures.",
                                             "Add Picture")});
  EXPECT_EQ(logic.project().AlbumPictures(0).At(0).comment, "caption");
}

TEST_F(EditCommandsTest, DroppedFoldersAndProjectFiles) {
  MakeFile("Lake/a.jpg");
  std::filesystem::create_directories(folder.path() / "Nothing");
  logic.DropPaths(DropTarget::kAlbumList, {folder.str() + "/Nothing", folder.str() + "/Lake"});
  EXPECT_EQ(Seen(), "*Lake|     Albums: 1 of 1|Lake|     Pictures: 1|*a.jpg| modified");
  EXPECT_EQ(TakeMessages(), Messages{Warning("Some of the dropped folders or pictures were left out:\r\nThe folder \"" +
                                                 folder.str() + "/Nothing\" holds no picture.",
                                             "Add New Album")});

  // A project file dropped anywhere opens after the save question.
  const std::string project = folder.str() + kSep + "lake.qs1";
  dialogs.paths.push_back(project);
  logic.session().SaveProjectAs();
  AddAlbum("Unsaved");
  dialogs.answers.push_back(Answer::kNo);
  logic.DropPaths(DropTarget::kElsewhere, {project});
  EXPECT_EQ(Seen(), "*Lake|     Albums: 1 of 1|Lake|     Pictures: 1|*a.jpg|");
  EXPECT_EQ(TakeMessages().size(), 1u);  // the save question
  EXPECT_EQ(logic.session().WindowCaption(), "Quorvale 1.0.0 - " + project);

  // `quorvale FILE.qs1` opens it the same way.
  logic.session().NewProject();
  logic.OpenFromCommandLine(project);
  EXPECT_EQ(logic.session().WindowCaption(), "Quorvale 1.0.0 - " + project);
  EXPECT_EQ(logic.content().AlbumRows(), std::vector<std::string>{"Lake"});
}

// A project whose pictures moved says so on opening; Find Moved Pictures points each
// missing one to the file of the same name below a folder, as one step.
TEST_F(EditCommandsTest, MovedPicturesAreCountedAndFound) {
  const std::string old_folder = folder.str() + kSep + "old" + kSep;
  const std::string kept = MakeFile("kept.jpg");
  AddAlbum("Trip");
  dialogs.files.push_back(std::vector<std::string>{old_folder + "a.jpg", old_folder + "b.jpg"});
  logic.content().AddPicturesCommand();
  logic.content().OnCommentEdited("Bee");
  dialogs.files.push_back(std::vector<std::string>{kept});
  logic.content().AddPicturesCommand();
  const std::string project = folder.str() + kSep + "trip.qs1";
  dialogs.paths.push_back(project);
  logic.session().SaveProjectAs();
  MakeFile("new/b.jpg");
  const std::string found_b = folder.str() + kSep + "new" + kSep + "b.jpg";
  MakeFile("new/deeper/b.jpg");  // the folder's own file comes first
  dialogs.paths.push_back(project);
  logic.session().OpenProject();
  EXPECT_EQ(logic.StatusNote(),
            "2 pictures of this project were not found. Edit > Find Moved Pictures... looks for them in a folder.");

  const auto rows = [this] {
    std::string text;
    for (const PictureRowView& row : logic.content().PictureRowDetails()) {
      text += row.name + (row.path.find(kSep + "new" + kSep) != std::string::npos ? "@new" : "") +
              (row.has_comment ? "+comment" : "") + (row.missing ? "!missing" : "") + " ";
    }
    return text;
  };
  EXPECT_EQ(rows(), "a.jpg!missing b.jpg+comment!missing kept.jpg ");
  dialogs.messages.clear();
  dialogs.paths.push_back(folder.str() + kSep + "new");
  logic.FindMovedPictures();
  EXPECT_EQ(rows(), "a.jpg!missing b.jpg@new+comment kept.jpg ");
  EXPECT_EQ(logic.project().AlbumPictures(0).At(1).path, found_b);
  EXPECT_EQ(TakeMessages(), Messages{Warning("1 of 2 missing pictures were found below " + folder.str() + kSep + "new.",
                                             "Find Moved Pictures")});
  EXPECT_EQ(logic.StatusNote(),
            "1 picture of this project was not found. Edit > Find Moved Pictures... looks for them in a folder.");
  EXPECT_TRUE(logic.project().Modified);
  logic.session().Undo();
  EXPECT_EQ(rows(), "a.jpg!missing b.jpg+comment!missing kept.jpg ");
  EXPECT_FALSE(logic.project().Modified);
}

TEST_F(EditCommandsTest, ProjectDialogsStartInTheUsersDocuments) {
  MainWindowLogic window(dialogs, clock, kSep + "prog", folder.str());
  window.Startup();
  const std::string projects = folder.str() + kSep + "Quorvale Projects";
  EXPECT_FALSE(std::filesystem::exists(projects));  // made when a dialog first needs it
  dialogs.paths.push_back(std::nullopt);
  window.session().OpenProject();
  EXPECT_EQ(dialogs.file_dialogs.back().initial_folder, projects);
  EXPECT_TRUE(std::filesystem::is_directory(projects));
  const std::string elsewhere = folder.str() + kSep + "elsewhere.qs1";
  dialogs.paths.push_back(elsewhere);
  window.session().SaveProjectAs();
  dialogs.paths.push_back(std::nullopt);
  window.session().OpenProject();
  EXPECT_EQ(dialogs.file_dialogs.back().initial_folder, folder.str());
}

// Pictures arrive with their own captions as comments, in the step that adds them; a
// comment the user wrote stays, and a placeholder or an unreadable file gives none.
TEST_F(EditCommandsTest, PicturesArriveWithTheirOwnCaptions) {
  metadata.by_name = {{"lake.jpg", {{"Sunset over the lake", "From Exif"}, {}}},
                      {"camera.jpg", {{"OLYMPUS DIGITAL CAMERA", "  "}, {}}},
                      {"p1.jpg", {{"Not over a typed comment"}, {}}},
                      {"a.jpg", {{"", "First day"}, {}}}};
  const auto comments = [this] {
    const int album = logic.project().SelectedAlbum();
    std::string text = logic.project().AlbumTitles(album) + ":";
    for (const Picture& picture : logic.project().AlbumPictures(album)) {
      text += " " + picture.path.substr(picture.path.rfind(kSep) + 1) + "=" + picture.comment;
    }
    return text + " [" + logic.content().CommentText() + "]";
  };
  using Edit = std::function<void(EditCommandsTest&)>;
  const struct {
    const char* what;
    Edit edit;
    std::string after;
  } cases[] = {
      {"add pictures", [](auto& t) { t.AddPictures({"lake.jpg", "camera.jpg", "unread.jpg", "p1.jpg"}); },
       "Album: p0.jpg= p1.jpg=one lake.jpg=Sunset over the lake camera.jpg= unread.jpg= p2.jpg= [one]"},
      {"add one picture", [](auto& t) { t.AddPictures({"lake.jpg"}); },
       "Album: p0.jpg= p1.jpg=one lake.jpg=Sunset over the lake p2.jpg= [Sunset over the lake]"},
      {"drop pictures",
       [](auto& t) { t.logic.DropPaths(DropTarget::kPictureList, {t.MakeFile("camera.jpg"), t.MakeFile("lake.jpg")}); },
       "Album: p0.jpg= p1.jpg=one camera.jpg= lake.jpg=Sunset over the lake p2.jpg= [Sunset over the lake]"},
      {"drop a folder",
       [](auto& t) {
         t.MakeFile("Day 1/lake.jpg");
         t.MakeFile("Day 1/a.jpg");
         t.logic.DropPaths(DropTarget::kAlbumList, {t.folder.str() + "/Day 1"});
       },
       "Day 1: a.jpg=First day lake.jpg=Sunset over the lake [First day]"},
  };
  for (const auto& c : cases) {
    TwoAlbums();
    metadata.requests.clear();
    const std::string before = comments();
    c.edit(*this);
    EXPECT_EQ(comments(), c.after) << c.what;
    ASSERT_EQ(metadata.requests.size(), 1u) << c.what;  // every picture in one reading
    EXPECT_EQ(metadata.requests[0].label, "Reading the pictures' own captions...");
    EXPECT_EQ(metadata.requests[0].title, "Quorvale 1.0.0 - Add Picture");
    logic.session().Undo();
    EXPECT_EQ(comments(), before) << c.what;
    logic.session().Redo();
    EXPECT_EQ(comments(), c.after) << c.what;
    EXPECT_TRUE(dialogs.messages.empty()) << c.what;
    std::filesystem::remove_all(folder.path() / "Day 1");
  }
}

// Sort by Date Taken puts the dated pictures in the order they were taken and the
// undated ones after them in their order, as one step; it changes nothing when it
// cannot sort.
TEST_F(EditCommandsTest, SortByDateTakenPutsUndatedPicturesLastAsOneStep) {
  const std::map<std::string, PictureMetadata> dated = {
      {"p0.jpg", {{}, {"2024:05:03 10:00:00"}}},
      {"p1.jpg", {{}, {"0000:00:00 00:00:00"}}},         // a camera without a clock
      {"p2.jpg", {{}, {"", "2024:05:01 08:00:00"}}},     // digitized only
      {"p4.jpg", {{}, {"2024-05-02T12:00:00+02:00"}}}};  // XMP; p3.jpg cannot be read
  const MessageRequest no_dates{"None of these pictures holds the date it was taken: the album keeps its order.",
                                "Quorvale 1.0.0 - Sort by Date Taken", Buttons::kOk, Icon::kInformation};
  const struct {
    const char* what;
    std::map<std::string, PictureMetadata> metadata;
    bool stop;
    std::string after;  // the picture list; "undone" is what Undo then shows
    std::string undone;
    Messages messages;
  } cases[] = {
      {"dated first", dated, false, "p2.jpg p4.jpg *p0.jpg p1.jpg p3.jpg", "*p0.jpg p1.jpg p2.jpg p3.jpg p4.jpg", {}},
      {"in order already", {{"p0.jpg", {{}, {"2020:01:01 00:00:00"}}}}, false, "*p0.jpg p1.jpg p2.jpg p3.jpg p4.jpg",
       "", {}},
      {"nothing dated", {{"p1.jpg", {{}, {"0000:00:00 00:00:00"}}}}, false, "*p0.jpg p1.jpg p2.jpg p3.jpg p4.jpg", "",
       {no_dates}},
      {"reading stopped", dated, true, "*p0.jpg p1.jpg p2.jpg p3.jpg p4.jpg", "", {}},
  };
  const auto rows = [this] {
    const std::string seen = Seen();
    return seen.substr(seen.find("Pictures: ") + 12, seen.rfind('|') - seen.find("Pictures: ") - 12);
  };
  for (const auto& c : cases) {
    ClearModified();
    logic.Startup();
    AlbumWithPictures(5);
    metadata.by_name = c.metadata;
    metadata.stop = c.stop;
    ASSERT_TRUE(logic.content().SortByDateEnabled());
    logic.content().SortPicturesByDateTaken();
    EXPECT_EQ(rows(), c.after) << c.what;
    EXPECT_EQ(TakeMessages(), c.messages) << c.what;
    logic.session().Undo();  // the sort, or else the pictures' arrival: no sort made a step
    EXPECT_EQ(rows(), c.undone) << c.what;
  }
  metadata.stop = false;
  EXPECT_EQ(metadata.requests.back().label, "Reading when the pictures were taken...");
}

}  // namespace
}  // namespace quorvale
