#include "platform/user_dialogs.h"

namespace quorvale {

Answer DeclinedAnswer(Buttons buttons) {
  switch (buttons) {
    case Buttons::kOkCancel: return Answer::kCancel;
    case Buttons::kYesNo: return Answer::kNo;
    case Buttons::kOk: break;
  }
  return Answer::kOk;
}

}  // namespace quorvale
