// Questions about a file; see files.h.

#include "common/files.h"

#include <cstring>

#include "platform/platform.h"

bool isExistingFile(const char *path) {
    unsigned long attributes = platformGetFileAttributes(path);
    return attributes != PLATFORM_NO_ATTRIBUTES && !(attributes & PLATFORM_ATTRIBUTE_DIRECTORY);
}

// The bytes compared at a time.
static const size_t COMPARE_CHUNK = 512;

// Reads up to `size` bytes, as many as the file still has.
static size_t readFull(PlatformFile *file, unsigned char *buffer, size_t size) {
    size_t total = 0;
    while (total < size) {
        size_t got = platformReadFile(file, buffer + total, size - total);
        if (got == PLATFORM_READ_FAILED)
            return PLATFORM_READ_FAILED;
        if (got == 0)
            break;
        total += got;
    }
    return total;
}

FileComparison compareFiles(const char *first, const char *second) {
    PlatformFile *from = platformOpenFile(first);
    if (!from)
        return FIRST_UNREADABLE;
    PlatformFile *to = platformOpenFile(second);
    if (!to) {
        platformCloseFile(from);
        return SECOND_UNREADABLE;
    }
    FileComparison result = FILES_SAME;
    unsigned char a[COMPARE_CHUNK];
    unsigned char b[COMPARE_CHUNK];
    for (;;) {
        size_t gotA = readFull(from, a, COMPARE_CHUNK);
        size_t gotB = readFull(to, b, COMPARE_CHUNK);
        if (gotA == PLATFORM_READ_FAILED) {
            result = FIRST_UNREADABLE;
            break;
        }
        if (gotB == PLATFORM_READ_FAILED) {
            result = SECOND_UNREADABLE;
            break;
        }
        if (gotA != gotB || memcmp(a, b, gotA) != 0) {
            result = FILES_DIFFERENT;
            break;
        }
        if (gotA < COMPARE_CHUNK)
            break;
    }
    platformCloseFile(to);
    platformCloseFile(from);
    return result;
}

void clearReadOnly(const char *path) {
    unsigned long attributes = platformGetFileAttributes(path);
    if (attributes != PLATFORM_NO_ATTRIBUTES && (attributes & PLATFORM_ATTRIBUTE_READONLY))
        platformSetFileAttributes(path, attributes & ~PLATFORM_ATTRIBUTE_READONLY);
}
