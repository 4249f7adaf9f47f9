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
    DestinationForm form;
    char *name; // heap copy, owned by the table
};

static DestinationEntry g_destinations[DESTINATION_CAPACITY];
static int g_destinationCount = 0;
static int32_t g_defaultDirectoryId = -1;
static DestinationForm g_defaultForm = DESTINATION_DIRECTORY;

// Removes spaces and tabs at both ends; answers the start.
static char *trimBlanks(char *text) {
    text += strspn(text, " \t");
    size_t length = strlen(text);
    while (length > 0 && isBlankChar(text[length - 1]))
        --length;
    text[length] = '\0';
    return text;
}

// Every entry the table cannot take is counted: its section would
// otherwise fall back to the default directory without a word. An entry
// whose number cannot be read is not: it is kept, and each section that
// takes it is counted where it is refused.
static void readDestinationLine(char *line, void *) {
    if (strlen(line) >= PATH_SIZE) {
        say(INF_MSG_DESTINATION_LINE_TOO_LONG);
        shortfallAdd();
        return;
    }
    char key[PATH_SIZE];
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
    trimSpace(key);
    // ';' and ',' are never the trail byte of a double-byte character.
    char *value = equals + 1;
    value[strcspn(value, ";")] = '\0';
    char *comma = strchr(value, ',');
    DestinationForm form = DESTINATION_DIRECTORY;
    if (comma) {
        *comma = '\0';
        if (!isBlankText(comma + 1)) // "11,mysub"; "11," names none
            form = DESTINATION_SUBFOLDER;
    }
    int32_t id = -1;
    if (readDecimal32(trimBlanks(value), &id)) {
        say(INF_MSG_DESTINATION_ENTRY, key, static_cast<int>(id));
    } else {
        say(INF_MSG_DESTINATION_NUMBER_UNREADABLE, line);
        form = DESTINATION_UNREADABLE;
    }
    if (equalsIgnoreCase(key, "DefaultDestDir")) {
        g_defaultDirectoryId = id;
        g_defaultForm = form;
    } else if (key[0] != '\0') {
        setDestination(key, id, form);
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

void setDestination(const char *name, int32_t id, DestinationForm form) {
    DestinationEntry *entry = findEntry(name);
    if (entry) {
        entry->directoryId = id;
        entry->form = form;
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
    g_destinations[g_destinationCount] = DestinationEntry{id, form, copy};
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
    if ((entry ? entry->form : g_defaultForm) != DESTINATION_DIRECTORY)
        return false;
    return directoryForId(lookupDirectoryId(name), path);
}

bool hasDefaultDestDir() {
    return g_defaultForm == DESTINATION_UNREADABLE || g_defaultDirectoryId != -1;
}

void clearDestinations() {
    for (int i = 0; i < g_destinationCount; ++i)
        platformRelease(g_destinations[i].name);
    g_destinationCount = 0;
}

void resetDestinations() {
    clearDestinations();
    g_defaultDirectoryId = -1;
    g_defaultForm = DESTINATION_DIRECTORY;
}
