// quorvale-cli import PROJECT FOLDER...: a new project with one album per folder of
// pictures, saved through the same writer as the desktop program's Save.
#include <filesystem>
#include <iostream>
#include <system_error>
#include <variant>

#include "cli/command_registry.h"
#include "cli/project_arguments.h"
#include "platform/file_system.h"
#include "platform/native_path.h"
#include "projectfile/folder_import.h"
#include "projectfile/project_file.h"

namespace quorvale::cli {
namespace {

struct ImportArguments {
  std::string project;
  std::vector<std::string> folders;
  std::optional<std::string> publish_dir;
  bool force = false;
};

std::optional<ImportArguments> ParseImport(const std::vector<std::string>& args) {
  ImportArguments parsed;
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--force") {
      parsed.force = true;
    } else if (args[i] == "--publish-dir") {
      if (i + 1 >= args.size()) {
        std::cerr << "quorvale-cli import: --publish-dir needs a folder.\n";
        return std::nullopt;
      }
      parsed.publish_dir = args[++i];
    } else if (args[i].size() > 1 && args[i].front() == '-') {
      std::cerr << "quorvale-cli import: unknown option '" << args[i] << "'.\n";
      return std::nullopt;
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() < 2) {
    std::cerr << "quorvale-cli import: give the project file and at least one folder of pictures.\n";
    return std::nullopt;
  }
  parsed.project = positional.front();
  parsed.folders.assign(positional.begin() + 1, positional.end());
  return parsed;
}

bool SameProject(const Project& a, const Project& b) {
  if (a.AlbumCount() != b.AlbumCount()) return false;
  for (int i = 0; i < a.AlbumCount(); ++i) {
    if (!(a.AlbumAt(i) == b.AlbumAt(i))) return false;
  }
  return true;
}

std::string AbsolutePath(const std::string& path) {
  std::error_code error;
  const auto absolute = std::filesystem::absolute(NativePath(path), error);
  return error ? path : PathText(absolute.lexically_normal());
}

int RunImport(const std::vector<std::string>& args) {
  const auto parsed = ParseImport(args);
  if (!parsed) {
    std::cerr << "Run 'quorvale-cli import --help' for the usage.\n";
    return kExitCannotRun;
  }
  std::error_code error;
  if (std::filesystem::exists(std::filesystem::symlink_status(NativePath(parsed->project), error)) && !parsed->force) {
    std::cerr << "quorvale-cli import: \"" << parsed->project
              << "\" exists already. Choose another name, or add --force to replace it.\n";
    return kExitCannotRun;
  }

  FolderImport imported = ImportFolders(parsed->folders);
  if (!imported.errors.empty()) {
    for (const std::string& message : imported.errors) std::cerr << "quorvale-cli import: " << message << "\n";
    std::cerr << "Nothing was written.\n";
    return kExitCannotRun;
  }

  ProjectSettings settings = StartupSettings();
  if (parsed->publish_dir) settings.PublishDirectory = AbsolutePath(*parsed->publish_dir);

  // What is written must load back as it is: check the bytes before they reach the disk.
  const std::string bytes = ProjectFileBytes(imported.project, settings);
  const ProjectFileReadResult check = ReadProjectBytes(bytes, parsed->project, settings);
  const auto* reread = std::get_if<LoadedProject>(&check);
  if (reread == nullptr || !SameProject(reread->project, imported.project) || !(reread->settings == settings)) {
    std::cerr << "quorvale-cli import: these folders cannot be stored in a project file unchanged. "
                 "Nothing was written.\n";
    return kExitCannotRun;
  }
  if (const auto reason = SaveProjectFile(parsed->project, imported.project, settings)) {
    std::cerr << "quorvale-cli import: could not write \"" << parsed->project << "\": " << *reason << "\n";
    return kExitCannotRun;
  }

  for (int album = 0; album < imported.project.AlbumCount(); ++album) {
    const int count = imported.project.AlbumPictures(album).Count();
    std::cout << "Album " << album << ": " << imported.project.AlbumTitles(album) << " (" << count
              << (count == 1 ? " picture)\n" : " pictures)\n");
  }
  for (const std::string& warning : imported.warnings) std::cerr << "warning: " << warning << "\n";
  std::cout << "Wrote " << parsed->project << "\n";
  return imported.warnings.empty() ? kExitOk : kExitProblems;
}

const CommandRegistrar kImport({
    "import",
    "import PROJECT FOLDER... [--publish-dir DIR] [--force]",
    "Make a new project with one album per folder of pictures.",
    "Makes a new project file PROJECT with one album per FOLDER, in the order given. Each\n"
    "album is titled with its folder's name (blanks trimmed, cut to 200 characters) and\n"
    "holds the folder's .jpg, .jpeg and .gif files (extension in any letter case, no\n"
    "subfolders) in natural, case-insensitive name order (img2, Img3, img10). An album\n"
    "holds at most 100 pictures: the rest of a larger folder is left out with a warning.\n\n"
    "Options:\n"
    "  --publish-dir DIR  the project's Publishing Directory (made absolute); without it the\n"
    "                     project keeps the desktop program's placeholder text\n"
    "  --force            replace PROJECT when it exists already\n\n"
    "A folder that does not exist or holds no picture is an error, and nothing is written.\n"
    "The file is written whole or not at all (a temporary file renamed into place).\n\n"
    "Exit status: 0 written; 1 written, but pictures were left out; 2 nothing written\n"
    "(bad usage, PROJECT exists without --force, a folder error, a write failure).\n",
    RunImport,
});

}  // namespace
}  // namespace quorvale::cli
