#include "cli/command.h"

#include <iostream>
#include <variant>

#include "cli/terminal_dialogs.h"
#include "viewers/startup_settings.h"
#include "viewers/viewer_registry.h"
#include "platform/file_system.h"
#include "platform/program_folder.h"
#include "platform/text_codec.h"

namespace quorvale::cli {
namespace {

std::vector<std::unique_ptr<Command>>& Registry() {
  static std::vector<std::unique_ptr<Command>> commands;
  return commands;
}

bool IsOption(const std::string& arg) { return arg.size() > 1 && arg.front() == '-'; }

}  // namespace

const std::vector<std::unique_ptr<Command>>& RegisteredCommands() { return Registry(); }

void RegisterCommand(std::unique_ptr<Command> command) { Registry().push_back(std::move(command)); }

Command::Command(std::string name, std::string usage, std::string summary, std::string help)
    : name_(std::move(name)), usage_(std::move(usage)), summary_(std::move(summary)), help_(std::move(help)) {}

void Command::Flag(std::string name, bool* value) { options_.push_back({std::move(name), "", value, nullptr}); }

void Command::Option(std::string name, std::string what, std::optional<std::string>* value) {
  options_.push_back({std::move(name), std::move(what), nullptr, value});
}

void Command::Positionals(std::string what, std::size_t min, std::size_t max, std::vector<std::string>* values) {
  positionals_what_ = std::move(what);
  positionals_min_ = min;
  positionals_max_ = max;
  positionals_ = values;
}

std::string Command::Parse(const std::vector<std::string>& args) {
  std::vector<std::string> positionals;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!IsOption(arg)) {
      positionals.push_back(arg);
      continue;
    }
    const Declared* declared = nullptr;
    for (const Declared& option : options_) {
      if (option.name == arg) declared = &option;
    }
    if (declared == nullptr) return "unknown option '" + arg + "'";
    if (declared->flag != nullptr) {
      *declared->flag = true;
    } else if (i + 1 >= args.size()) {
      return arg + " needs " + declared->what;
    } else {
      *declared->value = args[++i];
    }
  }
  if (positionals.size() < positionals_min_ || positionals.size() > positionals_max_) {
    return "expected " + positionals_what_;
  }
  if (positionals_ != nullptr) *positionals_ = std::move(positionals);
  return {};
}

int Command::Run(const std::vector<std::string>& args) {
  if (const std::string problem = Parse(args); !problem.empty()) {
    Complain(problem);
    std::cerr << "Usage: quorvale-cli " << usage_ << "\n";
    return kExitCannotRun;
  }
  return Execute();
}

void Command::Complain(const std::string& problem) const {
  std::cerr << "quorvale-cli " << name_ << ": " << problem << "\n";
}

std::optional<LoadedProject> Command::LoadProject(const std::string& path) const {
  if (!FileExists(path)) {
    std::cerr << "quorvale-cli: there is no project file at \"" << path << "\".\n";
    return std::nullopt;
  }
  ProjectFileReadResult result = ReadProjectFile(path, StartupSettings(ProgramFolder()));
  if (auto* refusal = std::get_if<ProjectFileRefusal>(&result)) {
    std::cerr << refusal->message.title << "\n" << ToTerminalText(refusal->message.text) << "\n";
    return std::nullopt;
  }
  // As in the window, the file's viewer brings its own files.
  LoadedProject loaded = std::get<LoadedProject>(std::move(result));
  FollowViewerSourceFolder(loaded.settings, ProgramFolder());
  return loaded;
}

bool Command::ChooseViewer(const std::string& value, ProjectSettings& settings) const {
  const ViewerDescriptor* viewer = ViewerForCommandWord(value);
  if (viewer == nullptr) {
    std::string words;
    for (const ViewerDescriptor& known : Viewers()) words += (words.empty() ? "" : " or ") + known.command_word;
    Complain("--viewer takes " + words + ", not \"" + value + "\"");
    return false;
  }
  settings.ViewerType = viewer->id;
  FollowViewerSourceFolder(settings, ProgramFolder());
  return true;
}

}  // namespace quorvale::cli
