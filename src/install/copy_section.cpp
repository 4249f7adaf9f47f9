// Copy sections; see copy_section.h.
//
// A line is taken exactly as it stands: no trimming, no cutting at ';',
// no splitting at commas. The installer promises to write only into the
// three system directories, so a line that could reach outside them is
// refused before any path is composed.

#include "install/copy_section.h"

#include <cstring>

#include "common/capacity.h"
#include "common/messages.h"
#include "common/shortfall.h"
#include "inf/inf_stream.h"
#include "inf/text.h"
#include "platform/platform.h"
#include "run/overwrite.h"

struct CopyContext {
    const char *infDirectory;
    const char *destinationDirectory;
};

bool isExistingFile(const char *path) {
    unsigned long attributes = platformGetFileAttributes(path);
    return attributes != PLATFORM_NO_ATTRIBUTES && !(attributes & PLATFORM_ATTRIBUTE_DIRECTORY);
}

// "..", or dots and spaces alone: Windows drops trailing dots and spaces
// from names, so such a component is refused along with ".." itself.
static bool isDotsOnly(const char *component, size_t length) {
    size_t dots = 0;
    for (size_t i = 0; i < length; ++i) {
        if (component[i] != '.' && component[i] != ' ')
            return false;
        dots += component[i] == '.';
    }
    return dots >= 2;
}

// The DOS device names, which Windows finds in every directory and with any
// extension: "NUL.sys" is the null device, "COM1.dll" a serial port.
static bool isDeviceName(const char *component, size_t length) {
    size_t base = 0;
    while (base < length && component[base] != '.')
        ++base;
    while (base > 0 && component[base - 1] == ' ')
        --base;
    if (base < 3 || base > 4)
        return false;
    char name[5] = {0};
    memcpy(name, component, base);
    if (base == 3)
        return equalsIgnoreCase(name, "CON") || equalsIgnoreCase(name, "PRN") ||
               equalsIgnoreCase(name, "AUX") || equalsIgnoreCase(name, "NUL");
    return (startsWithIgnoreCase(name, "COM") || startsWithIgnoreCase(name, "LPT")) &&
           name[3] >= '1' && name[3] <= '9';
}

// A trail byte is never a separator: "\x95\x5C.sys" is one name.
bool isUnsafeFileName(const char *line) {
    if (line[0] == '\\' || line[0] == '/' || strchr(line, ':'))
        return true;
    for (const char *component = line;;) {
        const char *end = textFindSeparator(component);
        size_t length = static_cast<size_t>(end - component);
        if (isDotsOnly(component, length) || isDeviceName(component, length))
            return true;
        if (*end == '\0')
            return false;
        component = end + 1;
    }
}

// A copy keeps the source's read-only attribute (from a CD or a write-
// protected floppy disk), and then no later installation could replace
// the file: the attribute is cleared. Failing that changes nothing the
// user could act on, so it goes unreported.
static void clearReadOnly(const char *path) {
    unsigned long attributes = platformGetFileAttributes(path);
    if (attributes != PLATFORM_NO_ATTRIBUTES && (attributes & PLATFORM_ATTRIBUTE_READONLY))
        platformSetFileAttributes(path, attributes & ~PLATFORM_ATTRIBUTE_READONLY);
}

static void copyLine(char *line, void *context) {
    const CopyContext *copy = static_cast<const CopyContext *>(context);
    if (isUnsafeFileName(line)) {
        say(MSG_BAD_FILE_NAME, line);
        shortfallAdd();
        return;
    }
    char source[PATH_SIZE];
    char destination[PATH_SIZE];
    if (!composePath(source, copy->infDirectory, line) ||
        !composePath(destination, copy->destinationDirectory, line)) {
        say(MSG_PATH_TOO_LONG, line);
        shortfallAdd();
        return;
    }
    say(MSG_COPYING, source, destination);
    if (isExistingFile(destination) && !confirmOverwrite()) {
        say(MSG_FILE_EXISTS, destination);
        say(MSG_FILE_NOT_COPIED);
        shortfallAdd();
        return;
    }
    if (!platformCopyFile(source, destination)) {
        say(MSG_COPY_FAILED, source);
        shortfallAdd();
        return;
    }
    clearReadOnly(destination);
}

void processCopySection(InfStream *stream, const char *infDirectory,
                        const char *destinationDirectory) {
    CopyContext context = {infDirectory, destinationDirectory};
    readSectionBody(stream, copyLine, &context);
}
