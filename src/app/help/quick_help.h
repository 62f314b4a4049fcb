#pragma once

#include <string>

namespace quorvale {

// The quick help of the five working steps, shown by the step badges of the main window.
std::string GetAlbumHelpText();          // step 1
std::string GetPictureHelpText();        // step 2
std::string GetPublishingDirHelpText();  // step 3
std::string GetGenerationHelpText();     // step 4
std::string GetViewAlbumHelpText();      // step 5

// One badge's box: its caption (for WindowTitle) and its text.
struct QuickHelpBox {
  const char* caption;
  std::string (*text)();
};

// The box of step 1 to 5; nullptr for any other number.
const QuickHelpBox* QuickHelpForStep(int step);

}  // namespace quorvale
