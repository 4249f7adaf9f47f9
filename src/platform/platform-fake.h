// An in-memory stand-in for the Win32 platform, for running the installer
// on Linux in tests: a Windows version, a file system with a current and a
// Windows directory, a registry below HKEY_LOCAL_MACHINE, scripted console
// keys and standard input, captured output, and a counted heap. Any
// operation can be made to fail at its Nth call, so that every error path
// of the program can be reached.
//
// Paths and registry keys compare without regard to ASCII case, as on
// Windows; a relative path is taken from the current directory. The code
// page is 932 unless switched: the bytes of a double-byte character are
// never folded and its trail byte is never a separator, so a directory
// named "\x95\x5C" is one path component.

#ifndef INFINST_PLATFORM_FAKE_H
#define INFINST_PLATFORM_FAKE_H

#include <cstddef>
#include <string>
#include <vector>

// Back to a fresh Windows NT 3.51 machine: current directory C:\work,
// Windows directory C:\WINNT with System32 and System32\Drivers, an empty
// registry, no keys, no input, no output.
void fakeReset();

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

// Console keys, each a character code or PLATFORM_KEY_NO_CHARACTER; once
// they run out, reads answer PLATFORM_KEY_UNAVAILABLE.
void fakeQueueKeys(const std::vector<int> &keys);
int fakeKeyReads();

// What standard input holds.
void fakeSetInput(const std::string &input);

// What reached standard output and standard error since the last reset.
const std::string &fakeOutput();
const std::string &fakeErrorOutput();

// Operations that can be made to fail.
enum FakeOperation {
    FAKE_GET_VERSION,
    FAKE_FIND_FIRST_FILE,
    FAKE_GET_CURRENT_DIRECTORY,
    FAKE_GET_WINDOWS_DIRECTORY,
    FAKE_COPY_FILE,
    FAKE_SET_FILE_ATTRIBUTES,
    FAKE_REG_CREATE_KEY,
    FAKE_REG_SET_VALUE,
    FAKE_OPEN_FILE,
    FAKE_SEEK_FILE,
    FAKE_READ_FILE,
    FAKE_ALLOCATE,
    FAKE_WRITE_NEW_FILE,
    FAKE_MAKE_DIRECTORY,
    FAKE_COPY_NEW_FILE,
    FAKE_REMOVE_DIRECTORY,
    // Taking back what the installer put in place.
    FAKE_DELETE_FILE,
    FAKE_DELETE_AT_RESTART,
    FAKE_REG_OPEN_KEY,
    FAKE_REG_QUERY_VALUE,
    FAKE_REG_DELETE_VALUE,
    FAKE_REG_DELETE_KEY,
    FAKE_OPERATION_COUNT
};
// The `nth` call of the operation from now on fails (1 is the next one).
void fakeFailCall(FakeOperation operation, int nth);
int fakeCallCount(FakeOperation operation);

// Open handles and heap, to show that a run leaves nothing behind.
int fakeOpenFiles();
int fakeOpenSearches();
int fakeOpenRegKeys();
size_t fakeHeapBlocks();
size_t fakeHeapPeakBytes();
size_t fakeHeapAllocations();

#endif
