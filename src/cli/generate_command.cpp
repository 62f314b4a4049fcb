// quorvale-cli generate: the window's generation run, driven from the command line.
#include <iostream>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "cli/command_registry.h"
#include "cli/project_arguments.h"
#include "cli/terminal_dialogs.h"
#include "generate/access_url.h"
#include "generate/generation_run.h"
#include "platform/clock.h"

namespace quorvale::cli {
namespace {

constexpr const char* kUsage = "generate PROJECT [--publish-dir DIR] [--viewer-source DIR]";

constexpr const char* kHelp =
    "Generates the photo-album site of a saved project, exactly as the Generate button of\n"
    "the window does: the Torvexa viewer files, PhotoAlbum.htm, one album-N.htm page and\n"
    "one PhotoAlbum/index/album-N.dat index file per album, the pictures copied into\n"
    "PhotoAlbum/images/album-N (unchanged files are skipped), and one entry appended to\n"
    "Generation_Log.txt.\n"
    "\n"
    "  PROJECT                a project file (.qs1), read as the window's Open reads it;\n"
    "                         the name as given appears in the page titles\n"
    "  --publish-dir DIR      the Publishing Directory to generate into (it must exist);\n"
    "                         default: the Publishing Directory saved in the project\n"
    "  --viewer-source DIR    the folder that holds the Torvexa viewer files;\n"
    "                         default: Applications/Torvexa in the program folder\n"
    "  --help                 this text\n"
    "\n"
    "The status lines are printed to standard output as the run writes them. Message boxes\n"
    "(title, then text) go to standard error; none of them waits for an answer.\n"
    "\n"
    "Exit status: 0 the site was generated without errors or warnings; 1 it was generated\n"
    "with errors or warnings; 2 nothing was generated (bad usage, a refused project file,\n"
    "a missing or empty Publishing Directory).\n";

struct Options {
  std::string project;
  std::optional<std::string> publish_dir;
  std::optional<std::string> viewer_source;
};

// The options, or the reason the command line is not understood.
std::variant<Options, std::string> Parse(const std::vector<std::string>& args) {
  Options options;
  bool have_project = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--publish-dir" || arg == "--viewer-source") {
      if (i + 1 >= args.size()) return arg + " needs a folder";
      (arg == "--publish-dir" ? options.publish_dir : options.viewer_source) = args[++i];
    } else if (arg.rfind("--", 0) == 0) {
      return "unknown option " + arg;
    } else if (have_project) {
      return "only one PROJECT can be given";
    } else {
      options.project = arg;
      have_project = true;
    }
  }
  if (!have_project) return std::string("PROJECT is missing");
  return options;
}

int RunGenerate(const std::vector<std::string>& args) {
  auto parsed = Parse(args);
  if (const auto* problem = std::get_if<std::string>(&parsed)) {
    std::cerr << "quorvale-cli generate: " << *problem << "\nUsage: quorvale-cli " << kUsage << "\n";
    return kExitCannotRun;
  }
  const Options options = std::get<Options>(std::move(parsed));
  // Standard error is tied to standard output, so a message box always follows the
  // transcript lines before it.
  std::optional<LoadedProject> maybe_loaded = LoadProjectForCommand(options.project);
  if (!maybe_loaded) return kExitCannotRun;
  LoadedProject& loaded = *maybe_loaded;
  TerminalDialogs dialogs(std::cin, std::cerr, TerminalDialogs::Questions::kAnswerYes, false);
  if (options.publish_dir) loaded.settings.PublishDirectory = *options.publish_dir;
  if (options.viewer_source) loaded.settings.ApplicationSourceDirectory = *options.viewer_source;
  const std::string publish_dir = loaded.settings.PublishDirectory;
  if (publish_dir.empty()) {
    std::cerr << "quorvale-cli generate: the project names no Publishing Directory; give --publish-dir DIR\n";
    return kExitCannotRun;
  }

  SystemClock clock;
  Transcript transcript;
  // Each piece begins with its CR LF, so no line end is split between two pieces.
  transcript.SetHandlers(
      [](std::string_view appended) {
        for (std::size_t from = 0; from < appended.size();) {
          const std::size_t cr = appended.find("\r\n", from);
          const std::size_t to = cr == std::string_view::npos ? appended.size() : cr;
          std::cout.write(appended.data() + from, static_cast<std::streamsize>(to - from));
          if (cr == std::string_view::npos) break;
          std::cout.put('\n');
          from = cr + 2;
        }
      },
      nullptr);
  GenerationCounters counters;
  const std::string access_url = AccessUrlFor(publish_dir);
  const GenerationContext context{
      .project = loaded.project,
      .settings = loaded.settings,
      .project_name = options.project,
      .access_url = access_url,
      .dialogs = dialogs,
      .clock = clock,
      .transcript = transcript,
      .status_caption = nullptr,
      .counters = counters,
  };
  const GenerationOutcome outcome = GenerateAlbums(context, publish_dir);
  if (outcome != GenerationOutcome::kCompleted) return kExitCannotRun;
  return counters.ErrorCount > 0 || counters.WarningCount > 0 ? kExitProblems : kExitOk;
}

const CommandRegistrar kRegistrar({
    .name = "generate",
    .usage = kUsage,
    .summary = "Generate the photo-album site of a saved project into its Publishing Directory.",
    .help = kHelp,
    .run = RunGenerate,
});

}  // namespace
}  // namespace quorvale::cli
