#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "projectfile/project_file_reader.h"

namespace quorvale::cli {

// Exit statuses shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitProblems = 1;   // ran, but with errors, warnings or a refusal by the user
inline constexpr int kExitCannotRun = 2;  // bad usage, refused project, missing folder

// A command of quorvale-cli. It declares its options and positional arguments in its
// constructor; Run parses the arguments against them (a wrong command line is one line
// on standard error with the usage, and exit status 2) and then calls Execute.
class Command {
 public:
  Command(std::string name, std::string usage, std::string summary, std::string help);
  virtual ~Command() = default;
  Command(const Command&) = delete;
  Command& operator=(const Command&) = delete;

  const std::string& Name() const { return name_; }
  const std::string& Usage() const { return usage_; }      // one line: "generate PROJECT [--publish-dir DIR]"
  const std::string& Summary() const { return summary_; }  // one sentence for the tool's --help
  const std::string& Help() const { return help_; }        // the command's own --help text

  int Run(const std::vector<std::string>& args);

 protected:
  // "--name" alone sets *value.
  void Flag(std::string name, bool* value);
  // "--name VALUE"; `what` names the value in the complaint when it is missing ("a folder").
  void Option(std::string name, std::string what, std::optional<std::string>* value);
  // The arguments that are no option, in order: at least `min`, at most `max`.
  // `what` says what is expected in the complaint ("one PROJECT").
  void Positionals(std::string what, std::size_t min, std::size_t max, std::vector<std::string>* values);

  virtual int Execute() = 0;

  // Loads PROJECT exactly as the Open command does. A refusal is printed as the message
  // box's title and text on standard error and gives nothing.
  std::optional<LoadedProject> LoadProject(const std::string& path) const;
  // Prints "quorvale-cli NAME: " and `problem` on standard error.
  void Complain(const std::string& problem) const;
  // Applies a "--viewer html|java" value (any letter case): the viewer type and its
  // folder in the program folder. A value naming no viewer is complained about and
  // gives false.
  bool ChooseViewer(const std::string& value, ProjectSettings& settings) const;

 private:
  struct Declared {
    std::string name;
    std::string what;  // empty for a flag
    bool* flag = nullptr;
    std::optional<std::string>* value = nullptr;
  };
  // Empty when the arguments are understood, else what is wrong with them.
  std::string Parse(const std::vector<std::string>& args);

  std::string name_, usage_, summary_, help_;
  std::vector<Declared> options_;
  std::string positionals_what_;
  std::size_t positionals_min_ = 0;
  std::size_t positionals_max_ = 0;
  std::vector<std::string>* positionals_ = nullptr;
};

// Every command, in the order their files registered them.
const std::vector<std::unique_ptr<Command>>& RegisteredCommands();
void RegisterCommand(std::unique_ptr<Command> command);

// A command file registers its command with a static Registered<ItsCommand>.
template <typename T>
struct Registered {
  Registered() { RegisterCommand(std::make_unique<T>()); }
};

}  // namespace quorvale::cli
