#include "cli/project_arguments.h"

#include <iostream>
#include <variant>

#include "cli/terminal_dialogs.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/program_folder.h"

namespace quorvale::cli {

ProjectSettings StartupSettings() {
  ProjectSettings settings;
  settings.ApplicationSourceDirectory = JoinPath(JoinPath(ProgramFolder(), "Applications"), "Torvexa");
  return settings;
}

std::optional<LoadedProject> LoadProjectForCommand(const std::string& path) {
  if (!FileExists(path)) {
    std::cerr << "quorvale-cli: there is no project file at \"" << path << "\".\n";
    return std::nullopt;
  }
  ProjectFileReadResult result = ReadProjectFile(path, StartupSettings());
  if (auto* refusal = std::get_if<ProjectFileRefusal>(&result)) {
    std::cerr << refusal->message.title << "\n" << ToTerminalText(refusal->message.text) << "\n";
    return std::nullopt;
  }
  return std::get<LoadedProject>(std::move(result));
}

}  // namespace quorvale::cli
