#include "generate/clear_publishing_directory.h"
#include "window/main_window.h"

namespace quorvale {

ClearOutcome MainWindowLogic::ClearPublishingDirectory() {
  // The box's text is the Publishing Directory as typed or browsed, placeholder included.
  return quorvale::ClearPublishingDirectory(settings_.PublishDirectory, dialogs_, clock_);
}

}  // namespace quorvale
