#include "window/content_editor.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/window/window_fixture.h"

namespace quorvale {
namespace {

using testing::kPics;
using testing::kProgram;
using testing::kSep;
using testing::MainWindowTest;
using testing::Messages;
using testing::Repeat;
using testing::Warning;

// A refused command shows its box (or none when there is nothing to act on), opens no
// dialog (the script would throw) and leaves the page and the flag as they were.
TEST_F(MainWindowTest, EveryRefusalShowsItsMessageAndChangesNothing) {
  const auto none = [](MainWindowTest&) {};
  const auto none_selected = [](MainWindowTest& t) { t.AddAlbum("1"); t.AddAlbum("2"); t.logic.content().OnAlbumClicked(-1); };
  const struct {
    void (*setup)(MainWindowTest&);
    void (ContentEditor::*command)();
    Messages shown;
  } cases[] = {
      {none_selected, &ContentEditor::RemoveAlbumCommand,
       {Warning("Please select an Album Index to REMOVE!!!", "Remove Album")}},
      {none, &ContentEditor::AddPicturesCommand, {Warning("Please add an album first!!!", "Add Picture")}},
      {none_selected, &ContentEditor::AddPicturesCommand,
       {Warning("Please select an album to add picture!!!", "Add Picture")}},
      {[](MainWindowTest& t) { t.AlbumWithPictures(100); }, &ContentEditor::AddPicturesCommand,
       {Warning("A maximum of 100 pictures can be added to an album. Your current album already contains 100 "
                "pictures.", "Add Picture")}},
      {[](MainWindowTest& t) { t.AlbumWithPictures(2); t.logic.content().OnPictureClicked(-1); },
       &ContentEditor::RemovePictureCommand, {Warning("Please select a Picture to REMOVE!!!", "Remove Picture")}},
      {none, &ContentEditor::RemoveAlbumCommand, {}},
      {none, &ContentEditor::EditAlbumTitle, {}},
      {[](MainWindowTest& t) { t.AddAlbum("Empty"); }, &ContentEditor::RemovePictureCommand, {}},
  };
  for (const auto& c : cases) {
    logic.Startup();
    c.setup(*this);
    Seen();  // clears the flag the set-up raised
    const std::string before = Seen();
    dialogs.messages.clear();
    (logic.content().*c.command)();
    EXPECT_EQ(TakeMessages(), c.shown) << "case " << &c - cases;
    EXPECT_EQ(Seen(), before) << "case " << &c - cases;
  }
}

TEST_F(MainWindowTest, AlbumSelectionAfterEveryAlbumCommand) {
  AddAlbum("a");
  EXPECT_EQ(Seen(), "*a|     Albums: 1 of 1|a|     Pictures: 0|| modified");
  for (const char* title : {"c", "d", "e"}) AddAlbum(title);
  EXPECT_EQ(Seen(), "a c d *e|     Albums: 4 of 4|e|     Pictures: 0|| modified");
  logic.content().OnAlbumClicked(1);
  EXPECT_EQ(Seen(), "a *c d e|     Albums: 2 of 4|c|     Pictures: 0||");
  AddPictures({"x.jpg", "y.jpg"});
  EXPECT_EQ(Seen(), "a *c d e|     Albums: 2 of 4|c|     Pictures: 2|x.jpg *y.jpg| modified");
  logic.content().OnAlbumClicked(0);
  AddAlbum("  b  ");  // trimmed, after the selected album
  EXPECT_EQ(dialogs.inputs.back(),
            (InputRequest{"Enter the title for new album", "Quorvale 1.0.0 - Add New Album", ""}));
  EXPECT_EQ(Seen(), "a *b c d e|     Albums: 2 of 5|b|     Pictures: 0|| modified");
  logic.content().OnAlbumClicked(2);
  dialogs.texts = {std::nullopt, "    ", std::nullopt};  // Cancel and blanks add nothing, Cancel edits nothing
  logic.content().AddAlbumCommand();
  logic.content().AddAlbumCommand();
  logic.content().EditAlbumTitle();
  EXPECT_EQ(dialogs.inputs.back(),
            (InputRequest{"Edit title for current album", "Quorvale 1.0.0 - Edit Album Title", "c"}));
  EXPECT_EQ(Seen(), "a b *c d e|     Albums: 3 of 5|c|     Pictures: 2|*x.jpg y.jpg|");
  dialogs.texts.push_back("c");  // the unchanged title still counts as an edit
  logic.content().EditAlbumTitle();
  EXPECT_EQ(Seen(), "a b *c d e|     Albums: 3 of 5|c|     Pictures: 2|*x.jpg y.jpg| modified");
  dialogs.texts.push_back(" C ");
  logic.content().EditAlbumTitle();
  EXPECT_EQ(Seen(), "a b *C d e|     Albums: 3 of 5|C|     Pictures: 2|*x.jpg y.jpg| modified");
  logic.content().OnAlbumClicked(1);
  logic.content().RemoveAlbumCommand();  // the next album follows with its pictures
  EXPECT_EQ(Seen(), "a *C d e|     Albums: 2 of 4|C|     Pictures: 2|*x.jpg y.jpg| modified");
  for (int k = 0; k < 4; ++k) logic.content().RemoveAlbumCommand();
  EXPECT_EQ(Seen(), "|     Albums:||     Pictures: 0|| modified");
  EXPECT_FALSE(logic.content().AddPictureEnabled());
}

TEST_F(MainWindowTest, TitlesAndCommentsAreCutToTwoHundredCharacters) {
  const std::string euro = "\xE2\x82\xAC";
  const MessageRequest comment_cut = Warning("Comment length is greater than 200 characters. Input truncated!!",
                                             "Edit Picture Comment: Length Error");
  const MessageRequest title_cut =
      Warning("Title length is greater than 200 characters. Input truncated!!", "Album Title Length Error");
  const std::pair<std::string, std::string> cases[] = {
      {Repeat("x", 250), Repeat("x", 200)},
      {Repeat("a", 199) + Repeat(euro, 10), Repeat("a", 199) + euro},  // a cut never splits a character
      {Repeat(euro, 200), Repeat(euro, 200)},
  };
  AlbumWithPictures(1);
  for (const auto& [typed, stored] : cases) {
    logic.content().OnAlbumClicked(0);
    logic.content().OnCommentEdited(typed);
    AddAlbum(typed);  // goes in as the second album
    EXPECT_EQ(logic.project().AlbumPictures(0).At(0).comment, stored);
    EXPECT_EQ(logic.content().AlbumRows()[1], stored);
    EXPECT_EQ(TakeMessages(), typed == stored ? Messages{} : (Messages{comment_cut, title_cut})) << typed.size();
  }
  AddAlbum("  " + Repeat(euro, 200) + "  ");  // the blanks around a title do not count
  EXPECT_EQ(logic.content().SelectedAlbumLabel(), Repeat(euro, 200));
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainWindowTest, PictureSelectionAndCommentAfterEveryPictureCommand) {
  AlbumWithPictures(3);
  Seen();
  logic.content().OnCommentEdited("first");
  EXPECT_EQ(Seen(), "*Album|     Albums: 1 of 1|Album|     Pictures: 3|*p0.jpg p1.jpg p2.jpg|first modified");
  // Selecting a picture is no edit: the box shows its comment and the project stays as
  // it was.
  logic.content().OnPictureClicked(1);
  EXPECT_EQ(Seen(), "*Album|     Albums: 1 of 1|Album|     Pictures: 3|p0.jpg *p1.jpg p2.jpg|");
  logic.content().OnPictureClicked(1);
  EXPECT_EQ(Seen(), "*Album|     Albums: 1 of 1|Album|     Pictures: 3|p0.jpg *p1.jpg p2.jpg|");
  logic.content().OnCommentEdited("middle");
  logic.content().OnPictureClicked(2);
  logic.content().RemovePictureCommand();  // after the last, the one before shows its comment
  EXPECT_EQ(Seen(), "*Album|     Albums: 1 of 1|Album|     Pictures: 2|p0.jpg *p1.jpg|middle modified");
  logic.content().OnPictureClicked(0);
  AddPictures({"p0.jpg"});  // adding a path the album holds keeps its comment
  EXPECT_EQ(Seen(), "*Album|     Albums: 1 of 1|Album|     Pictures: 2|*p0.jpg p1.jpg|first modified");
  logic.content().RemovePictureCommand();  // the next follows
  EXPECT_EQ(Seen(), "*Album|     Albums: 1 of 1|Album|     Pictures: 1|*p1.jpg|middle modified");
  logic.content().RemovePictureCommand();
  logic.content().OnCommentEdited("lost");  // a comment needs a picture
  EXPECT_EQ(Seen(), "*Album|     Albums: 1 of 1|Album|     Pictures: 0|| modified");
}

TEST_F(MainWindowTest, AddPicturesUsesTheOpenDialogAndKeepsTheFolder) {
  AlbumWithPictures(5);
  EXPECT_EQ(dialogs.file_dialogs.front(),
            (FileDialogRequest{"Select Picture File", "", "jpg", "Image File (*.jpg, *.jpeg, *.gif, *.heic, *.heif, *.hif, *.avif, *.webp, *.png, "
                               "*.tif, *.tiff)|*.jpg;*.jpeg;*.gif;*.heic;*.heif;*.hif;*.avif;*.webp;*.png;*.tif;*.tiff",
                               kProgram, false, false}));
  logic.content().OnPictureClicked(1);
  AddPictures({"new 1.jpg", "new 2.jpg"});  // after the selected picture; file names with blanks
  EXPECT_EQ(logic.content().PictureRows()[3], kPics + kSep + "new 2.jpg");
  EXPECT_EQ(logic.project().SelectedPicture(), 3);
  AddPictures({"one.jpg"});  // several keep their folder with its separator, one without
  EXPECT_EQ(dialogs.file_dialogs.back().initial_folder, kPics + kSep);
  EXPECT_EQ(logic.directories().LastPictureDirectory, kPics);
  ClearModified();
  dialogs.files.push_back(std::nullopt);
  logic.content().AddPicturesCommand();
  EXPECT_EQ(logic.directories().LastPictureDirectory, kPics);
  EXPECT_FALSE(logic.project().Modified);

  dialogs.files.push_back(std::vector<std::string>{kSep + "a.jpg", kSep + "b.jpg"});  // the root folder
  logic.content().AddPicturesCommand();
  EXPECT_EQ(logic.content().PictureRows()[6], kSep + "b.jpg");
  EXPECT_EQ(logic.directories().LastPictureDirectory, kSep);

  // A name with a line break could not be saved and read back: it is named and left out.
  TakeMessages();
  dialogs.files.push_back(std::vector<std::string>{kPics + kSep + "x\ny.jpg", kPics + kSep + "z.jpg"});
  logic.content().AddPicturesCommand();
  EXPECT_EQ(logic.content().PictureRows().size(), 11u);
  EXPECT_EQ(logic.content().PictureRows()[7], kPics + kSep + "z.jpg");
  EXPECT_EQ(TakeMessages(), Messages{Warning("These files cannot be added: their names hold a line break, which a "
                                             "project file cannot store.\r\n" + kPics + kSep + "x\ny.jpg",
                                             "Add Picture")});
}

TEST_F(MainWindowTest, MultipleAddStopsAtTheLimit) {
  AlbumWithPictures(98);
  AddPictures({"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"});
  EXPECT_EQ(logic.content().PictureRows()[2], kPics + kSep + "b.jpg");
  EXPECT_EQ(logic.content().PictureFrameCaption(), "     Pictures: 100");
  EXPECT_EQ(TakeMessages(), Messages{Warning("The limit of 100 pictures in an album is reached. 2 of selected 5 "
                                             "pictures have been added in your current album.",
                                             "Add Picture")});
}

}  // namespace
}  // namespace quorvale
