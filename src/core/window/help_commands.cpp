#include "help/quick_help.h"
#include "window/main_window.h"

namespace quorvale {

void MainWindowLogic::ShowQuickHelp(int step) {
  const QuickHelpBox* box = QuickHelpForStep(step);
  if (box == nullptr) return;
  Message(box->text(), box->caption, Buttons::kOk, Icon::kInformation);
}

}  // namespace quorvale
