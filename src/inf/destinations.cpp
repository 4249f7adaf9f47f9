// The destination directory table; see destinations.h.

#include "inf/destinations.h"

#include <cstring>

#include "common/capacity.h"
#include "common/messages.h"
#include "inf/inf_stream.h"
#include "inf/text.h"
#include "platform/platform.h"

struct DestinationEntry {
    int32_t directoryId;
    char *name; // heap copy, owned by the table
};

static DestinationEntry g_destinations[DESTINATION_CAPACITY];
static int g_destinationCount = 0;
static int32_t g_defaultDirectoryId = -1;

static void readDestinationLine(char *line, void *) {
    if (strlen(line) >= PATH_SIZE) {
        say(MSG_DESTINATION_LINE_TOO_LONG);
        return;
    }
    char key[PATH_SIZE];
    char value[PATH_SIZE];
    strcpy(key, line);
    char *equals = strchr(key, '=');
    if (!equals)
        return;
    *equals = '\0';
    strcpy(value, equals + 1);
    trimSpace(key);
    trimSpace(value);

    int32_t id = readSigned32(value);
    say(MSG_DESTINATION_ENTRY, key, static_cast<int>(id));
    if (equalsIgnoreCase(key, "DefaultDestDir"))
        g_defaultDirectoryId = id;
    else if (key[0] != '\0')
        setDestination(key, id);
}

void readDestinationDirs(InfStream *stream) {
    readSectionBody(stream, readDestinationLine, nullptr);
}

void setDestination(const char *name, int32_t id) {
    for (int i = 0; i < g_destinationCount; ++i) {
        if (strcmp(g_destinations[i].name, name) == 0) {
            g_destinations[i].directoryId = id;
            return;
        }
    }
    if (g_destinationCount == DESTINATION_CAPACITY) {
        say(MSG_TOO_MANY_DESTINATIONS);
        return;
    }
    char *copy = heapCopy(name);
    if (!copy) {
        say(MSG_OUT_OF_MEMORY);
        return;
    }
    g_destinations[g_destinationCount].directoryId = id;
    g_destinations[g_destinationCount].name = copy;
    ++g_destinationCount;
}

int32_t lookupDirectoryId(const char *name) {
    for (int i = 0; i < g_destinationCount; ++i) {
        if (strcmp(g_destinations[i].name, name) == 0)
            return g_destinations[i].directoryId;
    }
    return g_defaultDirectoryId;
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
    const char *subdirectory;
    switch (id) {
    case 10: subdirectory = "\\"; break;
    case 11: subdirectory = "\\System32\\"; break;
    case 12: subdirectory = "\\System32\\Drivers\\"; break;
    default: return false;
    }
    char windows[PATH_SIZE];
    unsigned long length = platformGetWindowsDirectory(windows, PATH_SIZE);
    if (length == 0 || length >= PATH_SIZE)
        return false;
    return composePath(path, windows, subdirectory);
}

bool destinationForSection(const char *name, char *path) {
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
}
