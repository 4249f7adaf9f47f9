// The every-N fault loop of the run tests: a whole run repeated with each
// call of each platform operation failing in turn, once alone and once
// with every later call of that operation failing too.

#ifndef INFINST_SUPPORT_FAULT_LOOP_H
#define INFINST_SUPPORT_FAULT_LOOP_H

#include <functional>
#include <string>

#include "support/fake.h"

struct FaultRun {
    std::function<void()> prepare; // the machine before the run, from fakeReset on
    std::function<int()> run;      // the run; its exit code
    // What the run may change: files below this folder, keys below this
    // key ("" for none).
    std::string folder;
    std::string key;
};

// Runs `run` once on the machine as prepared, to count the calls of each
// operation; then, for every operation and every N up to its count, once
// with the Nth call failing and once with every call from the Nth on
// failing. Each of those runs must end cleanly: the fault was met, the
// exit code is 0 or 1, no file, search, key or heap block is left open,
// the output up to the fault is the normal run's, and nothing outside the
// folder and the key changed. Answers the number of runs with a fault.
int expectEveryFaultEndsCleanly(const FaultRun &faultRun);

#endif
