// Questions about a file; see files.h.

#include "common/files.h"

#include "platform/platform.h"

bool isExistingFile(const char *path) {
    unsigned long attributes = platformGetFileAttributes(path);
    return attributes != PLATFORM_NO_ATTRIBUTES && !(attributes & PLATFORM_ATTRIBUTE_DIRECTORY);
}

void clearReadOnly(const char *path) {
    unsigned long attributes = platformGetFileAttributes(path);
    if (attributes != PLATFORM_NO_ATTRIBUTES && (attributes & PLATFORM_ATTRIBUTE_READONLY))
        platformSetFileAttributes(path, attributes & ~PLATFORM_ATTRIBUTE_READONLY);
}
