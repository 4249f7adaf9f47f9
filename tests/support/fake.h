// An in-memory stand-in for the Win32 platform (src/platform/platform.h),
// for running the programs on Linux in the tests, the benchmark and the
// fuzzing harnesses: a Windows version, a file system with a current and a
// Windows directory, a registry below HKEY_LOCAL_MACHINE, scripted console
// keys and standard input, captured output, and a counted heap. Every
// platform call can be made to fail at its Nth call or from its Nth call
// on, and reads can be made short, so that every error path of the
// programs can be reached.
//
// One file per service: fake_machine.cpp (the version, the code page, the
// whole machine at once), fake_files.cpp, fake_registry.cpp,
// fake_console.cpp, fake_heap.cpp and fake_faults.cpp; their shared state
// is fake_state.h.
//
// Paths and registry keys compare without regard to ASCII case, as on
// Windows; a relative path is taken from the current directory. The code
// page is 932 unless switched: the bytes of a double-byte character are
// never folded and its trail byte is never a separator, so a directory
// named "\x95\x5C" is one path component.

#ifndef INFINST_FAKE_H
#define INFINST_FAKE_H

#include <cstddef>
#include <string>
#include <vector>

// Back to a fresh Windows NT 3.51 machine: current directory C:\work,
// Windows directory C:\WINNT with System32 and System32\Drivers, an empty
// registry, no keys, no input, no output.
void fakeReset();

// A copy of the whole machine (files, registry, console, counts and
// faults), to start many runs from one prepared machine: putting it back
// takes fewer steps than preparing it anew, which counts in the fuzzing
// harnesses.
struct FakeState;
class FakeMachineCopy {
public:
    FakeMachineCopy();
    ~FakeMachineCopy();
    FakeMachineCopy(const FakeMachineCopy &) = delete;
    FakeMachineCopy &operator=(const FakeMachineCopy &) = delete;
    void save();          // the machine as it stands
    void restore() const; // the machine as it was saved
private:
    FakeState *saved_;
};

void fakeSetVersion(bool succeeds, unsigned long platformId, unsigned long majorVersion);
// A single-byte code page from now on: no byte leads a double-byte
// character. Switch before adding the paths and keys of a test.
void fakeUseSingleByteCodePage();
void fakeSetCurrentDirectory(const std::string &path);
void fakeSetWindowsDirectory(const std::string &path);

void fakeAddDirectory(const std::string &path);
void fakeAddFile(const std::string &path, const std::string &content, bool readOnly = false);
bool fakeFileIsReadOnly(const std::string &path);
bool fakeFileExists(const std::string &path);
std::string fakeFileContent(const std::string &path); // "" when missing
// The full path of every file and folder, as first written.
std::vector<std::string> fakePaths();

// Registry below HKEY_LOCAL_MACHINE.
void fakeAddRegKey(const std::string &key);
// A key that exists but that RegOpenKeyExA cannot open for reading.
void fakeAddUnreadableRegKey(const std::string &key);
bool fakeRegKeyExists(const std::string &key);
struct FakeRegValue {
    bool exists;
    unsigned long type;
    std::string bytes;
};
FakeRegValue fakeRegValue(const std::string &key, const std::string &name);
int fakeRegValueCount(const std::string &key);

// A file that the system keeps open (a loaded driver): it cannot be
// deleted, only marked for deletion at the next restart.
void fakeSetFileInUse(const std::string &path);
// The files marked for deletion at the next restart, in order.
const std::vector<std::string> &fakeFilesDeletedAtRestart();
// The files (paths, attributes and contents) and the registry (keys,
// values, types and bytes) as one text, to show that a run left the
// machine as it found it.
std::string fakeMachineSnapshot();
// The same, less what lies in the folder `folder` and below the key `key`
// (each "" for nothing left out): to show that a run changed nothing
// outside the places it may write.
std::string fakeMachineSnapshotOutside(const std::string &folder, const std::string &key);
// The files and folders alone, less `folders` themselves and the files
// lying directly in one of them (not in a folder below it): to show that a
// run created or changed no other file or folder.
std::string fakeFilesSnapshotBeside(const std::vector<std::string> &folders);
// The registry alone, less what lies below the key `key`: to show that a
// run changed nothing else there.
std::string fakeRegistrySnapshotOutside(const std::string &key);

// Console keys, each a character code or PLATFORM_KEY_NO_CHARACTER; once
// they run out, reads answer PLATFORM_KEY_UNAVAILABLE.
void fakeQueueKeys(const std::vector<int> &keys);
int fakeKeyReads();

// What standard input holds.
void fakeSetInput(const std::string &input);

// What reached standard output and standard error since the last reset.
const std::string &fakeOutput();
const std::string &fakeErrorOutput();

// Every platform call, each of which can be made to fail. What a failing
// call answers is what the system answers when that call fails:
//  - a handle (search, file, registry key): none (null);
//  - a count, a size or a yes (the directories, SetFileAttributes, the
//    copies, RegSetValue, seek, the folders, the deletions, SameFile,
//    IsLeadByte): 0, so IsLeadByte takes that byte for a character of
//    its own;
//  - GetFileAttributes and FindPath: PLATFORM_NO_ATTRIBUTES;
//  - RegProbeKey: PLATFORM_KEY_OPEN_FAILED; RegQueryValue:
//    PLATFORM_VALUE_FAILED; RegEnumValue and RegEnumKey: -1;
//    WriteNewFile: PLATFORM_NEW_FILE_FAILED; DeleteFile:
//    PLATFORM_DELETE_FAILED; ReadFile: PLATFORM_READ_FAILED;
//  - ReadKey: PLATFORM_KEY_UNAVAILABLE; ReadInputChar: -1 (the end of
//    input);
//  - WriteOutput and ReportError: the text is lost (a full disk or a
//    closed pipe);
//  - FindClose, CloseFile, RegCloseKey and Release: the handle or block
//    is released all the same, as nothing is left for a program to do
//    about it (and the leak counts stay true);
//  - PathSeparator: '/', the other separator Windows takes;
//  - AppendFile, FlushFile and GetFullPath: 0; GetLocalTime: all zeros.
// Nothing is changed by a call that fails.
enum FakeOperation {
    FAKE_GET_VERSION,
    FAKE_IS_LEAD_BYTE,
    FAKE_FIND_FIRST_FILE,
    FAKE_FIND_NEXT_FILE,
    FAKE_FIND_CLOSE,
    FAKE_GET_CURRENT_DIRECTORY,
    FAKE_GET_WINDOWS_DIRECTORY,
    FAKE_GET_FILE_ATTRIBUTES,
    FAKE_SET_FILE_ATTRIBUTES,
    FAKE_COPY_FILE,
    FAKE_REG_PROBE_KEY,
    FAKE_REG_CREATE_KEY,
    FAKE_REG_SET_VALUE,
    FAKE_REG_CLOSE_KEY,
    FAKE_READ_KEY,
    FAKE_READ_INPUT_CHAR,
    FAKE_WRITE_OUTPUT,
    FAKE_REPORT_ERROR,
    FAKE_OPEN_FILE,
    FAKE_READ_FILE,
    FAKE_SEEK_FILE,
    FAKE_CLOSE_FILE,
    FAKE_WRITE_NEW_FILE,
    FAKE_FIND_PATH,
    FAKE_MAKE_DIRECTORY,
    FAKE_COPY_NEW_FILE,
    FAKE_REMOVE_DIRECTORY,
    FAKE_DELETE_FILE,
    FAKE_DELETE_AT_RESTART,
    FAKE_REG_OPEN_KEY,
    FAKE_REG_QUERY_VALUE,
    FAKE_REG_ENUM_VALUE,
    FAKE_REG_ENUM_KEY,
    FAKE_REG_DELETE_VALUE,
    FAKE_REG_DELETE_KEY,
    FAKE_SAME_FILE,
    FAKE_PATH_SEPARATOR,
    FAKE_ALLOCATE,
    FAKE_RELEASE,
    // The installation record.
    FAKE_APPEND_FILE,
    FAKE_FLUSH_FILE,
    FAKE_GET_LOCAL_TIME,
    FAKE_GET_FULL_PATH,
    FAKE_OPERATION_COUNT
};
// The platform function's name, for test messages.
const char *fakeOperationName(FakeOperation operation);

// The `nth` call of the operation from now on fails (1 is the next one),
// and with `fromThenOn` every call after it too; 0 fails none.
void fakeFailCall(FakeOperation operation, int nth, bool fromThenOn = false);
int fakeCallCount(FakeOperation operation);
// How many calls failed as chosen, and how much standard output there
// was when the first of them failed.
int fakeFaultsFired();
size_t fakeOutputAtFirstFault();

// From now on platformReadFile answers at most `most` bytes a call (0:
// as many as asked and the file has), as a pipe or a network drive may.
void fakeLimitReads(size_t most);

// Open handles and heap, to show that a run leaves nothing behind.
int fakeOpenFiles();
int fakeOpenSearches();
int fakeOpenRegKeys();
size_t fakeHeapBlocks();
size_t fakeHeapPeakBytes();
size_t fakeHeapAllocations();

#endif
