// Writes a project file for the command-line tests and the benchmark:
//   make_project OUT.qs1 PUBLISH_DIR [--album TITLE [PICTURE...]]...
// Each picture gets the comment "Comment N" (its position in the album, from 1).
//   make_project --viewer-files FOLDER
// fills FOLDER with a stand-in for each of the Torvexa viewer's files (its name as its
// bytes), for a viewer source that needs no JDK.
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "model/project.h"
#include "platform/command_line.h"
#include "platform/path.h"
#include "projectfile/project_file_writer.h"
#include "viewers/torvexa/torvexa_viewer.h"

int main(int argc, char** argv) {
  using namespace quorvale;
  const std::vector<std::string> args = ProgramArguments(argc, argv);
  if (args.size() < 2) {
    std::cerr << "usage: make_project OUT.qs1 PUBLISH_DIR [--album TITLE [PICTURE...]]...\n";
    return 2;
  }
  if (args[0] == "--viewer-files") {
    for (const std::string& file : TorvexaViewerDescriptor().files) {
      if (!(std::ofstream(JoinPath(args[1], file), std::ios::binary) << file)) return 1;
    }
    return 0;
  }
  Project project;
  ProjectSettings settings;
  settings.PublishDirectory = args[1];
  for (std::size_t i = 2; i < args.size(); ++i) {
    if (args[i] == "--album" && i + 1 < args.size()) {
      project.SelectAlbum(project.AlbumCount() - 1);
      project.AddAlbum(args[++i]);
      continue;
    }
    if (project.SelectedAlbum() < 0) {
      std::cerr << "make_project: a picture before the first --album\n";
      return 2;
    }
    project.AddPicture(args[i]);
    project.SetPictureComment(project.SelectedPicture(), "Comment " + std::to_string(project.SelectedPicture() + 1));
  }
  if (const auto reason = SaveProjectFile(args[0], project, settings)) {
    std::cerr << "make_project: " << *reason << "\n";
    return 1;
  }
  return 0;
}
