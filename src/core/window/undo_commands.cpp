// Undo and redo of the project's edits.
#include "window/main_window.h"

namespace quorvale {

void MainWindowLogic::RecordEdit(Selection before, const std::string& merge_key) {
  history_.Record(CurrentContent(), before, CurrentSelection(), merge_key);
}

void MainWindowLogic::StartHistory() { history_.Reset(CurrentContent()); }

void MainWindowLogic::Undo() {
  if (const auto state = history_.Undo()) Restore(*state);
  Notify();
}

void MainWindowLogic::Redo() {
  if (const auto state = history_.Redo()) Restore(*state);
  Notify();
}

void MainWindowLogic::Restore(const RestoredState& state) {
  project_.ReplaceAlbums(state.content.albums, state.selection.album, state.selection.picture);
  settings_ = state.content.settings;
  UpdateAccessUrl();
  // Back at the saved state there is nothing left to save.
  project_.Modified = !history_.AtClean();
  ShowSelection();
  // Undo can take the last album away (or bring one back) while the Generate page shows.
  if (current_page_ == kGeneratePage) generate_enabled_ = project_.AlbumCount() > 0;
}

}  // namespace quorvale
