#pragma once

#include <optional>
#include <string>

#include "model/project.h"
#include "projectfile/project_file_reader.h"

namespace quorvale::cli {

// The settings the desktop program starts with: the placeholder Publishing Directory
// and the program's own Applications/Torvexa as the viewer source.
ProjectSettings StartupSettings();

// Loads PROJECT exactly as the Open command does. A refusal is printed as the message
// box's title and text on standard error and gives nothing.
std::optional<LoadedProject> LoadProjectForCommand(const std::string& path);

}  // namespace quorvale::cli
