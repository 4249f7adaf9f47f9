// The fake machine's files (support/fake.h): folders and files with their
// read-only attribute, the current and Windows directories, the search of
// the current directory, open files with their reads, the copies, the
// deletions and the converter's own file operations.

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "common/capacity.h"
#include "platform/platform.h"
#include "support/fake_state.h"

namespace {

struct FakeSearch {
    std::vector<std::pair<std::string, bool>> matches; // name, directory; in directory order
    size_t next;
};

struct FakeOpenFile {
    std::string content;
    size_t position;
};

bool isAbsolute(const char *path) {
    return (path[0] != '\0' && path[1] == ':') || path[0] == '\\';
}

// Each lookup folds its path here, and closed files wait here for the
// next open: no heap block once they have grown.
std::string g_folded;
// (Never destroyed, so that what they hold stays reachable at exit.)
std::vector<FakeOpenFile *> &g_closedFiles = *new std::vector<FakeOpenFile *>;

FakeNode *findFolded(const std::string &folded) {
    auto found = g_fake.nodes.find(folded);
    return found == g_fake.nodes.end() ? nullptr : &found->second;
}

// The folder that would hold `path`, when it is one. A path with no
// separator of its own ("a:name") lies in the current directory.
bool parentIsDirectory(const char *path) {
    fakeFoldPath(path, &g_folded);
    std::string parent = fakeParentOf(g_folded);
    FakeNode *node = fakeFindNode(parent.c_str());
    return node && node->directory;
}

void addNode(const std::string &path, bool directory, bool readOnly, const std::string &content) {
    std::string folded;
    fakeFoldPath(path.c_str(), &folded);
    auto found = g_fake.nodes.find(folded);
    if (found == g_fake.nodes.end()) {
        found = g_fake.nodes.emplace(folded, FakeNode()).first;
        found->second.made = g_fake.made++;
    }
    FakeNode &node = found->second; // a file written again keeps its place
    node.path = fakeAbsolutePath(path.c_str());
    node.directory = directory;
    node.readOnly = readOnly;
    node.content = content;
}

// Forgets the file or folder at the folded path.
void removeNode(const std::string &folded) {
    g_fake.nodes.erase(folded);
}

unsigned long copyOut(const std::string &text, char *buffer, unsigned long size) {
    if (text.size() + 1 > size)
        return static_cast<unsigned long>(text.size() + 1);
    memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<unsigned long>(text.size());
}

unsigned long attributesOf(const FakeNode *node) {
    if (!node)
        return PLATFORM_NO_ATTRIBUTES;
    if (node->directory)
        return PLATFORM_ATTRIBUTE_DIRECTORY;
    return 0x20ul | (node->readOnly ? PLATFORM_ATTRIBUTE_READONLY : 0ul);
}

// Test names are short: they always fit, as found names do on Win32.
void writeMatch(const std::pair<std::string, bool> &match, char *name, bool *directory) {
    snprintf(name, PATH_SIZE, "%s", match.first.c_str());
    *directory = match.second;
}

} // namespace

std::string fakeAbsolutePath(const char *path) {
    std::string full = isAbsolute(path) ? std::string(path) : g_fake.currentDirectory + "\\" + path;
    while (full.size() > 3 && fakeLastSeparator(full, true) == full.size() - 1)
        full.pop_back();
    return full;
}

void fakeFoldPath(const char *path, std::string *folded) {
    folded->clear();
    if (!isAbsolute(path)) {
        *folded = g_fake.currentDirectory;
        *folded += '\\';
    }
    *folded += path;
    // Folded as a whole: the current directory's characters and the
    // path's are one text.
    size_t lastKept = 0;
    char *text = &(*folded)[0];
    size_t size = folded->size();
    bool endsInSeparator = false;
    for (size_t at = 0, step; at < size; at += step) {
        step = fakeCharacterLength(text, size, at);
        endsInSeparator = false;
        if (step == 2)
            continue;
        char &c = text[at];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c == '/')
            c = '\\';
        endsInSeparator = c == '\\';
        if (!endsInSeparator)
            lastKept = at + 1;
    }
    // Trailing separators go, but a drive's root keeps its own.
    if (endsInSeparator)
        folded->resize(std::max(lastKept, std::min(size, static_cast<size_t>(3))));
}

std::string fakeParentOf(const std::string &folded) {
    size_t slash = fakeLastSeparator(folded, false);
    return slash == std::string::npos ? std::string() : folded.substr(0, slash);
}

FakeNode *fakeFindNode(const char *path) {
    fakeFoldPath(path, &g_folded);
    return findFolded(g_folded);
}

void fakeSetCurrentDirectory(const std::string &path) {
    g_fake.currentDirectory = path;
}

void fakeSetWindowsDirectory(const std::string &path) {
    g_fake.windowsDirectory = path;
}

void fakeAddDirectory(const std::string &path) {
    addNode(path, true, false, std::string());
}

void fakeAddFile(const std::string &path, const std::string &content, bool readOnly) {
    addNode(path, false, readOnly, content);
}

bool fakeFileIsReadOnly(const std::string &path) {
    FakeNode *node = fakeFindNode(path.c_str());
    return node && node->readOnly;
}

bool fakeFileExists(const std::string &path) {
    FakeNode *node = fakeFindNode(path.c_str());
    return node && !node->directory;
}

std::string fakeFileContent(const std::string &path) {
    FakeNode *node = fakeFindNode(path.c_str());
    return node && !node->directory ? node->content : std::string();
}

std::vector<std::string> fakePaths() {
    std::vector<std::string> paths;
    for (const auto &node : g_fake.nodes)
        paths.push_back(node.second.path);
    return paths;
}

void fakeSetFileInUse(const std::string &path) {
    std::string folded;
    fakeFoldPath(path.c_str(), &folded);
    g_fake.filesInUse.insert(folded);
}

const std::vector<std::string> &fakeFilesDeletedAtRestart() {
    return g_fake.deletedAtRestart;
}

void fakeLimitReads(size_t most) {
    g_fake.readLimit = most;
}

int fakeOpenFiles() {
    return g_fake.openFiles;
}

int fakeOpenSearches() {
    return g_fake.openSearches;
}

// The platform operations.

// A name against the name part of a search's pattern: "*.<extension>"
// (like NT, which also matches the 8.3 short name, so that "a.info" is
// "A~1.INF", a name matches when its extension begins with the
// pattern's), "<name>.*", or a name itself; ASCII letters without case.
static bool matchesPattern(const std::string &name, const std::string &pattern) {
    size_t dot = name.rfind('.');
    std::string base;
    std::string extension;
    std::string wanted;
    fakeFoldName(name.substr(0, dot).c_str(), &base);
    if (dot != std::string::npos)
        fakeFoldName(name.c_str() + dot + 1, &extension);
    if (pattern.compare(0, 2, "*.") == 0) {
        fakeFoldName(pattern.c_str() + 2, &wanted);
        return dot != std::string::npos && extension.compare(0, wanted.size(), wanted) == 0;
    }
    if (pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0) {
        fakeFoldName(pattern.substr(0, pattern.size() - 2).c_str(), &wanted);
        return base == wanted;
    }
    std::string folded;
    fakeFoldName(name.c_str(), &folded);
    fakeFoldName(pattern.c_str(), &wanted);
    return folded == wanted;
}

// A pattern of the current directory, or of a folder it names.
PlatformSearch *platformFindFirstFile(const char *pattern, char *name, bool *directory) {
    if (fakeCall(FAKE_FIND_FIRST_FILE))
        return nullptr;
    std::string text = pattern;
    size_t slash = fakeLastSeparator(text, true);
    std::string folder =
        slash == std::string::npos ? g_fake.currentDirectory : text.substr(0, slash);
    std::string namePattern = slash == std::string::npos ? text : text.substr(slash + 1);
    std::string parent;
    fakeFoldPath(folder.c_str(), &parent);
    // The directory's entries in the order they were made.
    std::vector<const FakeNode *> entries;
    for (const auto &entry : g_fake.nodes) {
        if (fakeParentOf(entry.first) == parent)
            entries.push_back(&entry.second);
    }
    std::sort(entries.begin(), entries.end(),
              [](const FakeNode *a, const FakeNode *b) { return a->made < b->made; });
    FakeSearch search{{}, 0};
    for (const FakeNode *entry : entries) {
        const FakeNode &node = *entry;
        std::string base = node.path.substr(fakeLastSeparator(node.path, true) + 1);
        if (matchesPattern(base, namePattern))
            search.matches.emplace_back(base, node.directory);
    }
    if (search.matches.empty())
        return nullptr;
    writeMatch(search.matches[0], name, directory);
    search.next = 1;
    ++g_fake.openSearches;
    return reinterpret_cast<PlatformSearch *>(new FakeSearch(search));
}

int platformFindNextFile(PlatformSearch *search, char *name, bool *directory) {
    FakeSearch *open = reinterpret_cast<FakeSearch *>(search);
    if (fakeCall(FAKE_FIND_NEXT_FILE) || open->next >= open->matches.size())
        return 0;
    writeMatch(open->matches[open->next++], name, directory);
    return 1;
}

void platformFindClose(PlatformSearch *search) {
    fakeCall(FAKE_FIND_CLOSE);
    --g_fake.openSearches;
    delete reinterpret_cast<FakeSearch *>(search);
}

unsigned long platformGetCurrentDirectory(char *buffer, unsigned long size) {
    if (fakeCall(FAKE_GET_CURRENT_DIRECTORY))
        return 0;
    return copyOut(g_fake.currentDirectory, buffer, size);
}

unsigned long platformGetWindowsDirectory(char *buffer, unsigned long size) {
    if (fakeCall(FAKE_GET_WINDOWS_DIRECTORY))
        return 0;
    return copyOut(g_fake.windowsDirectory, buffer, size);
}

unsigned long platformGetFileAttributes(const char *path) {
    if (fakeCall(FAKE_GET_FILE_ATTRIBUTES))
        return PLATFORM_NO_ATTRIBUTES;
    return attributesOf(fakeFindNode(path));
}

int platformSetFileAttributes(const char *path, unsigned long attributes) {
    FakeNode *node = fakeFindNode(path);
    if (fakeCall(FAKE_SET_FILE_ATTRIBUTES) || !node)
        return 0;
    node->readOnly = (attributes & PLATFORM_ATTRIBUTE_READONLY) != 0;
    return 1;
}

int platformCopyFile(const char *source, const char *destination) {
    if (fakeCall(FAKE_COPY_FILE))
        return 0;
    FakeNode *from = fakeFindNode(source);
    FakeNode *to = fakeFindNode(destination);
    if (!from || from->directory || (to && (to->directory || to->readOnly)) ||
        !parentIsDirectory(destination))
        return 0;
    fakeAddFile(destination, std::string(from->content), from->readOnly);
    return 1;
}

void platformReportError(const char *text) {
    if (fakeCall(FAKE_REPORT_ERROR))
        return;
    g_fake.errorOutput += std::string(text) + ": No such file or directory\n";
}

PlatformFile *platformOpenFile(const char *path) {
    FakeNode *node = fakeFindNode(path);
    if (fakeCall(FAKE_OPEN_FILE) || !node || node->directory)
        return nullptr;
    ++g_fake.openFiles;
    FakeOpenFile *open = g_closedFiles.empty() ? new FakeOpenFile : g_closedFiles.back();
    if (!g_closedFiles.empty())
        g_closedFiles.pop_back();
    open->content = node->content;
    open->position = 0;
    return reinterpret_cast<PlatformFile *>(open);
}

size_t platformReadFile(PlatformFile *file, void *buffer, size_t size) {
    if (fakeCall(FAKE_READ_FILE))
        return PLATFORM_READ_FAILED;
    FakeOpenFile *open = reinterpret_cast<FakeOpenFile *>(file);
    if (open->position >= open->content.size())
        return 0;
    size_t count = std::min(size, open->content.size() - open->position);
    if (g_fake.readLimit != 0)
        count = std::min(count, g_fake.readLimit);
    memcpy(buffer, open->content.data() + open->position, count);
    open->position += count;
    return count;
}

int platformSeekFile(PlatformFile *file, long offset) {
    if (fakeCall(FAKE_SEEK_FILE))
        return 0;
    reinterpret_cast<FakeOpenFile *>(file)->position = static_cast<size_t>(offset);
    return 1;
}

void platformCloseFile(PlatformFile *file) {
    fakeCall(FAKE_CLOSE_FILE);
    --g_fake.openFiles;
    g_closedFiles.push_back(reinterpret_cast<FakeOpenFile *>(file));
}

PlatformNewFile platformWriteNewFile(const char *path, const void *data, size_t size) {
    if (fakeCall(FAKE_WRITE_NEW_FILE))
        return PLATFORM_NEW_FILE_FAILED;
    if (fakeFindNode(path))
        return PLATFORM_NEW_FILE_EXISTS;
    if (!parentIsDirectory(path))
        return PLATFORM_NEW_FILE_FAILED;
    addNode(path, false, false, std::string(static_cast<const char *>(data), size));
    return PLATFORM_NEW_FILE_WRITTEN;
}

// The converter's own file operations.

unsigned long platformFindPath(const char *path, char *found) {
    if (fakeCall(FAKE_FIND_PATH))
        return PLATFORM_NO_ATTRIBUTES;
    unsigned long attributes = attributesOf(fakeFindNode(path));
    if (attributes != PLATFORM_NO_ATTRIBUTES)
        snprintf(found, PATH_SIZE, "%s", path);
    return attributes;
}

int platformMakeDirectory(const char *path) {
    if (fakeCall(FAKE_MAKE_DIRECTORY) || fakeFindNode(path) || !parentIsDirectory(path))
        return 0;
    fakeAddDirectory(path);
    return 1;
}

int platformRemoveDirectory(const char *path) {
    FakeNode *node = fakeFindNode(path);
    if (fakeCall(FAKE_REMOVE_DIRECTORY) || !node || !node->directory)
        return 0;
    std::string folded = g_folded;
    for (const auto &other : g_fake.nodes) {
        if (fakeLiesIn(other.first, folded))
            return 0; // not empty
    }
    removeNode(folded);
    return 1;
}

int platformCopyNewFile(const char *source, const char *destination) {
    FakeNode *from = fakeFindNode(source);
    if (fakeCall(FAKE_COPY_NEW_FILE) || fakeFindNode(destination) || !from || from->directory ||
        !parentIsDirectory(destination))
        return 0;
    fakeAddFile(destination, std::string(from->content), from->readOnly);
    return 1;
}

// Taking back what the installer put in place.

PlatformDelete platformDeleteFile(const char *path) {
    FakeNode *node = fakeFindNode(path);
    if (fakeCall(FAKE_DELETE_FILE) || !node || node->directory)
        return PLATFORM_DELETE_FAILED;
    std::string folded = g_folded;
    if (node->readOnly || g_fake.filesInUse.count(folded))
        return PLATFORM_DELETE_IN_USE;
    removeNode(folded);
    return PLATFORM_DELETED;
}

int platformDeleteFileAtRestart(const char *path) {
    if (fakeCall(FAKE_DELETE_AT_RESTART) || !fakeFindNode(path))
        return 0;
    g_fake.deletedAtRestart.push_back(path);
    return 1;
}

int platformSameFile(const char *a, const char *b) {
    if (fakeCall(FAKE_SAME_FILE))
        return 0;
    FakeNode *first = fakeFindNode(a);
    return first && !first->directory && first == fakeFindNode(b);
}

// The installation record.

int platformAppendFile(const char *path, const void *data, size_t size) {
    FakeNode *node = fakeFindNode(path);
    if (fakeCall(FAKE_APPEND_FILE) || (node && (node->directory || node->readOnly)) ||
        (!node && !parentIsDirectory(path)))
        return 0;
    if (node)
        node->content.append(static_cast<const char *>(data), size);
    else
        addNode(path, false, false, std::string(static_cast<const char *>(data), size));
    return 1;
}

int platformFlushFile(const char *path) {
    FakeNode *node = fakeFindNode(path);
    return !fakeCall(FAKE_FLUSH_FILE) && node && !node->directory ? 1 : 0;
}

int platformGetFullPath(const char *path, char *full) {
    std::string whole = fakeAbsolutePath(path);
    if (fakeCall(FAKE_GET_FULL_PATH) || whole.size() >= PATH_SIZE)
        return 0;
    snprintf(full, PATH_SIZE, "%s", whole.c_str());
    return 1;
}
