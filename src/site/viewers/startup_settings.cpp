#include "viewers/startup_settings.h"

#include "platform/file_system.h"
#include "platform/path.h"
#include "viewers/viewer_registry.h"

namespace quorvale {

std::string ApplicationsFolder(const std::string& program_folder) { return JoinPath(program_folder, "Applications"); }

std::string ProjectsFolder(const std::string& program_folder) { return JoinPath(program_folder, "Projects"); }

std::string ViewerSourceFolder(const std::string& program_folder, ViewerId viewer) {
  return JoinPath(ApplicationsFolder(program_folder), ViewerFor(viewer).folder);
}

void FollowViewerSourceFolder(ProjectSettings& settings, const std::string& program_folder) {
  if (settings.ApplicationSourceDirectory.find(program_folder) != std::string::npos ||
      !FolderExists(settings.ApplicationSourceDirectory)) {
    settings.ApplicationSourceDirectory = ViewerSourceFolder(program_folder, settings.ViewerType);
  }
}

ProjectSettings StartupSettings(const std::string& program_folder) {
  ProjectSettings settings;
  settings.ApplicationSourceDirectory = ViewerSourceFolder(program_folder, settings.ViewerType);
  return settings;
}

}  // namespace quorvale
