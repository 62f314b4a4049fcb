#include "model/edit_history.h"

#include <gtest/gtest.h>

namespace quorvale {
namespace {

ProjectContent WithTitle(int n) { return {{Album{std::to_string(n), {}}}, {}}; }

// A long session keeps its last kMaxSteps edits; a saved state it forgets can no longer
// be reached, so nothing after that counts as saved.
TEST(EditHistory, KeepsTheLastStepsAndForgetsTheOldest) {
  EditHistory history;
  history.Reset(WithTitle(0));
  const int edits = static_cast<int>(EditHistory::kMaxSteps) + 5;
  for (int n = 1; n <= edits; ++n) history.Record(WithTitle(n), {}, {});
  history.Record(WithTitle(edits), {}, {});  // no change, no step
  int undone = 0;
  while (history.Undo()) ++undone;
  EXPECT_EQ(undone, static_cast<int>(EditHistory::kMaxSteps));
  EXPECT_EQ(history.Current(), WithTitle(5));
  EXPECT_FALSE(history.AtClean());

  // Undo brings back the selection from before the edit, redo the one after it.
  history.Reset(WithTitle(0));
  history.Record(WithTitle(1), Selection{0, 3}, Selection{1, -1});
  EXPECT_EQ(history.Undo()->selection, (Selection{0, 3}));
  EXPECT_TRUE(history.AtClean());
  EXPECT_EQ(history.Redo()->selection, (Selection{1, -1}));
  EXPECT_FALSE(history.Redo().has_value());
}

// A project of 100 albums of 100 pictures.
ProjectContent LargeProject() {
  ProjectContent content;
  for (int a = 0; a < 100; ++a) {
    Album album{"album " + std::to_string(a), {}};
    for (int p = 0; p < 100; ++p) album.pictures.Insert(p, std::to_string(a) + "/" + std::to_string(p), "c");
    content.albums.push_back(std::move(album));
  }
  return content;
}

// Each edit costs the history what it changed, not the project, and undo and redo give
// back exactly the content before and after it.
TEST(EditHistory, StoresWhatAnEditChangedAndPutsItBack) {
  const struct {
    const char* edit;
    void (*apply)(ProjectContent&);
    std::size_t stored_pictures;
  } cases[] = {
      {"comment typed", [](ProjectContent& c) { c.albums[40].pictures.SetComment(7, "Sunset"); }, 2},
      {"album renamed", [](ProjectContent& c) { c.albums[3].title = "Lake"; }, 0},
      {"setting changed", [](ProjectContent& c) { c.settings.KeepLocation = true; }, 0},
      {"picture removed", [](ProjectContent& c) { c.albums[99].pictures.Remove(0); }, 1},
      {"picture moved down 4", [](ProjectContent& c) { c.albums[0].pictures.Move(3, 7); }, 10},
      {"empty album added", [](ProjectContent& c) { c.albums.insert(c.albums.begin() + 50, Album{"new", {}}); }, 0},
      {"album removed", [](ProjectContent& c) { c.albums.erase(c.albums.begin() + 10); }, 100},
      {"albums swapped", [](ProjectContent& c) { std::swap(c.albums[5], c.albums[6]); }, 400},
  };
  const ProjectContent original = LargeProject();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.edit);
    EditHistory history;
    history.Reset(original);
    ProjectContent edited = original;
    c.apply(edited);
    history.Record(edited, {}, {});
    EXPECT_EQ(history.StoredPictures(), c.stored_pictures);
    EXPECT_EQ(history.Current(), edited);
    EXPECT_EQ(history.Undo()->content, original);
    EXPECT_TRUE(history.AtClean());
    EXPECT_EQ(history.Redo()->content, edited);
  }
}

// Typing on in one box is one step, however long; typing back to where it began leaves
// no step and nothing to save.
TEST(EditHistory, TypingInOneBoxIsOneStep) {
  EditHistory history;
  const ProjectContent original = LargeProject();
  history.Reset(original);
  ProjectContent typed = original;
  for (const std::string text : {"S", "Su", "Sun"}) {
    typed.albums[2].pictures.SetComment(4, text);
    history.Record(typed, Selection{2, 4}, Selection{2, 4}, "comment 2/4");
  }
  EXPECT_EQ(history.StoredPictures(), 2u);
  typed.albums[2].pictures.SetComment(4, "c");  // the text it had
  history.Record(typed, Selection{2, 4}, Selection{2, 4}, "comment 2/4");
  EXPECT_FALSE(history.CanUndo());
  EXPECT_TRUE(history.AtClean());

  typed.albums[2].pictures.SetComment(4, "Sun");
  history.Record(typed, Selection{2, 4}, Selection{2, 4}, "comment 2/4");
  EXPECT_EQ(history.Undo()->content, original);
  history.Redo();  // redo closes the run: typing on is a step of its own
  typed.albums[2].pictures.SetComment(4, "Sunset");
  history.Record(typed, Selection{2, 4}, Selection{2, 4}, "comment 2/4");
  EXPECT_EQ(history.Undo()->content.albums[2].pictures.At(4).comment, "Sun");
}

}  // namespace
}  // namespace quorvale
