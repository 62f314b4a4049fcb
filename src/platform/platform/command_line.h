#pragma once

#include <string>
#include <vector>

namespace quorvale {

// The program's arguments as UTF-8, without the program's own name. On Windows they
// are taken from the system as UTF-16: argv holds them in the ANSI code page, where
// "Łódź" arrives as "L?dz".
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Makes the console show the program's UTF-8 output as such (Windows); elsewhere the
// terminal already takes UTF-8.
void UseUtf8ConsoleOutput();

}  // namespace quorvale
