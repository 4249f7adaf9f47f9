// A whole program's run; see run_program.h.

#include "support/run_program.h"

int runProgram(ProgramEntry entry, const char *name, const std::vector<std::string> &arguments) {
    std::vector<std::string> words{name};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv;
    for (std::string &word : words)
        argv.push_back(&word[0]);
    argv.push_back(nullptr);
    return entry(static_cast<int>(words.size()), argv.data());
}
