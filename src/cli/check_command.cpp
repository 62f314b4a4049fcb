// quorvale-cli check PROJECT: loads a project as the Open command does and prints what
// it holds, with every picture whose file is missing.
#include <iostream>

#include "cli/command.h"
#include "viewers/viewer_registry.h"
#include "platform/file_system.h"

namespace quorvale::cli {
namespace {

class CheckCommand final : public Command {
 public:
  CheckCommand()
      : Command("check", "check PROJECT",
                "Load a project as the Open command does and print its settings, albums and missing pictures.",
                "Loads PROJECT (a .qs1 file) with every check the Open command makes and prints its\n"
                "settings, then each album's number (as in album-N.htm), title and picture count, and\n"
                "each picture whose file does not exist.\n\n"
                "Exit status: 0 the project loads (missing pictures are listed, not counted as a failure);\n"
                "2 the project is refused (the refusal's title and text are printed on standard error)\n"
                "or the arguments are wrong.\n") {
    Positionals("one PROJECT", 1, 1, &project_);
  }

 private:
  int Execute() override {
    const auto loaded = LoadProject(project_.front());
    if (!loaded) return kExitCannotRun;

    const Project& project = loaded->project;
    const ProjectSettings& settings = loaded->settings;
    std::cout << "Project: " << project.ProjectPath << "\n"
              << "Publishing directory: " << settings.PublishDirectory << "\n"
              << "Publish pictures: " << settings.PublishPictures << "\n"
              << "Viewer: " << ViewerFor(settings.ViewerType).name << "\n"
              << "Viewer source directory: " << settings.ApplicationSourceDirectory << "\n"
              << "Albums: " << project.AlbumCount() << "\n";
    int missing = 0;
    for (int album = 0; album < project.AlbumCount(); ++album) {
      const PictureMap& pictures = project.AlbumPictures(album);
      std::cout << "  Album " << album << ": " << project.AlbumTitles(album) << " (" << pictures.Count()
                << (pictures.Count() == 1 ? " picture)\n" : " pictures)\n");
      for (const Picture& picture : pictures) {
        if (FileExists(picture.path)) continue;
        std::cout << "    missing: " << picture.path << "\n";
        ++missing;
      }
    }
    std::cout << "Missing pictures: " << missing << "\n";
    return kExitOk;
  }

  std::vector<std::string> project_;
};

const Registered<CheckCommand> kCheckRegistered;

}  // namespace
}  // namespace quorvale::cli
