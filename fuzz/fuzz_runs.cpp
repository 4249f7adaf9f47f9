// The count of whole program runs of a harness; see fuzz_runs.h.

#include "fuzz_runs.h"

#include <cstdio>
#include <cstdlib>

namespace {

unsigned long g_programRuns = 0;

void sayProgramRuns() {
    fprintf(stderr, "program runs: %lu\n", g_programRuns);
}

} // namespace

int fuzzRunProgram(ProgramEntry entry, const char *name,
                   const std::vector<std::string> &arguments) {
    ++g_programRuns;
    return runProgram(entry, name, arguments);
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    atexit(sayProgramRuns);
    return 0;
}
