#pragma once

#include <string>

namespace quorvale {

// The help window's topics for what the program does beyond its first release, shown
// after the nine original topics.
std::string GetHtmlViewerHelpText();
std::string GetPicturesHelpText();
std::string GetEditingHelpText();
std::string GetRunHelpText();
std::string GetUploadHelpText();
std::string GetCaptionsHelpText();
std::string GetSortingHelpText();

}  // namespace quorvale
