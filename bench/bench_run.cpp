// Benchmark of a whole run of the installer on the in-memory platform, over
// generated INF files of growing size (1,000 to 100,000 lines). Every file
// has 64 [DestinationDirs] entries, one AddReg section whose values go
// below 64 new registry keys, and 64 copy sections; the rest of the lines are file
// names of the copy sections, AddReg values of each type, comments and
// blank lines. The user agrees and answers yes to the overwrite question.
//
// Reported per size: lines per second, and the program's heap as the fake
// platform counts it (allocations during one run, peak bytes, blocks left
// at the end). The heap counters stay the same from the smallest file to
// the largest: the program's capacities are fixed.
//
//   cmake --preset bench && cmake --build --preset bench
//   build/bench/infinst_bench

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "run/run.h"
#include "support/fake.h"
#include "support/run_program.h"

namespace {

const int TABLE_ENTRIES = 64; // destination entries, copy sections, keys
const int SOURCE_FILES = 64;

// An INF file of `lines` lines in all (at least 200).
std::string generateInf(int lines) {
    std::string inf;
    char text[160];
    int written = 0;
    auto line = [&](const char *content) {
        inf += content;
        inf += "\r\n";
        ++written;
    };

    line("; generated for the benchmark");
    line("[Version]");
    line("Class=LegacyDriver");
    line("[DestinationDirs]");
    line("DefaultDestDir=12");
    for (int i = 0; i < TABLE_ENTRIES; ++i) {
        snprintf(text, sizeof text, "Files%02d.Copy=%d", i, 10 + i % 3);
        line(text);
    }

    // What is left goes half to the AddReg section, half to the copy
    // sections; one body line in ten is a comment or a blank line. The
    // AddReg section comes first, so that its 64 new keys are claimed one
    // by one before the overwrite question is answered for the copies.
    int headers = TABLE_ENTRIES + 1;
    int body = lines - written - headers;
    int copyBody = body / 2;
    int addRegBody = body - copyBody;

    line("[Service.AddReg]");
    static const char SERVICE[] = "HKLM,\"System\\CurrentControlSet\\Services\\Bench";
    for (int i = 0; i < addRegBody; ++i) {
        int key = i % TABLE_ENTRIES;
        if (i % 10 == 9) {
            line("; a comment between values");
            continue;
        }
        if (i % 3 == 0)
            snprintf(text, sizeof text, "%s%02d\",\"Start%d\",0x00010001,%d", SERVICE, key, i % 7,
                     i);
        else if (i % 3 == 1)
            snprintf(text, sizeof text,
                     "%s%02d\",\"Image%d\",0x00000000,\"System32\\Drivers\\file%02d.sys\"", SERVICE,
                     key, i % 7, key);
        else
            snprintf(text, sizeof text,
                     "%s%02d\",\"Path%d\",0x00020000,\"%%SystemRoot%%\\System32\"", SERVICE, key,
                     i % 7);
        line(text);
    }
    for (int section = 0; section < TABLE_ENTRIES; ++section) {
        snprintf(text, sizeof text, "[Files%02d.Copy]", section);
        line(text);
        int count = copyBody / TABLE_ENTRIES + (section < copyBody % TABLE_ENTRIES ? 1 : 0);
        for (int i = 0; i < count; ++i) {
            if (i % 10 == 9) {
                line(i % 20 == 19 ? "" : "; a comment between files");
                continue;
            }
            snprintf(text, sizeof text, "file%02d.sys", (section + i) % SOURCE_FILES);
            line(text);
        }
    }

    return inf;
}

// A fresh machine with the INF file and its source files, and a yes
// waiting for the overwrite question.
void prepareMachine(const std::string &inf) {
    fakeReset();
    fakeAddFile("C:\\work\\driver.inf", inf);
    char name[64];
    for (int i = 0; i < SOURCE_FILES; ++i) {
        snprintf(name, sizeof name, "C:\\work\\file%02d.sys", i);
        fakeAddFile(name, "driver");
    }
    fakeSetInput("1\n");
    fakeQueueKeys({'y'});
}

void BM_WholeRun(benchmark::State &state) {
    const int lines = static_cast<int>(state.range(0));
    const std::string inf = generateInf(lines);
    if (std::count(inf.begin(), inf.end(), '\n') != lines) {
        state.SkipWithError("the generated file has not the lines asked for");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        prepareMachine(inf);
        state.ResumeTiming();
        int exitCode = runProgram(runInstaller, "infinst.exe", {"C:\\work\\driver.inf"});
        benchmark::DoNotOptimize(exitCode);
        if (exitCode != 0) {
            state.SkipWithError("the run did not install");
            break;
        }
    }
    // The last run installed: a file of each directory, values of each key.
    if (!fakeFileExists("C:\\WINNT\\file00.sys") ||
        !fakeFileExists("C:\\WINNT\\System32\\file01.sys") ||
        !fakeFileExists("C:\\WINNT\\System32\\Drivers\\file02.sys") ||
        fakeRegValueCount("System\\CurrentControlSet\\Services\\Bench63") == 0)
        state.SkipWithError("the run did not install what the file lists");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(inf.size()));
    state.counters["lines/s"] =
        benchmark::Counter(lines, benchmark::Counter::kIsIterationInvariantRate);
    // The heap of the last run, as the fake platform counted it.
    state.counters["heap_allocations"] = static_cast<double>(fakeHeapAllocations());
    state.counters["heap_peak_bytes"] = static_cast<double>(fakeHeapPeakBytes());
    state.counters["heap_blocks_left"] = static_cast<double>(fakeHeapBlocks());
}

BENCHMARK(BM_WholeRun)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(10000)
    ->Arg(30000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
