// What both libFuzzer harnesses share: the whole program runs they make on
// the fake machine, counted over all inputs and printed at exit
// ("program runs: N"), from which tools/fuzz gives its rate of runs a
// second. fuzz_runs.cpp is linked into each harness.

#ifndef INFINST_FUZZ_RUNS_H
#define INFINST_FUZZ_RUNS_H

#include <string>
#include <vector>

#include "support/run_program.h"

// Runs the program as runProgram does, and counts the run.
int fuzzRunProgram(ProgramEntry entry, const char *name, const std::vector<std::string> &arguments);

#endif
