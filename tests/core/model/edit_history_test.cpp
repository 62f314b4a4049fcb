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

}  // namespace
}  // namespace quorvale
