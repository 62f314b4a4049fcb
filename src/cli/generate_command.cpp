// quorvale-cli generate: the window's generation run, driven from the command line.
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/terminal_dialogs.h"
#include "generate/generation_job.h"
#include "vips/vips_picture_imaging.h"
#include "viewers/viewer_registry.h"
#include "platform/clock.h"
#include "projectfile/project_file_format.h"

namespace quorvale::cli {
namespace {

constexpr int kMostJobs = 256;

constexpr const char* kGenerateHelp =
    "Generates the photo-album site of a saved project, exactly as the Generate button of\n"
    "the window does: the viewer's files, PhotoAlbum.htm, one album-N.htm page per album,\n"
    "the pictures copied into PhotoAlbum/images/album-N (unchanged files are skipped), and\n"
    "one entry appended to Generation_Log.txt. The Torvexa viewer adds one\n"
    "PhotoAlbum/index/album-N.dat index file per album; the HTML viewer a thumbnail and a\n"
    "display copy of each picture (made again only when the picture changed).\n"
    "\n"
    "  PROJECT                a project file (.qs1), read as the window's Open reads it;\n"
    "                         the name as given appears in the page titles\n"
    "  --publish-dir DIR      the Publishing Directory to generate into (it must exist);\n"
    "                         default: the Publishing Directory saved in the project\n"
    "  --viewer html|java     the viewer for this run: html (pages for today's browsers) or\n"
    "                         java (the Torvexa applet); default: the project's choice\n"
    "  --viewer-source DIR    the folder that holds the viewer's files; default:\n"
    "                         Applications/Html or Applications/Torvexa in the program folder\n"
    "  --keep-location        keep location data in published pictures for this run,\n"
    "                         whatever the project says\n"
    "  --jobs N               make at most N thumbnails and display copies at once;\n"
    "                         default: one per processor core, two for pictures of\n"
    "                         1 MB or less\n"
    "  --help                 this text\n"
    "\n"
    "The status lines are printed to standard output as the run writes them. Message boxes\n"
    "(title, then text) go to standard error; none of them waits for an answer.\n"
    "\n"
    "Exit status: 0 the site was generated without errors or warnings; 1 it was generated\n"
    "with errors or warnings; 2 nothing was generated (bad usage, a refused project file,\n"
    "a missing or empty Publishing Directory).\n";

// The run's events on a terminal: transcript lines on standard output with plain line
// ends, message boxes through the terminal dialogs.
class TerminalRunEvents final : public GenerationEvents {
 public:
  explicit TerminalRunEvents(UserDialogs& dialogs) : dialogs_(dialogs) {}

  void StatusChanged(const std::string&) override {}
  // Each piece begins with its CR LF, so no line end is split between two pieces. Its
  // lines go to the standard output's buffer as they are, each line end as "\n" (a run
  // prints one or two pieces per picture).
  void TranscriptAppended(std::string_view text) override {
    for (std::size_t from = 0; from < text.size();) {
      const std::size_t cr = text.find("\r\n", from);
      const std::size_t to = cr == std::string_view::npos ? text.size() : cr;
      std::fwrite(text.data() + from, 1, to - from, stdout);
      if (cr == std::string_view::npos) break;
      std::fputc('\n', stdout);
      from = cr + 2;
    }
  }
  // The lines already printed stay printed; a cut only bounds the run's memory.
  void TranscriptReplaced(std::string_view) override {}
  void ProgressChanged(const GenerationProgress&) override {}
  Answer ShowMessage(const MessageRequest& request) override { return dialogs_.ShowMessage(request); }

 private:
  UserDialogs& dialogs_;
};

class GenerateCommand final : public Command {
 public:
  GenerateCommand()
      : Command("generate",
                "generate PROJECT [--publish-dir DIR] [--viewer html|java] [--viewer-source DIR] [--keep-location] "
                "[--jobs N]",
                "Generate the photo-album site of a saved project into its Publishing Directory.", kGenerateHelp) {
    Positionals("one PROJECT", 1, 1, &project_);
    Option("--publish-dir", "a folder", &publish_dir_);
    Option("--viewer", "html or java", &viewer_);
    Option("--viewer-source", "a folder", &viewer_source_);
    Flag("--keep-location", &keep_location_);
    Option("--jobs", "a number", &jobs_);
  }

 private:
  int Execute() override {
    std::optional<LoadedProject> loaded = LoadProject(project_.front());
    if (!loaded) return kExitCannotRun;
    if (publish_dir_) loaded->settings.PublishDirectory = *publish_dir_;
    if (viewer_ && !ChooseViewer(*viewer_, loaded->settings)) return kExitCannotRun;
    if (viewer_source_) loaded->settings.ApplicationSourceDirectory = *viewer_source_;
    if (keep_location_) loaded->settings.KeepLocation = true;
    int jobs = 0;
    if (jobs_) {
      const auto number = ToWholeNumber(*jobs_);
      if (!number || *number < 1 || *number > kMostJobs) {
        Complain("--jobs needs a whole number from 1 to " + std::to_string(kMostJobs));
        return kExitCannotRun;
      }
      jobs = static_cast<int>(*number);
    }
    if (loaded->settings.PublishDirectory.empty()) {
      Complain("the project names no Publishing Directory; give --publish-dir DIR");
      return kExitCannotRun;
    }

    // Standard error is tied to standard output, so a message box always follows the
    // transcript lines before it.
    TerminalDialogs dialogs(std::cin, std::cerr, TerminalDialogs::Questions::kAnswerYes, false);
    TerminalRunEvents events(dialogs);
    const SystemClock clock;
    VipsPictureImaging imaging;
    GenerationJob job = MakeGenerationJob(std::move(loaded->project), loaded->settings, project_.front(), clock,
                                            ViewerFor(loaded->settings.ViewerType));
    job.imaging = &imaging;
    job.imaging_jobs = jobs;
    const GenerationResult result = GenerateAlbums(std::move(job), events);
    if (result.outcome != GenerationOutcome::kCompleted) return kExitCannotRun;
    return result.counters.ErrorCount > 0 || result.counters.WarningCount > 0 ? kExitProblems : kExitOk;
  }

  std::vector<std::string> project_;
  std::optional<std::string> publish_dir_;
  std::optional<std::string> viewer_;
  std::optional<std::string> viewer_source_;
  bool keep_location_ = false;
  std::optional<std::string> jobs_;
};

const Registered<GenerateCommand> kGenerateRegistered;

}  // namespace
}  // namespace quorvale::cli
