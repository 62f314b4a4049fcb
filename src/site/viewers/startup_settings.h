#pragma once

#include <string>

#include "model/project.h"

namespace quorvale {

// The program folder's layout: Applications holds one folder of files per viewer,
// Projects is where the project dialogs first open.
std::string ApplicationsFolder(const std::string& program_folder);
std::string ProjectsFolder(const std::string& program_folder);
// Where the program keeps the files of the viewer.
std::string ViewerSourceFolder(const std::string& program_folder, ViewerId viewer);
// After the viewer changed (chosen, or read from a project file) its files follow it:
// a source folder in the program folder becomes the new viewer's folder there; one that
// lies elsewhere is the user's own and stays, unless no such folder exists (a project
// saved by another installation, whose folder the window does not even show).
void FollowViewerSourceFolder(ProjectSettings& settings, const std::string& program_folder);

// The settings the window and the command line start with: the placeholder Publishing
// Directory, pictures published, the Torvexa viewer and its files in the program folder.
ProjectSettings StartupSettings(const std::string& program_folder);

}  // namespace quorvale
