// The in-memory platform of the tests; see platform-fake.h.

#include "platform/platform-fake.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <set>

#include "common/capacity.h"
#include "platform/platform.h"

namespace {

struct FakeNode {
    std::string path; // as it was first written
    bool directory;
    bool readOnly;
    std::string content;
};

struct FakeKey {
    std::string name; // its last part, as it was first written
    std::map<std::string, std::pair<std::string, FakeRegValue>> values; // by folded name
};

struct FakeSearch {
    std::vector<std::pair<std::string, bool>> matches; // name, directory; in directory order
    size_t next;
};

struct FakeOpenFile {
    std::string content;
    size_t position;
};

struct FakeState {
    bool versionSucceeds;
    unsigned long platformId;
    unsigned long majorVersion;
    bool doubleByte = true; // code page 932, else a single-byte code page
    std::string currentDirectory;
    std::string windowsDirectory;
    std::vector<std::string> order; // folded paths, in the order they were made
    std::map<std::string, FakeNode> nodes;
    std::map<std::string, FakeKey> keys;  // by folded path
    std::set<std::string> unreadableKeys; // folded paths
    std::set<std::string> filesInUse;     // folded paths
    std::vector<std::string> deletedAtRestart;
    std::deque<int> keyQueue;
    int keyReads;
    std::string input;
    size_t inputPosition;
    std::string output;
    std::string errorOutput;
    int calls[FAKE_OPERATION_COUNT];
    int failAt[FAKE_OPERATION_COUNT];
    int openFiles;
    int openSearches;
    int openRegKeys;
    size_t heapBlocks;
    size_t heapBytes;
    size_t heapPeakBytes;
    size_t heapAllocations;
};

FakeState state;

bool isLeadByte(char c) {
    unsigned char byte = static_cast<unsigned char>(c);
    return state.doubleByte && ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC));
}

// The bytes of the character at `at`: two for a lead byte and its trail
// byte (never below 0x40, as in the program), else one.
size_t characterLength(const std::string &text, size_t at) {
    return at + 1 < text.size() && isLeadByte(text[at]) &&
                   static_cast<unsigned char>(text[at + 1]) >= 0x40
               ? 2
               : 1;
}

// Paths and keys as Windows compares them: ASCII letters without case, in
// a path '/' as '\' (a key's or value's name keeps its '/'), the bytes of
// a double-byte character as they are.
std::string fold(const std::string &text, bool path = true) {
    std::string folded = text;
    for (size_t at = 0, step; at < folded.size(); at += step) {
        step = characterLength(folded, at);
        char &c = folded[at];
        if (step == 2)
            continue;
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c == '/' && path)
            c = '\\';
    }
    return folded;
}

// The offsets of the characters of `text` that are `separators`, never a
// trail byte.
std::vector<size_t> separatorsOf(const std::string &text, const char *separators) {
    std::vector<size_t> found;
    for (size_t at = 0, step; at < text.size(); at += step) {
        step = characterLength(text, at);
        if (step == 1 && text[at] != '\0' && strchr(separators, text[at]))
            found.push_back(at);
    }
    return found;
}

size_t lastSeparator(const std::string &path) {
    std::vector<size_t> found = separatorsOf(path, "\\/");
    return found.empty() ? std::string::npos : found.back();
}

bool endsWithSeparator(const std::string &path) {
    return !path.empty() && lastSeparator(path) == path.size() - 1;
}

bool isAbsolute(const std::string &path) {
    return (path.size() >= 2 && path[1] == ':') || (!path.empty() && path[0] == '\\');
}

std::string absolute(const std::string &path) {
    std::string full = isAbsolute(path) ? path : state.currentDirectory + "\\" + path;
    while (full.size() > 3 && endsWithSeparator(full))
        full.pop_back();
    return full;
}

std::string parentOf(const std::string &path) {
    size_t slash = lastSeparator(path);
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
    std::vector<size_t> slashes = separatorsOf(path, "\\");
    if (!slashes.empty() && slashes.back() == path.size() - 1) {
        path.pop_back();
        slashes.pop_back();
    }
    if (path.empty() || path[0] == '\\')
        return std::string();
    for (size_t i = 1; i < slashes.size(); ++i) {
        if (slashes[i] == slashes[i - 1] + 1)
            return std::string();
    }
    return fold(path, false);
}

// The key that holds a key: '/' is a character of a key's name.
std::string keyParentOf(const std::string &path) {
    std::vector<size_t> slashes = separatorsOf(path, "\\");
    return slashes.empty() ? std::string() : path.substr(0, slashes.back());
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
    state.doubleByte = true;
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

void fakeUseSingleByteCodePage() {
    state.doubleByte = false;
}

void fakeSetCurrentDirectory(const std::string &path) {
    state.currentDirectory = path;
}

void fakeSetWindowsDirectory(const std::string &path) {
    state.windowsDirectory = path;
}

static void addNode(const std::string &path, bool directory, bool readOnly,
                    const std::string &content) {
    std::string full = absolute(path);
    std::string folded = fold(full);
    if (!state.nodes.count(folded))
        state.order.push_back(folded);
    state.nodes[folded] = FakeNode{full, directory, readOnly, content};
}

void fakeAddDirectory(const std::string &path) {
    addNode(path, true, false, std::string());
}

void fakeAddFile(const std::string &path, const std::string &content, bool readOnly) {
    addNode(path, false, readOnly, content);
}

bool fakeFileIsReadOnly(const std::string &path) {
    FakeNode *node = findNode(path);
    return node && node->readOnly;
}

bool fakeFileExists(const std::string &path) {
    FakeNode *node = findNode(path);
    return node && !node->directory;
}

std::string fakeFileContent(const std::string &path) {
    FakeNode *node = findNode(path);
    return node && !node->directory ? node->content : std::string();
}

// Makes the key at `end` bytes of `path`, keeping the letter case of its
// last part as `original` (the same bytes unfolded) gives it.
static void makeKey(const std::string &path, const std::string &original, size_t end) {
    FakeKey &made = state.keys[path.substr(0, end)];
    if (made.name.empty()) {
        // The separator before it, never the trail byte of a kanji.
        std::vector<size_t> slashes = separatorsOf(original.substr(0, end), "\\");
        size_t start = slashes.empty() ? 0 : slashes.back() + 1;
        made.name = original.substr(start, end - start);
    }
}

void fakeAddRegKey(const std::string &key) {
    std::string path = keyPath(key);
    for (size_t slash : separatorsOf(path, "\\"))
        makeKey(path, key, slash);
    makeKey(path, key, path.size());
}

void fakeAddUnreadableRegKey(const std::string &key) {
    fakeAddRegKey(key);
    state.unreadableKeys.insert(keyPath(key));
}

bool fakeRegKeyExists(const std::string &key) {
    std::string path = keyPath(key);
    return !path.empty() && state.keys.count(path);
}

FakeRegValue fakeRegValue(const std::string &key, const std::string &name) {
    auto found = state.keys.find(keyPath(key));
    if (found == state.keys.end())
        return FakeRegValue{false, 0, std::string()};
    auto value = found->second.values.find(fold(name, false));
    if (value == found->second.values.end())
        return FakeRegValue{false, 0, std::string()};
    return value->second.second;
}

int fakeRegValueCount(const std::string &key) {
    auto found = state.keys.find(keyPath(key));
    return found == state.keys.end() ? 0 : static_cast<int>(found->second.values.size());
}

void fakeSetFileInUse(const std::string &path) {
    state.filesInUse.insert(fold(absolute(path)));
}

const std::vector<std::string> &fakeFilesDeletedAtRestart() {
    return state.deletedAtRestart;
}

std::vector<std::string> fakePaths() {
    std::vector<std::string> paths;
    for (const auto &node : state.nodes)
        paths.push_back(node.second.path);
    return paths;
}

std::string fakeMachineSnapshot() {
    std::string text;
    for (const auto &node : state.nodes)
        text += node.first + (node.second.directory ? " dir" : " file") +
                (node.second.readOnly ? " ro " : " rw ") + node.second.content + "\n";
    for (const auto &key : state.keys) {
        text += "key " + key.first + "\n";
        for (const auto &value : key.second.values)
            text += " " + value.first + " " + std::to_string(value.second.second.type) + " " +
                    value.second.second.bytes + "\n";
    }
    return text;
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

int fakeOpenSearches() {
    return state.openSearches;
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

int platformIsLeadByte(unsigned char byte) {
    return isLeadByte(static_cast<char>(byte)) ? 1 : 0;
}

// Test names are short: they always fit, as found names do on Win32.
static void writeMatch(const std::pair<std::string, bool> &match, char *name, bool *directory) {
    snprintf(name, PATH_SIZE, "%s", match.first.c_str());
    *directory = match.second;
}

// Only the "*.<extension>" patterns the installer uses. Like NT, which
// also matches the 8.3 short name ("a.info" is "A~1.INF"), a name matches
// when its extension begins with the pattern's.
PlatformSearch *platformFindFirstFile(const char *pattern, char *name, bool *directory) {
    if (failsNow(FAKE_FIND_FIRST_FILE))
        return nullptr;
    std::string extension = fold(std::string(pattern).substr(2));
    std::string current = fold(absolute(state.currentDirectory));
    FakeSearch search{{}, 0};
    for (const std::string &folded : state.order) {
        if (parentOf(folded) != current)
            continue;
        const std::string &path = state.nodes[folded].path;
        std::string base = path.substr(lastSeparator(path) + 1);
        size_t dot = base.rfind('.');
        if (dot != std::string::npos &&
            fold(base.substr(dot + 1)).compare(0, extension.size(), extension) == 0)
            search.matches.emplace_back(base, state.nodes[folded].directory);
    }
    if (search.matches.empty())
        return nullptr;
    writeMatch(search.matches[0], name, directory);
    search.next = 1;
    ++state.openSearches;
    return reinterpret_cast<PlatformSearch *>(new FakeSearch(search));
}

int platformFindNextFile(PlatformSearch *search, char *name, bool *directory) {
    FakeSearch *open = reinterpret_cast<FakeSearch *>(search);
    if (open->next >= open->matches.size())
        return 0;
    writeMatch(open->matches[open->next++], name, directory);
    return 1;
}

void platformFindClose(PlatformSearch *search) {
    --state.openSearches;
    delete reinterpret_cast<FakeSearch *>(search);
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
    if (node->directory)
        return PLATFORM_ATTRIBUTE_DIRECTORY;
    return 0x20ul | (node->readOnly ? PLATFORM_ATTRIBUTE_READONLY : 0ul);
}

int platformSetFileAttributes(const char *path, unsigned long attributes) {
    FakeNode *node = findNode(path);
    if (failsNow(FAKE_SET_FILE_ATTRIBUTES) || !node)
        return 0;
    node->readOnly = (attributes & PLATFORM_ATTRIBUTE_READONLY) != 0;
    return 1;
}

int platformCopyFile(const char *source, const char *destination) {
    if (failsNow(FAKE_COPY_FILE))
        return 0;
    FakeNode *from = findNode(source);
    FakeNode *to = findNode(destination);
    FakeNode *parent = findNode(parentOf(absolute(destination)));
    if (!from || from->directory || (to && (to->directory || to->readOnly)) || !parent ||
        !parent->directory)
        return 0;
    fakeAddFile(destination, std::string(from->content), from->readOnly);
    return 1;
}

PlatformKeyProbe platformRegProbeKey(const char *key) {
    if (!fakeRegKeyExists(key))
        return PLATFORM_KEY_NOT_FOUND;
    return state.unreadableKeys.count(keyPath(key)) ? PLATFORM_KEY_OPEN_FAILED
                                                    : PLATFORM_KEY_OPENED;
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
    state.keys[handle->key].values[fold(name, false)] = std::make_pair(std::string(name), value);
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
    if (failsNow(FAKE_READ_FILE))
        return PLATFORM_READ_FAILED;
    FakeOpenFile *open = reinterpret_cast<FakeOpenFile *>(file);
    if (open->position >= open->content.size())
        return 0;
    size_t count = std::min(size, open->content.size() - open->position);
    memcpy(buffer, open->content.data() + open->position, count);
    open->position += count;
    return count;
}

int platformSeekFile(PlatformFile *file, long offset) {
    if (failsNow(FAKE_SEEK_FILE))
        return 0;
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

PlatformNewFile platformWriteNewFile(const char *path, const void *data, size_t size) {
    if (failsNow(FAKE_WRITE_NEW_FILE))
        return PLATFORM_NEW_FILE_FAILED;
    if (findNode(path))
        return PLATFORM_NEW_FILE_EXISTS;
    FakeNode *parent = findNode(parentOf(absolute(path)));
    if (!parent || !parent->directory)
        return PLATFORM_NEW_FILE_FAILED;
    addNode(path, false, false, std::string(static_cast<const char *>(data), size));
    return PLATFORM_NEW_FILE_WRITTEN;
}

// The converter's own file operations.

unsigned long platformFindPath(const char *path, char *found) {
    unsigned long attributes = platformGetFileAttributes(path);
    if (attributes != PLATFORM_NO_ATTRIBUTES)
        snprintf(found, PATH_SIZE, "%s", path);
    return attributes;
}

int platformMakeDirectory(const char *path) {
    FakeNode *parent = findNode(parentOf(absolute(path)));
    if (failsNow(FAKE_MAKE_DIRECTORY) || findNode(path) || !parent || !parent->directory)
        return 0;
    fakeAddDirectory(path);
    return 1;
}

// Forgets the file or folder at the folded path.
static void removeNode(const std::string &folded) {
    state.nodes.erase(folded);
    for (auto at = state.order.begin(); at != state.order.end(); ++at) {
        if (*at == folded) {
            state.order.erase(at);
            return;
        }
    }
}

int platformRemoveDirectory(const char *path) {
    FakeNode *node = findNode(path);
    std::string folded = fold(absolute(path));
    if (failsNow(FAKE_REMOVE_DIRECTORY) || !node || !node->directory)
        return 0;
    for (const std::string &other : state.order) {
        if (other.size() > folded.size() && other.compare(0, folded.size(), folded) == 0 &&
            other[folded.size()] == '\\')
            return 0; // not empty
    }
    removeNode(folded);
    return 1;
}

int platformCopyNewFile(const char *source, const char *destination) {
    FakeNode *from = findNode(source);
    FakeNode *parent = findNode(parentOf(absolute(destination)));
    if (failsNow(FAKE_COPY_NEW_FILE) || findNode(destination) || !from || from->directory ||
        !parent || !parent->directory)
        return 0;
    fakeAddFile(destination, std::string(from->content), from->readOnly);
    return 1;
}

char platformPathSeparator() {
    return '\\';
}

// Taking back what the installer put in place.

PlatformDelete platformDeleteFile(const char *path) {
    FakeNode *node = findNode(path);
    if (failsNow(FAKE_DELETE_FILE) || !node || node->directory)
        return PLATFORM_DELETE_FAILED;
    std::string folded = fold(absolute(path));
    if (node->readOnly || state.filesInUse.count(folded))
        return PLATFORM_DELETE_IN_USE;
    removeNode(folded);
    return PLATFORM_DELETED;
}

int platformDeleteFileAtRestart(const char *path) {
    if (failsNow(FAKE_DELETE_AT_RESTART) || !findNode(path))
        return 0;
    state.deletedAtRestart.push_back(path);
    return 1;
}

PlatformRegKey *platformRegOpenKey(const char *key) {
    if (failsNow(FAKE_REG_OPEN_KEY) || platformRegProbeKey(key) != PLATFORM_KEY_OPENED)
        return nullptr;
    ++state.openRegKeys;
    return reinterpret_cast<PlatformRegKey *>(new FakeHandle{keyPath(key)});
}

PlatformValueQuery platformRegQueryValue(PlatformRegKey *key, const char *name, unsigned long *type,
                                         void *data, unsigned long *size) {
    if (failsNow(FAKE_REG_QUERY_VALUE))
        return PLATFORM_VALUE_FAILED;
    FakeKey &open = state.keys[reinterpret_cast<FakeHandle *>(key)->key];
    auto found = open.values.find(fold(name, false));
    if (found == open.values.end())
        return PLATFORM_VALUE_NOT_FOUND;
    const FakeRegValue &value = found->second.second;
    if (value.bytes.size() > *size)
        return PLATFORM_VALUE_TOO_LARGE;
    *type = value.type;
    *size = static_cast<unsigned long>(value.bytes.size());
    memcpy(data, value.bytes.data(), value.bytes.size());
    return PLATFORM_VALUE_READ;
}

// As Win32 answers: a name that does not fit is no name at all.
static int enumName(const std::string &found, char *name, unsigned long size) {
    if (found.size() >= size)
        return -1;
    snprintf(name, size, "%s", found.c_str());
    return 1;
}

int platformRegEnumValue(PlatformRegKey *key, unsigned long index, char *name, unsigned long size) {
    const FakeKey &open = state.keys[reinterpret_cast<FakeHandle *>(key)->key];
    if (index >= open.values.size())
        return 0;
    return enumName(std::next(open.values.begin(), static_cast<long>(index))->second.first, name,
                    size);
}

int platformRegEnumKey(PlatformRegKey *key, unsigned long index, char *name, unsigned long size) {
    const std::string &path = reinterpret_cast<FakeHandle *>(key)->key;
    unsigned long at = 0;
    for (const auto &other : state.keys) {
        if (keyParentOf(other.first) == path && at++ == index)
            return enumName(other.second.name, name, size);
    }
    return 0;
}

int platformRegDeleteValue(const char *key, const char *name) {
    auto found = state.keys.find(keyPath(key));
    if (failsNow(FAKE_REG_DELETE_VALUE) || found == state.keys.end())
        return 0;
    return found->second.values.erase(fold(name, false)) == 1;
}

int platformSameFile(const char *a, const char *b) {
    FakeNode *first = findNode(a);
    return first && !first->directory && first == findNode(b);
}

int platformRegDeleteKey(const char *key) {
    std::string path = keyPath(key);
    if (failsNow(FAKE_REG_DELETE_KEY) || !state.keys.count(path))
        return 0;
    for (const auto &other : state.keys) {
        if (keyParentOf(other.first) == path)
            return 0;
    }
    state.keys.erase(path);
    state.unreadableKeys.erase(path);
    return 1;
}
