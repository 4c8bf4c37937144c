// Where the program runs from and what it was started with.
#pragma once

#include <string>

namespace rt {

// The folder of the running executable, without a closing "\" (a drive root keeps its "\").
// Tests point it at a scratch folder with SetProgramFolder.
std::string ProgramFolder();
void SetProgramFolder(const std::string& folder);  // "" goes back to the executable's folder

// The command line after the program path and the blanks that follow it.
std::string CommandLineArgs();
void SetCommandLineForTests(const std::string& args);  // until ClearCommandLineForTests
void ClearCommandLineForTests();
std::string CommandLineArgs(const std::string& fullCommandLine);

// The executable's own path.
std::string ExecutablePath();

}  // namespace rt
