// The state the fake machine's services share (support/fake.h), for their
// own files only: the machine, its files, its registry, its console, its
// heap and the faults scheduled on its calls. Tests include fake.h.
//
// Every platform call goes through fakeCall first, which counts it and
// says whether it is to fail. The helpers below fold paths and keys as
// Windows compares them; they write into a buffer that the caller keeps,
// so that a lookup costs no heap block (the fuzzing harnesses make
// millions of them under AddressSanitizer).

#ifndef INFINST_FAKE_STATE_H
#define INFINST_FAKE_STATE_H

#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/fake.h"

// The order of std::string's own comparison, byte by byte without
// memcmp: under the fuzzer every memcmp call is recorded for its value
// profile, and the tables below are searched at every platform call.
struct FakeTextLess {
    bool operator()(const std::string &a, const std::string &b) const {
        size_t length = a.size() < b.size() ? a.size() : b.size();
        for (size_t at = 0; at < length; ++at) {
            if (a[at] != b[at])
                return static_cast<unsigned char>(a[at]) < static_cast<unsigned char>(b[at]);
        }
        return a.size() < b.size();
    }
};

template <typename Value>
using FakeTable = std::map<std::string, Value, FakeTextLess>;
using FakeNames = std::set<std::string, FakeTextLess>;

struct FakeNode {
    std::string path; // as it was first written
    bool directory;
    bool readOnly;
    std::string content;
    unsigned long made; // when it was made, for the order of a search
};

struct FakeKey {
    std::string name;   // its last part, as it was first written
    std::string parent; // folded path of the key that holds it, "" at the top
    FakeTable<std::pair<std::string, FakeRegValue>> values; // by folded name
};

struct FakeState {
    // The machine.
    bool versionSucceeds;
    unsigned long platformId;
    unsigned long majorVersion;
    bool leadBytes[256]; // of the code page in use
    std::string currentDirectory;
    std::string windowsDirectory;

    // Files by folded absolute path.
    FakeTable<FakeNode> nodes;
    unsigned long made;   // files and folders made so far
    FakeNames filesInUse; // folded paths
    std::vector<std::string> deletedAtRestart;
    int openFiles;
    int openSearches;
    size_t readLimit; // the most bytes one read answers, 0 for no limit

    // Registry below HKEY_LOCAL_MACHINE: keys by folded path, in whose
    // order RegEnumKeyA gives a key's subkeys.
    FakeTable<FakeKey> keys;
    FakeNames unreadableKeys; // folded paths
    int openRegKeys;

    // Console.
    std::deque<int> keyQueue;
    int keyReads;
    std::string input;
    size_t inputPosition;
    std::string output;
    std::string errorOutput;

    // Heap.
    size_t heapBlocks;
    size_t heapBytes;
    size_t heapPeakBytes;
    size_t heapAllocations;

    // Faults.
    int calls[FAKE_OPERATION_COUNT];
    int failAt[FAKE_OPERATION_COUNT];  // the call that fails, 0 for none
    bool failOn[FAKE_OPERATION_COUNT]; // and every call after it too
    int faultsFired;
    size_t outputAtFirstFault;
};

extern FakeState g_fake;

// Counts a call of `operation`; true when this call was chosen to fail.
inline bool fakeCall(FakeOperation operation) {
    int call = ++g_fake.calls[operation];
    int at = g_fake.failAt[operation];
    if (at == 0 || call < at || (call > at && !g_fake.failOn[operation]))
        return false;
    if (g_fake.faultsFired++ == 0)
        g_fake.outputAtFirstFault = g_fake.output.size();
    return true;
}

// The bytes of the character at `at` of `text` (`size` bytes): two for a
// lead byte and its trail byte (never below 0x40, as in the program),
// else one.
inline size_t fakeCharacterLength(const char *text, size_t size, size_t at) {
    return at + 1 < size && g_fake.leadBytes[static_cast<unsigned char>(text[at])] &&
                   static_cast<unsigned char>(text[at + 1]) >= 0x40
               ? 2
               : 1;
}

// A file's path as Windows compares it, into `folded`: made absolute from
// the current directory, without a trailing separator (but a drive's
// root), ASCII letters without case, '/' as '\', the bytes of a
// double-byte character as they are.
void fakeFoldPath(const char *path, std::string *folded);
// The path made absolute as written, for a file's own name.
std::string fakeAbsolutePath(const char *path);
// The folded path of the folder that holds a folded path, "" for none.
std::string fakeParentOf(const std::string &folded);
// True when the folded path `path` lies in the folder or below the key
// `folder` (folded too), at any depth; never for an empty `folder`.
bool fakeLiesIn(const std::string &path, const std::string &folder);
// The offset of the last separator of `text`, never a trail byte; npos
// when there is none.
size_t fakeLastSeparator(const std::string &text, bool slashToo);

// A registry key's path as Windows compares it, into `folded`, with an
// empty trailing part dropped; false (and `folded` empty) when the path
// is empty, begins with a separator or has an empty part in the middle.
// A key's name keeps its '/'.
bool fakeFoldKey(const char *key, std::string *folded);
// A value's name without ASCII case.
void fakeFoldName(const char *name, std::string *folded);

FakeNode *fakeFindNode(const char *path);

#endif
