// quorvale-cli import PROJECT FOLDER...: a new project with one album per folder of
// pictures, saved through the same writer as the desktop program's Save.
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <system_error>
#include <variant>

#include "cli/command.h"
#include "imaging/picture_metadata.h"
#include "viewers/startup_settings.h"
#include "platform/native_path.h"
#include "platform/path.h"
#include "platform/program_folder.h"
#include "projectfile/folder_import.h"
#include "projectfile/project_file.h"
#include "vips/module_picture_metadata.h"

namespace quorvale::cli {
namespace {

bool SameProject(const Project& a, const Project& b) {
  if (a.AlbumCount() != b.AlbumCount()) return false;
  for (int i = 0; i < a.AlbumCount(); ++i) {
    if (!(a.AlbumAt(i) == b.AlbumAt(i))) return false;
  }
  return true;
}

// Every picture without a comment takes the caption the file holds, as pictures added
// in the window do.
void AddOwnCaptions(Project& project, PictureMetadataReader& reader) {
  const int selected = project.SelectedAlbum();
  for (int album = 0; album < project.AlbumCount(); ++album) {
    project.SelectAlbum(album);
    for (int j = 0; j < project.AlbumPictures(album).Count(); ++j) {
      const Picture& picture = project.AlbumPictures(album).At(j);
      if (!picture.comment.empty()) continue;
      const auto metadata = reader.Read(picture.path);
      const std::string caption = metadata ? CaptionOf(*metadata) : std::string();
      if (!caption.empty()) project.SetPictureComment(j, caption);
    }
  }
  project.SelectAlbum(selected);
}

class ImportCommand final : public Command {
 public:
  ImportCommand()
      : Command("import",
                "import PROJECT FOLDER... [--publish-dir DIR] [--viewer html|java] [--no-captions] [--force]",
                "Make a new project with one album per folder of pictures.",
                "Makes a new project file PROJECT with one album per FOLDER, in the order given. Each\n"
                "album is titled with its folder's name (blanks trimmed, cut to 200 characters) and\n"
                "holds the folder's pictures (files named .jpg, .jpeg, .gif, .heic, .heif, .hif, .avif,\n"
                ".webp, .png, .tif or .tiff, in any letter case; no subfolders) in natural,\n"
                "case-insensitive name order (img2, Img3, img10). Each file is judged by its content:\n"
                "one that holds no JPEG, GIF, HEIC, AVIF, WebP, PNG or TIFF picture is left out with a\n"
                "warning. An album holds at most 100 pictures: the rest of a larger folder is left out\n"
                "with a warning. Each picture's comment is the caption the file holds, if any (the XMP\n"
                "description, else the IPTC caption, else the Exif image description, else the Exif\n"
                "user comment; a camera's placeholder such as \"OLYMPUS DIGITAL CAMERA\" is no caption),\n"
                "on one line and cut to 200 characters.\n\n"
                "Options:\n"
                "  --publish-dir DIR  the project's Publishing Directory (made absolute); without it the\n"
                "                     project keeps the desktop program's placeholder text\n"
                "  --viewer html|java the project's viewer: html (pages for today's browsers) or java\n"
                "                     (the Torvexa applet, the desktop program's first choice); default: java\n"
                "  --no-captions      leave every comment empty instead of reading the pictures' captions\n"
                "  --force            replace PROJECT when it exists already\n\n"
                "A folder that does not exist or holds no picture is an error, and nothing is written.\n"
                "The file is written whole or not at all (a temporary file renamed into place).\n\n"
                "Exit status: 0 written; 1 written, but pictures were left out; 2 nothing written\n"
                "(bad usage, PROJECT exists without --force, a folder error, a write failure).\n") {
    Positionals("PROJECT and at least one FOLDER", 2, SIZE_MAX, &arguments_);
    Option("--publish-dir", "a folder", &publish_dir_);
    Option("--viewer", "html or java", &viewer_);
    Flag("--no-captions", &no_captions_);
    Flag("--force", &force_);
  }

 private:
  int Execute() override {
    const std::string& project_path = arguments_.front();
    const std::vector<std::string> folders(arguments_.begin() + 1, arguments_.end());
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(NativePath(project_path), error)) && !force_) {
      Complain("\"" + project_path + "\" exists already. Choose another name, or add --force to replace it.");
      return kExitCannotRun;
    }

    FolderImport imported = ImportFolders(folders);
    if (!imported.errors.empty()) {
      for (const std::string& message : imported.errors) Complain(message);
      std::cerr << "Nothing was written.\n";
      return kExitCannotRun;
    }

    if (!no_captions_) {
      ModulePictureMetadata reader;
      AddOwnCaptions(imported.project, reader);
      // Without the imaging module the project is still made, only without captions.
      if (const std::string failure = reader.Failure(); !failure.empty()) {
        std::cerr << "note: the pictures' captions were not read: " << failure << "\n";
      }
    }

    ProjectSettings settings = StartupSettings(ProgramFolder());
    if (publish_dir_) settings.PublishDirectory = AbsolutePath(*publish_dir_);
    if (viewer_ && !ChooseViewer(*viewer_, settings)) return kExitCannotRun;

    // What is written must load back as it is: check the bytes before they reach the disk.
    const std::string bytes = ProjectFileBytes(imported.project, settings);
    const ProjectFileReadResult check = ReadProjectBytes(bytes, project_path, settings);
    const auto* reread = std::get_if<LoadedProject>(&check);
    if (reread == nullptr || !SameProject(reread->project, imported.project) || !(reread->settings == settings)) {
      Complain("these folders cannot be stored in a project file unchanged. Nothing was written.");
      return kExitCannotRun;
    }
    if (const auto reason = SaveProjectFile(project_path, imported.project, settings)) {
      Complain("could not write \"" + project_path + "\": " + *reason);
      return kExitCannotRun;
    }

    for (int album = 0; album < imported.project.AlbumCount(); ++album) {
      const int count = imported.project.AlbumPictures(album).Count();
      std::cout << "Album " << album << ": " << imported.project.AlbumTitles(album) << " (" << count
                << (count == 1 ? " picture)\n" : " pictures)\n");
    }
    for (const std::string& warning : imported.warnings) std::cerr << "warning: " << warning << "\n";
    std::cout << "Wrote " << project_path << "\n";
    return imported.warnings.empty() ? kExitOk : kExitProblems;
  }

  std::vector<std::string> arguments_;
  std::optional<std::string> publish_dir_;
  std::optional<std::string> viewer_;
  bool no_captions_ = false;
  bool force_ = false;
};

const Registered<ImportCommand> kImportRegistered;

}  // namespace
}  // namespace quorvale::cli
