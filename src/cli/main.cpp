#include <algorithm>
#include <clocale>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "platform/product.h"

namespace quorvale::cli {
namespace {

void PrintToolHelp(std::ostream& out) {
  out << "Usage: quorvale-cli COMMAND [ARGUMENTS...]\n"
         "       quorvale-cli COMMAND --help\n"
         "       quorvale-cli --version | --help\n\n"
         "The command-line companion of " << ProductTitle() << ": the same core as the desktop program,\n"
         "for scripts and batch work.\n\nCommands:\n";
  std::vector<const Command*> sorted;
  for (const auto& command : RegisteredCommands()) sorted.push_back(command.get());
  std::sort(sorted.begin(), sorted.end(), [](const Command* a, const Command* b) { return a->Name() < b->Name(); });
  for (const Command* command : sorted) {
    out << "  " << command->Usage() << "\n      " << command->Summary() << "\n";
  }
  out << "\nExit status: 0 success; 1 the command ran but met errors or warnings, or was declined;\n"
         "2 the command could not run (bad usage, a refused project, a missing folder).\n";
}

}  // namespace

}  // namespace quorvale::cli

int main(int argc, char** argv) {
  using namespace quorvale::cli;
  std::setlocale(LC_ALL, "");
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    PrintToolHelp(std::cerr);
    return kExitCannotRun;
  }
  const std::string& first = args.front();
  if (first == "--version") {
    std::cout << quorvale::ProductTitle() << "\n";
    return kExitOk;
  }
  if (first == "--help" || first == "-h" || first == "help") {
    PrintToolHelp(std::cout);
    return kExitOk;
  }
  for (const auto& command : RegisteredCommands()) {
    if (command->Name() != first) continue;
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (std::find(rest.begin(), rest.end(), "--help") != rest.end()) {
      std::cout << "Usage: quorvale-cli " << command->Usage() << "\n\n" << command->Help();
      return kExitOk;
    }
    try {
      return command->Run(rest);
    } catch (const std::exception& error) {
      // The core reports failures as values; this is the last guard so that nothing
      // unforeseen ever reaches the terminal as a raw exception.
      std::cerr << "quorvale-cli " << command->Name() << ": unexpected failure: " << error.what() << "\n";
      return kExitCannotRun;
    }
  }
  std::cerr << "quorvale-cli: unknown command '" << first << "'. Run 'quorvale-cli --help' for the list.\n";
  return kExitCannotRun;
}
