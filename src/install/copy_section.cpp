// Copying the files of copy sections; see copy_section.h.

#include "install/copy_section.h"

#include <cstring>

#include "common/messages.h"
#include "common/shortfall.h"
#include "platform/platform.h"
#include "run/overwrite.h"

bool isExistingFile(const char *path) {
    unsigned long attributes = platformGetFileAttributes(path);
    return attributes != PLATFORM_NO_ATTRIBUTES && !(attributes & PLATFORM_ATTRIBUTE_DIRECTORY);
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

void installFile(const char *source, const char *destination, void *) {
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
