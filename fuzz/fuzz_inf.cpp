// libFuzzer harness: the whole installer, run on arbitrary bytes as its INF
// file, against the in-memory platform.
//
// Each input is installed on a fresh fake machine that holds a few source
// files next to the INF file (one read-only, one with a Shift-JIS name
// whose trail byte is 0x5C, two in subfolders), some destination files
// that already exist (one read-only, one in a folder below Drivers, and a
// directory where a file could go) and some registry
// keys that already exist (one that cannot be opened for reading), so that
// every branch of every section can be taken:
//  - once with no console, so the overwrite question is answered no;
//  - once with a 'y' key waiting, so existing files and keys are replaced;
//  - once more with a 'y' key and with the Nth heap allocation, file copy,
//    attribute change, key creation, value write and Windows-directory
//    query failing, N
//    taken from the input's length, so that the failure paths are run too.
// The user always agrees ("1\n" on standard input).
//
// A fourth run installs the input on an empty machine (only the sources
// beside the INF file) and then takes it back with the uninstaller: the
// files and the registry must be exactly as they were before. A fifth does
// the same on the full machine, answering yes, with the Nth call of one
// platform operation (both taken from the input) failing during the
// installation, the installation record's own writes included: what the
// installer did, it noted first, so the uninstaller takes back all of it
// and nothing else. A sixth installs the input's two halves as two INF
// files, one after the other, answering yes or no to the second's
// question, and takes them back in either order (all taken from the
// input): the machine must be as it was before both.
//
// After each run the harness aborts, and so reports a finding, when the run
// left a heap block, an open file or an open registry key behind. After
// each installation it does so too when a file or folder was created or
// changed anywhere but directly in the Windows folder, System32,
// System32\Drivers or the folder INFINST of the installation records (in
// a folder below them, beside the INF file, at a canary file outside the
// Windows folder), or when the registry changed
// anywhere but below the services key. Crashes, overflows and undefined
// behaviour are the sanitizers' job.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_runs.h"
#include "infundo/undo_run.h"
#include "run/run.h"
#include "support/fake.h"

namespace {

const char INF_PATH[] = "C:\\work\\driver.inf";
const char CANARY_PATH[] = "C:\\canary.sys";
const char CANARY_CONTENT[] = "must never be replaced";

// Where an installation may create or change files (directly, not below):
// the three destination directories and the folder of its records; and the
// key below which it may change the registry.
const std::vector<std::string> INSTALL_FOLDERS = {
    "C:\\WINNT", "C:\\WINNT\\System32", "C:\\WINNT\\System32\\Drivers", "C:\\WINNT\\INFINST"};
const char SERVICES_KEY[] = "System\\CurrentControlSet\\Services";

// A fresh machine with the INF file and the files a copy section may
// name beside it.
void makeSources() {
    fakeReset();
    fakeAddFile(INF_PATH, "");

    // Files a copy section may name, beside the INF file.
    fakeAddFile("C:\\work\\driver.sys", "new driver");
    fakeAddFile("C:\\work\\helper.dll", "new helper");
    fakeAddFile("C:\\work\\driver.hlp", "new help");
    fakeAddFile("C:\\work\\canary.sys", "source of the canary's name");
    fakeAddDirectory("C:\\work\\sub");
    fakeAddFile("C:\\work\\sub\\nested.sys", "nested");
    fakeAddDirectory("C:\\work\\etc");
    fakeAddFile("C:\\work\\etc\\hosts", "new hosts");
    fakeAddDirectory("C:\\work\\folder.sys");
    fakeAddFile("C:\\work\\readonly.sys", "from read-only media", true);
    fakeAddFile("C:\\work\\locked.sys", "new locked");
    fakeAddFile("C:\\work\\\x95\x5C.sys", "kanji name");
}

// The machine every input is installed on.
void makeMachine() {
    makeSources();

    // Folders below the destination directories, which a copy line with
    // a subfolder would reach, one with a file in it.
    fakeAddDirectory("C:\\WINNT\\System32\\Drivers\\etc");
    fakeAddFile("C:\\WINNT\\System32\\Drivers\\etc\\hosts", "old hosts");
    fakeAddDirectory("C:\\WINNT\\System32\\sub");

    // Destinations that already exist, in each supported directory.
    fakeAddFile("C:\\WINNT\\System32\\Drivers\\driver.sys", "old driver");
    fakeAddFile("C:\\WINNT\\System32\\helper.dll", "old helper");
    fakeAddFile("C:\\WINNT\\driver.hlp", "old help");
    fakeAddDirectory("C:\\WINNT\\System32\\Drivers\\busy.sys");
    fakeAddFile("C:\\WINNT\\System32\\Drivers\\locked.sys", "old locked", true);

    // Outside every destination directory: must never change.
    fakeAddFile(CANARY_PATH, CANARY_CONTENT);

    // Registry keys that already exist.
    fakeAddRegKey("System\\CurrentControlSet\\Services\\Existing");
    fakeAddRegKey("System\\CurrentControlSet\\Services\\Existing\\Parameters");
    fakeAddRegKey("System\\CurrentControlSet\\Services\\Other");
    fakeAddUnreadableRegKey("System\\CurrentControlSet\\Services\\Unreadable");
}

// Each machine is made once and copied for every run, with the input as
// its INF file.
FakeMachineCopy &madeMachine(void (*make)()) {
    static FakeMachineCopy sources;
    static FakeMachineCopy machine;
    static bool made = false;
    if (!made) {
        makeSources();
        sources.save();
        makeMachine();
        machine.save();
        made = true;
    }
    return make == makeSources ? sources : machine;
}

void prepare(void (*make)(), const std::string &inf) {
    madeMachine(make).restore();
    fakeAddFile(INF_PATH, inf);
    fakeSetInput("1\n");
}

void prepareSources(const std::string &inf) {
    prepare(makeSources, inf);
}

void prepareMachine(const std::string &inf) {
    prepare(makeMachine, inf);
}

// The lines of one machine snapshot that the other lacks, for a finding.
void sayDifference(const std::string &before, const std::string &after) {
    auto lines = [](const std::string &text) {
        std::vector<std::string> split;
        for (size_t at = 0, end; at < text.size(); at = end + 1) {
            end = text.find('\n', at);
            split.push_back(text.substr(at, end - at));
        }
        return split;
    };
    std::vector<std::string> was = lines(before);
    std::vector<std::string> is = lines(after);
    for (const std::string &line : was) {
        if (std::find(is.begin(), is.end(), line) == is.end())
            fprintf(stderr, "- %s\n", line.c_str());
    }
    for (const std::string &line : is) {
        if (std::find(was.begin(), was.end(), line) == was.end())
            fprintf(stderr, "+ %s\n", line.c_str());
    }
    fprintf(stderr, "output:\n%s\n", fakeOutput().c_str());
}

[[noreturn]] void finding(const char *what, size_t count) {
    fprintf(stderr, "infinst fuzz finding: %s (%zu)\n", what, count);
    abort();
}

// Runs a program on the INF file at `path`, agreeing, and checks that it
// left nothing open behind (the stack of a finding names the program).
int runChecked(ProgramEntry program, const char *name, const char *path = INF_PATH) {
    fakeSetInput("1\n");
    int exitCode = fuzzRunProgram(program, name, {path});
    if (exitCode != 0 && exitCode != 1)
        finding("exit code is neither 0 nor 1", static_cast<size_t>(exitCode));
    if (fakeHeapBlocks() != 0)
        finding("heap blocks left after the run", fakeHeapBlocks());
    if (fakeOpenFiles() != 0)
        finding("files left open after the run", static_cast<size_t>(fakeOpenFiles()));
    if (fakeOpenSearches() != 0)
        finding("file searches left open after the run", static_cast<size_t>(fakeOpenSearches()));
    if (fakeOpenRegKeys() != 0)
        finding("registry keys left open after the run", static_cast<size_t>(fakeOpenRegKeys()));
    return exitCode;
}

// Takes back what the INF file at `path` installed, agreeing.
void takeBack(const char *path) {
    runChecked(runUninstaller, "infundo.exe", path);
}

// What an installation must leave as it was.
struct Untouched {
    std::string files, registry;
};

Untouched untouched() {
    return {fakeFilesSnapshotBeside(INSTALL_FOLDERS), fakeRegistrySnapshotOutside(SERVICES_KEY)};
}

// Runs the installer, which may create or change only files directly in
// the three destination directories and the registry below the services
// key.
void installChecked(const std::string &inf) {
    const Untouched before = untouched();
    runChecked(runInstaller, "infinst.exe");
    const Untouched after = untouched();
    if (after.files != before.files)
        finding("a file not directly in the Windows folder, System32 or System32\\Drivers was "
                "created or changed",
                inf.size());
    if (after.registry != before.registry)
        finding("the registry changed outside the keys below Services", inf.size());
}

// Installed and taken back, an empty machine is as it was.
void installAndTakeBack(const std::string &inf) {
    prepareSources(inf);
    const std::string before = fakeMachineSnapshot();
    fakeQueueKeys({'y'});
    installChecked(inf);
    takeBack(INF_PATH);
    if (fakeMachineSnapshot() != before) {
        sayDifference(before, fakeMachineSnapshot());
        finding("the uninstaller did not leave the machine as it was", inf.size());
    }
}

// The failures a real system may answer during an installation. Not these:
// a failed IsDBCSLeadByte, a RegOpenKeyExA that fails for a key that is
// not there (either would tell the installer that a key exists when it
// does not), the path separator, and a RemoveDirectoryA that fails on the
// record's empty folder, which no record then names.
bool isRealFailure(FakeOperation operation) {
    return operation != FAKE_IS_LEAD_BYTE && operation != FAKE_REG_PROBE_KEY &&
           operation != FAKE_PATH_SEPARATOR && operation != FAKE_REMOVE_DIRECTORY;
}

// Installed on the full machine with one call failing, and taken back:
// the machine is as it was.
void installFailingAndTakeBack(const std::string &inf, FakeOperation failing, int nth) {
    prepareMachine(inf);
    const std::string before = fakeMachineSnapshot();
    fakeQueueKeys({'y'});
    fakeFailCall(failing, nth);
    installChecked(inf);
    fakeFailCall(failing, 0);
    takeBack(INF_PATH);
    if (fakeMachineSnapshot() != before) {
        fprintf(stderr, "failing: %s call %d\n", fakeOperationName(failing), nth);
        sayDifference(before, fakeMachineSnapshot());
        finding("taken back after a failing installation, the machine is not as it was",
                inf.size());
    }
}

// Two INF files installed one after the other, taken back in either order:
// the machine is as it was before both.
void installTwoAndTakeBack(const std::string &first, const std::string &second, int answer,
                           bool firstBackFirst) {
    prepareSources("");
    fakeAddFile("C:\\work\\a.inf", first);
    fakeAddFile("C:\\work\\b.inf", second);
    const std::string before = fakeMachineSnapshot();
    const char *paths[] = {"C:\\work\\a.inf", "C:\\work\\b.inf"};
    for (int i = 0; i < 2; ++i) {
        fakeQueueKeys({i == 0 ? 'y' : answer});
        runChecked(runInstaller, "infinst.exe", paths[i]);
    }
    takeBack(paths[firstBackFirst ? 0 : 1]);
    takeBack(paths[firstBackFirst ? 1 : 0]);
    if (fakeMachineSnapshot() != before) {
        sayDifference(before, fakeMachineSnapshot());
        finding("two installations taken back left the machine changed", first.size());
    }
}

void runOnce(const std::string &inf, const std::vector<int> &keys, int failAt = 0) {
    prepareMachine(inf);
    fakeQueueKeys(keys);
    if (failAt != 0) {
        fakeFailCall(FAKE_ALLOCATE, failAt);
        fakeFailCall(FAKE_COPY_FILE, failAt);
        fakeFailCall(FAKE_SET_FILE_ATTRIBUTES, failAt);
        fakeFailCall(FAKE_REG_CREATE_KEY, failAt);
        fakeFailCall(FAKE_REG_SET_VALUE, failAt);
        fakeFailCall(FAKE_GET_WINDOWS_DIRECTORY, failAt);
    }

    installChecked(inf);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string inf(reinterpret_cast<const char *>(data), size);
    runOnce(inf, {});
    runOnce(inf, {'y'});
    runOnce(inf, {'y'}, 1 + static_cast<int>(size % 8));
    installAndTakeBack(inf);
    unsigned char first = size > 0 ? data[0] : 0;
    FakeOperation failing = static_cast<FakeOperation>((first + size) % FAKE_OPERATION_COUNT);
    if (isRealFailure(failing))
        installFailingAndTakeBack(inf, failing, 1 + static_cast<int>(size / 3 % 12));
    installTwoAndTakeBack(inf.substr(0, size / 2), inf.substr(size / 2), first & 1 ? 'y' : 'n',
                          (first & 2) != 0);
    // The fake as every input finds it: libFuzzer looks for a leak (and
    // runs the input once more) whenever an input ends with more heap
    // blocks than it began with.
    madeMachine(makeMachine).restore();
    return 0;
}
