// The destination directory table; see destinations.h.

#include "inf/destinations.h"

#include <cstring>

#include "common/capacity.h"
#include "common/say.h"
#include "common/shortfall.h"
#include "inf/directory_ids.h"
#include "inf/inf_messages.h"
#include "inf/inf_stream.h"
#include "inf/text.h"
#include "platform/platform.h"

struct DestinationEntry {
    int32_t directoryId;
    bool subfolder;
    char *name; // heap copy, owned by the table
};

static DestinationEntry g_destinations[DESTINATION_CAPACITY];
static int g_destinationCount = 0;
static int32_t g_defaultDirectoryId = -1;
static bool g_defaultSubfolder = false;

// True when a subfolder follows the number ("11,mysub", "12 , sub"): after
// the number and any spaces or tabs a comma, and after it something other
// than spaces, tabs or a comment ("11," and "11 ; a, b" name none). The
// value is trimmed already.
static bool namesSubfolder(const char *value) {
    if (*value == '+' || *value == '-')
        ++value;
    value += strspn(value, "0123456789");
    value += strspn(value, " \t");
    if (*value != ',')
        return false;
    ++value;
    value += strspn(value, " \t");
    return *value != '\0' && *value != ';';
}

// Every entry the table cannot take is counted: its section would
// otherwise fall back to the default directory without a word.
static void readDestinationLine(char *line, void *) {
    if (strlen(line) >= PATH_SIZE) {
        say(INF_MSG_DESTINATION_LINE_TOO_LONG);
        shortfallAdd();
        return;
    }
    char key[PATH_SIZE];
    char value[PATH_SIZE];
    strcpy(key, line);
    char *equals = strchr(key, '=');
    if (!equals) {
        if (!isBlankOrComment(line)) { // "Other.Copy  10": an entry it cannot read
            say(INF_MSG_DESTINATION_LINE_UNREADABLE, line);
            shortfallAdd();
        }
        return;
    }
    *equals = '\0';
    strcpy(value, equals + 1);
    trimSpace(key);
    trimSpace(value);

    int32_t id = readSigned32(value);
    say(INF_MSG_DESTINATION_ENTRY, key, static_cast<int>(id));
    bool subfolder = namesSubfolder(value);
    if (equalsIgnoreCase(key, "DefaultDestDir")) {
        g_defaultDirectoryId = id;
        g_defaultSubfolder = subfolder;
    } else if (key[0] != '\0') {
        setDestination(key, id, subfolder);
    }
}

void readDestinationDirs(InfStream *stream) {
    readSectionBody(stream, readDestinationLine, nullptr);
}

// The entry named `name` (case matters), or null.
static DestinationEntry *findEntry(const char *name) {
    for (int i = 0; i < g_destinationCount; ++i) {
        if (strcmp(g_destinations[i].name, name) == 0)
            return &g_destinations[i];
    }
    return nullptr;
}

void setDestination(const char *name, int32_t id, bool subfolder) {
    DestinationEntry *entry = findEntry(name);
    if (entry) {
        entry->directoryId = id;
        entry->subfolder = subfolder;
        return;
    }
    if (g_destinationCount == DESTINATION_CAPACITY) {
        say(INF_MSG_TOO_MANY_DESTINATIONS);
        shortfallAdd();
        return;
    }
    char *copy = heapCopy(name);
    if (!copy) {
        say(INF_MSG_OUT_OF_MEMORY);
        shortfallAdd();
        return;
    }
    g_destinations[g_destinationCount] = DestinationEntry{id, subfolder, copy};
    ++g_destinationCount;
}

DestinationMatch destinationNameMatch(const char *name) {
    if (findEntry(name))
        return DESTINATION_MATCH_EXACT;
    for (int i = 0; i < g_destinationCount; ++i) {
        if (equalsIgnoreCase(g_destinations[i].name, name))
            return DESTINATION_MATCH_IGNORING_CASE;
    }
    return DESTINATION_MATCH_NONE;
}

int32_t lookupDirectoryId(const char *name) {
    const DestinationEntry *entry = findEntry(name);
    return entry ? entry->directoryId : g_defaultDirectoryId;
}

bool isListedSectionHeader(const char *line) {
    if (line[0] != '[')
        return false;
    for (int i = 0; i < g_destinationCount; ++i) {
        const char *name = g_destinations[i].name;
        size_t length = strlen(name);
        // "[name]" must fit a path-sized buffer to be listed at all.
        if (length + 2 >= PATH_SIZE)
            continue;
        if (strncmp(line + 1, name, length) == 0 && line[length + 1] == ']' &&
            line[length + 2] == '\0')
            return true;
    }
    return false;
}

bool directoryForId(int32_t id, char *path) {
    const DirectoryIdFolder *entry =
        id < 0 ? nullptr : directoryIdFolder(static_cast<unsigned long>(id));
    if (!entry)
        return false;
    char windows[PATH_SIZE];
    unsigned long length = platformGetWindowsDirectory(windows, PATH_SIZE);
    if (length == 0 || length >= PATH_SIZE)
        return false;
    char root[PATH_SIZE];
    return composePath(root, windows, "\\") && composePath(path, root, entry->folder);
}

// The installer makes no folders, so a section bound for a subfolder has no
// destination: its files must not land one level up instead.
bool destinationForSection(const char *name, char *path) {
    const DestinationEntry *entry = findEntry(name);
    if (entry ? entry->subfolder : g_defaultSubfolder)
        return false;
    return directoryForId(lookupDirectoryId(name), path);
}

int32_t defaultDirectoryId() {
    return g_defaultDirectoryId;
}

void clearDestinations() {
    for (int i = 0; i < g_destinationCount; ++i)
        platformRelease(g_destinations[i].name);
    g_destinationCount = 0;
}

void resetDestinations() {
    clearDestinations();
    g_defaultDirectoryId = -1;
    g_defaultSubfolder = false;
}
