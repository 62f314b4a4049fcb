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
  history.Record({project.Albums(), settings}, before, CurrentSelection(), merge_key);
}

}  // namespace quorvale
