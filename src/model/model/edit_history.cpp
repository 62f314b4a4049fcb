#include "model/edit_history.h"

#include <utility>

namespace quorvale {

void EditHistory::Reset(ProjectContent content) {
  states_.clear();
  states_.push_back(State{std::move(content), {}, {}});
  current_ = 0;
  clean_ = 0;
  merge_open_ = false;
  merge_key_.clear();
}

void EditHistory::Record(ProjectContent after, Selection selection_before, Selection selection_after,
                         const std::string& merge_key) {
  if (after == Current()) return;
  // A merged edit changes the step on top in place. Saving, undoing and redoing close
  // the run, so typing after a save stays undoable back to the saved state.
  const bool merge = merge_open_ && !merge_key.empty() && merge_key == merge_key_;
  if (merge) {
    states_[current_].content = std::move(after);
    states_[current_].selection_after = selection_after;
    return;
  }
  states_.erase(states_.begin() + static_cast<std::ptrdiff_t>(current_ + 1), states_.end());
  if (clean_ && *clean_ > current_) clean_.reset();  // the saved state was undone and is now gone
  states_.push_back(State{std::move(after), selection_before, selection_after});
  ++current_;
  if (states_.size() > kMaxSteps + 1) {
    states_.pop_front();
    --current_;
    if (clean_) clean_ = *clean_ == 0 ? std::nullopt : std::optional<std::size_t>(*clean_ - 1);
  }
  merge_key_ = merge_key;
  merge_open_ = !merge_key.empty();
}

std::optional<RestoredState> EditHistory::Undo() {
  if (!CanUndo()) return std::nullopt;
  merge_open_ = false;
  const Selection selection = states_[current_].selection_before;
  --current_;
  return RestoredState{states_[current_].content, selection};
}

std::optional<RestoredState> EditHistory::Redo() {
  if (!CanRedo()) return std::nullopt;
  merge_open_ = false;
  ++current_;
  return RestoredState{states_[current_].content, states_[current_].selection_after};
}

void EditHistory::MarkClean() {
  clean_ = current_;
  merge_open_ = false;
}

}  // namespace quorvale
