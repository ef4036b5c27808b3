#pragma once

// The process operations of a restart: this program's own path and
// arguments, and
// starting the updater so that no search for a program can pick up another
// one (the updater is named as the program to run and every path is quoted).
// win32/ and linux/ define them. Paths are the system's 8-bit paths (the
// ANSI code page on Windows), as the transfer engine's files are.

#include <string>
#include <vector>

namespace qirelo::upgrade {

// The running program's full path; empty when the system does not give it.
std::string OwnProgramPath();

// The program's command-line arguments, its own name left out: how a program
// restarted after an upgrade learns it.
std::vector<std::string> ProgramArguments();

// Starts `updaterPath` with the command line the updater reads: on Windows
// `"UPDATER" "PROGRAM" +PARAMS`, on Linux the arguments PROGRAM and +PARAMS.
// False when it could not be started.
bool StartUpdaterProcess(const std::string& updaterPath, const std::string& programPath,
                         const std::string& params);

} // namespace qirelo::upgrade
