#pragma once

#include <string>

namespace quorvale {

// The folder that holds Applications/Torvexa and Projects. In a build tree that is the
// executable's folder; an installed copy keeps them under <prefix>/share/quorvale
// beside the bin folder of the executable.
std::string ProgramFolder();

// Where the running executable lives (empty when the system does not say).
std::string ExecutableFolder();

}  // namespace quorvale
