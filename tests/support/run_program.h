// Runs a whole program on the fake machine as the C runtime would start
// it: the entry point (runInstaller, runUninstaller, runConverter) with
// the program's name and its arguments as argv, argv[argc] null. Used by
// the unit tests, the benchmark and the fuzzing harnesses.

#ifndef INFINST_RUN_PROGRAM_H
#define INFINST_RUN_PROGRAM_H

#include <string>
#include <vector>

typedef int (*ProgramEntry)(int argc, char **argv);

// The program's exit code.
int runProgram(ProgramEntry entry, const char *name, const std::vector<std::string> &arguments);

#endif
