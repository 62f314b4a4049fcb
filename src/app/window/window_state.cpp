#include "window/window_state.h"

#include "platform/product.h"

namespace quorvale {

Answer WindowState::Message(const std::string& text, const std::string& caption, Buttons buttons, Icon icon) {
  return dialogs.ShowMessage({text, WindowTitle(caption), buttons, icon});
}

void WindowState::Notify() {
  if (observer) observer->StateChanged();
}

void WindowState::RecordEdit(Selection before, const std::string& merge_key) {
  history.Record(project.Albums(), settings, before, CurrentSelection(), merge_key);
  // Whether anything is left to save follows the history: typing a comment and taking
  // it out again, or undoing back to the save, leaves nothing.
  project.Modified = !history.AtClean();
}

}  // namespace quorvale
