// The in-memory platform of the tests; see platform-fake.h.

#include "platform/platform-fake.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>

#include "platform/platform.h"

namespace {

struct FakeNode {
    std::string path; // as it was first written
    bool directory;
    std::string content;
};

struct FakeKey {
    std::map<std::string, std::pair<std::string, FakeRegValue>> values; // by folded name
};

struct FakeOpenFile {
    std::string content;
    size_t position;
};

struct FakeState {
    bool versionSucceeds;
    unsigned long platformId;
    unsigned long majorVersion;
    std::string currentDirectory;
    std::string windowsDirectory;
    std::vector<std::string> order; // folded paths, in the order they were made
    std::map<std::string, FakeNode> nodes;
    std::map<std::string, FakeKey> keys; // by folded path
    std::deque<int> keyQueue;
    int keyReads;
    std::string input;
    size_t inputPosition;
    std::string output;
    std::string errorOutput;
    int calls[FAKE_OPERATION_COUNT];
    int failAt[FAKE_OPERATION_COUNT];
    int openFiles;
    int openRegKeys;
    size_t heapBlocks;
    size_t heapBytes;
    size_t heapPeakBytes;
    size_t heapAllocations;
};

FakeState state;

std::string fold(const std::string &text) {
    std::string folded = text;
    for (char &c : folded) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c == '/')
            c = '\\';
    }
    return folded;
}

bool isAbsolute(const std::string &path) {
    return (path.size() >= 2 && path[1] == ':') || (!path.empty() && path[0] == '\\');
}

std::string absolute(const std::string &path) {
    std::string full = isAbsolute(path) ? path : state.currentDirectory + "\\" + path;
    while (full.size() > 3 && full.back() == '\\')
        full.pop_back();
    return full;
}

std::string parentOf(const std::string &path) {
    size_t slash = fold(path).rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

FakeNode *findNode(const std::string &path) {
    auto found = state.nodes.find(fold(absolute(path)));
    return found == state.nodes.end() ? nullptr : &found->second;
}

// Counts the call; true when this call was chosen to fail.
bool failsNow(FakeOperation operation) {
    int call = ++state.calls[operation];
    return state.failAt[operation] != 0 && call == state.failAt[operation];
}

// A registry path with its empty trailing part dropped, or "" when a part
// in the middle is empty.
std::string keyPath(const std::string &key) {
    std::string path = key;
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    if (path.empty() || path.find("\\\\") != std::string::npos || path[0] == '\\')
        return std::string();
    return fold(path);
}

struct FakeHandle {
    std::string key;
};

unsigned long copyOut(const std::string &text, char *buffer, unsigned long size) {
    if (text.size() + 1 > size)
        return static_cast<unsigned long>(text.size() + 1);
    memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<unsigned long>(text.size());
}

} // namespace

void fakeReset() {
    state = FakeState();
    state.versionSucceeds = true;
    state.platformId = 2;
    state.majorVersion = 3;
    state.currentDirectory = "C:\\work";
    state.windowsDirectory = "C:\\WINNT";
    fakeAddDirectory("C:\\");
    fakeAddDirectory("C:\\work");
    fakeAddDirectory("C:\\WINNT");
    fakeAddDirectory("C:\\WINNT\\System32");
    fakeAddDirectory("C:\\WINNT\\System32\\Drivers");
    fakeAddRegKey("System\\CurrentControlSet\\Services");
}

void fakeSetVersion(bool succeeds, unsigned long platformId, unsigned long majorVersion) {
    state.versionSucceeds = succeeds;
    state.platformId = platformId;
    state.majorVersion = majorVersion;
}

void fakeSetCurrentDirectory(const std::string &path) {
    state.currentDirectory = path;
}

void fakeSetWindowsDirectory(const std::string &path) {
    state.windowsDirectory = path;
}

static void addNode(const std::string &path, bool directory, const std::string &content) {
    std::string full = absolute(path);
    std::string folded = fold(full);
    if (!state.nodes.count(folded))
        state.order.push_back(folded);
    state.nodes[folded] = FakeNode{full, directory, content};
}

void fakeAddDirectory(const std::string &path) {
    addNode(path, true, std::string());
}

void fakeAddFile(const std::string &path, const std::string &content) {
    addNode(path, false, content);
}

bool fakeFileExists(const std::string &path) {
    FakeNode *node = findNode(path);
    return node && !node->directory;
}

std::string fakeFileContent(const std::string &path) {
    FakeNode *node = findNode(path);
    return node && !node->directory ? node->content : std::string();
}

void fakeAddRegKey(const std::string &key) {
    std::string path = keyPath(key);
    for (size_t slash = path.find('\\'); slash != std::string::npos;
         slash = path.find('\\', slash + 1))
        state.keys[path.substr(0, slash)];
    state.keys[path];
}

bool fakeRegKeyExists(const std::string &key) {
    std::string path = keyPath(key);
    return !path.empty() && state.keys.count(path);
}

FakeRegValue fakeRegValue(const std::string &key, const std::string &name) {
    auto found = state.keys.find(keyPath(key));
    if (found == state.keys.end())
        return FakeRegValue{false, 0, std::string()};
    auto value = found->second.values.find(fold(name));
    if (value == found->second.values.end())
        return FakeRegValue{false, 0, std::string()};
    return value->second.second;
}

int fakeRegValueCount(const std::string &key) {
    auto found = state.keys.find(keyPath(key));
    return found == state.keys.end() ? 0 : static_cast<int>(found->second.values.size());
}

void fakeQueueKeys(const std::vector<int> &keys) {
    state.keyQueue.insert(state.keyQueue.end(), keys.begin(), keys.end());
}

int fakeKeyReads() {
    return state.keyReads;
}

void fakeSetInput(const std::string &input) {
    state.input = input;
    state.inputPosition = 0;
}

const std::string &fakeOutput() {
    return state.output;
}

const std::string &fakeErrorOutput() {
    return state.errorOutput;
}

void fakeFailCall(FakeOperation operation, int nth) {
    state.failAt[operation] = nth == 0 ? 0 : state.calls[operation] + nth;
}

int fakeCallCount(FakeOperation operation) {
    return state.calls[operation];
}

int fakeOpenFiles() {
    return state.openFiles;
}

int fakeOpenRegKeys() {
    return state.openRegKeys;
}

size_t fakeHeapBlocks() {
    return state.heapBlocks;
}

size_t fakeHeapPeakBytes() {
    return state.heapPeakBytes;
}

size_t fakeHeapAllocations() {
    return state.heapAllocations;
}

// The platform operations.

int platformGetVersion(unsigned long *platformId, unsigned long *majorVersion) {
    if (failsNow(FAKE_GET_VERSION) || !state.versionSucceeds)
        return 0;
    *platformId = state.platformId;
    *majorVersion = state.majorVersion;
    return 1;
}

int platformFindFirstFile(const char *pattern, char *name, size_t nameSize) {
    if (failsNow(FAKE_FIND_FIRST_FILE))
        return 0;
    // Only the "*.<extension>" patterns the installer uses.
    std::string extension = fold(std::string(pattern).substr(1));
    std::string directory = fold(absolute(state.currentDirectory));
    for (const std::string &folded : state.order) {
        const FakeNode &node = state.nodes[folded];
        if (parentOf(folded) != directory || folded.size() < extension.size() ||
            folded.compare(folded.size() - extension.size(), extension.size(), extension) != 0)
            continue;
        std::string base = node.path.substr(node.path.rfind('\\') + 1);
        if (base.size() >= nameSize)
            return 0;
        memcpy(name, base.c_str(), base.size() + 1);
        return 1;
    }
    return 0;
}

unsigned long platformGetCurrentDirectory(char *buffer, unsigned long size) {
    if (failsNow(FAKE_GET_CURRENT_DIRECTORY))
        return 0;
    return copyOut(state.currentDirectory, buffer, size);
}

unsigned long platformGetWindowsDirectory(char *buffer, unsigned long size) {
    if (failsNow(FAKE_GET_WINDOWS_DIRECTORY))
        return 0;
    return copyOut(state.windowsDirectory, buffer, size);
}

unsigned long platformGetFileAttributes(const char *path) {
    FakeNode *node = findNode(path);
    if (!node)
        return PLATFORM_NO_ATTRIBUTES;
    return node->directory ? PLATFORM_ATTRIBUTE_DIRECTORY : 0x20ul;
}

int platformCopyFile(const char *source, const char *destination) {
    if (failsNow(FAKE_COPY_FILE))
        return 0;
    FakeNode *from = findNode(source);
    FakeNode *to = findNode(destination);
    FakeNode *parent = findNode(parentOf(absolute(destination)));
    if (!from || from->directory || (to && to->directory) || !parent || !parent->directory)
        return 0;
    fakeAddFile(destination, from->content);
    return 1;
}

int platformRegKeyExists(const char *key) {
    return fakeRegKeyExists(key) ? 1 : 0;
}

PlatformRegKey *platformRegCreateKey(const char *key) {
    if (failsNow(FAKE_REG_CREATE_KEY) || keyPath(key).empty())
        return nullptr;
    fakeAddRegKey(key);
    ++state.openRegKeys;
    return reinterpret_cast<PlatformRegKey *>(new FakeHandle{keyPath(key)});
}

int platformRegSetValue(PlatformRegKey *key, const char *name, unsigned long type, const void *data,
                        unsigned long size) {
    if (failsNow(FAKE_REG_SET_VALUE))
        return 0;
    FakeHandle *handle = reinterpret_cast<FakeHandle *>(key);
    FakeRegValue value{true, type, std::string(static_cast<const char *>(data), size)};
    state.keys[handle->key].values[fold(name)] = std::make_pair(std::string(name), value);
    return 1;
}

void platformRegCloseKey(PlatformRegKey *key) {
    --state.openRegKeys;
    delete reinterpret_cast<FakeHandle *>(key);
}

int platformReadKey() {
    ++state.keyReads;
    if (state.keyQueue.empty())
        return PLATFORM_KEY_UNAVAILABLE;
    int key = state.keyQueue.front();
    state.keyQueue.pop_front();
    return key;
}

int platformReadInputChar() {
    if (state.inputPosition >= state.input.size())
        return -1;
    return static_cast<unsigned char>(state.input[state.inputPosition++]);
}

void platformWriteOutput(const char *format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    int length = vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::vector<char> text(static_cast<size_t>(length) + 1);
    vsnprintf(text.data(), text.size(), format, args);
    state.output.append(text.data(), static_cast<size_t>(length));
}

void platformReportError(const char *text) {
    state.errorOutput += std::string(text) + ": No such file or directory\n";
}

PlatformFile *platformOpenFile(const char *path) {
    FakeNode *node = findNode(path);
    if (failsNow(FAKE_OPEN_FILE) || !node || node->directory)
        return nullptr;
    ++state.openFiles;
    return reinterpret_cast<PlatformFile *>(new FakeOpenFile{node->content, 0});
}

size_t platformReadFile(PlatformFile *file, void *buffer, size_t size) {
    FakeOpenFile *open = reinterpret_cast<FakeOpenFile *>(file);
    if (open->position >= open->content.size())
        return 0;
    size_t count = std::min(size, open->content.size() - open->position);
    memcpy(buffer, open->content.data() + open->position, count);
    open->position += count;
    return count;
}

int platformSeekFile(PlatformFile *file, long offset) {
    reinterpret_cast<FakeOpenFile *>(file)->position = static_cast<size_t>(offset);
    return 1;
}

void platformCloseFile(PlatformFile *file) {
    --state.openFiles;
    delete reinterpret_cast<FakeOpenFile *>(file);
}

// Each block carries its size in front, for the heap counts.
static const size_t HEADER = 16;

void *platformAllocate(size_t size) {
    if (failsNow(FAKE_ALLOCATE))
        return nullptr;
    char *block = static_cast<char *>(malloc(size + HEADER));
    memcpy(block, &size, sizeof size);
    ++state.heapBlocks;
    ++state.heapAllocations;
    state.heapBytes += size;
    if (state.heapBytes > state.heapPeakBytes)
        state.heapPeakBytes = state.heapBytes;
    return block + HEADER;
}

void platformRelease(void *block) {
    if (!block)
        return;
    char *start = static_cast<char *>(block) - HEADER;
    size_t size;
    memcpy(&size, start, sizeof size);
    --state.heapBlocks;
    state.heapBytes -= size;
    free(start);
}
