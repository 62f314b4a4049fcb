#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "model/project.h"

namespace quorvale {

// What an edit of the project can change and undo brings back: the albums with their
// pictures and comments, and the publishing settings.
struct ProjectContent {
  std::vector<Album> albums;
  ProjectSettings settings;
  bool operator==(const ProjectContent&) const = default;
};

// Where the selection stood; undo and redo put it back with the content.
struct Selection {
  int album = -1;
  int picture = -1;
  bool operator==(const Selection&) const = default;
};

// A state for the window to put back.
struct RestoredState {
  const ProjectContent& content;
  Selection selection;
};

// The undo history of one project: the content after every edit since the project was
// started or opened. Undo goes back one edit and selects what was selected before it;
// redo goes forward again and selects what the edit left selected. The state that was
// last saved is the clean one: being at it means nothing is left to save.
class EditHistory {
 public:
  // The oldest edits are forgotten beyond this many, so a long session stays small.
  static constexpr std::size_t kMaxSteps = 200;

  // A new history whose only state, the clean one, is `content`.
  void Reset(ProjectContent content);

  // Records the edit that led from the current state to `after`; nothing when `after`
  // equals it. An edit with the same non-empty `merge_key` as the one just before it
  // (typing on in the same box) joins that step instead of making a new one. Redo
  // is no longer possible afterwards.
  void Record(ProjectContent after, Selection selection_before, Selection selection_after,
              const std::string& merge_key = std::string());
  // Ends the current run of merged edits: the next edit is a step of its own.
  void CloseMerge() { merge_open_ = false; }

  bool CanUndo() const { return current_ > 0; }
  bool CanRedo() const { return current_ + 1 < states_.size(); }
  std::optional<RestoredState> Undo();
  std::optional<RestoredState> Redo();

  const ProjectContent& Current() const { return states_[current_].content; }
  // The current state is the one saved last.
  void MarkClean();
  bool AtClean() const { return clean_ == current_; }

 private:
  struct State {
    ProjectContent content;
    Selection selection_before;  // when the edit that led here began
    Selection selection_after;   // when it ended
  };

  std::deque<State> states_ = {State{}};
  std::size_t current_ = 0;
  // Index of the saved state; none when it was forgotten or replaced by a new branch.
  std::optional<std::size_t> clean_ = 0;
  std::string merge_key_;
  bool merge_open_ = false;
};

}  // namespace quorvale
