// The platform operations that the C runtime itself provides, the same on
// Windows and on POSIX systems: standard output and error, the raw reading
// of the INF file, and the heap. Linked with platform-win32.cpp into the
// Windows programs and with platform-posix.cpp into the converter's Linux
// build.

#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

void platformWriteOutput(const char *format, va_list args) {
    vfprintf(stdout, format, args);
}

void platformReportError(const char *text) {
    perror(text);
}

PlatformFile *platformOpenFile(const char *path) {
    return reinterpret_cast<PlatformFile *>(fopen(path, "rb"));
}

size_t platformReadFile(PlatformFile *file, void *buffer, size_t size) {
    FILE *stream = reinterpret_cast<FILE *>(file);
    size_t got = fread(buffer, 1, size, stream);
    return got == 0 && ferror(stream) ? PLATFORM_READ_FAILED : got;
}

int platformSeekFile(PlatformFile *file, long offset) {
    return fseek(reinterpret_cast<FILE *>(file), offset, SEEK_SET) == 0;
}

void platformCloseFile(PlatformFile *file) {
    fclose(reinterpret_cast<FILE *>(file));
}

void *platformAllocate(size_t size) {
    return malloc(size);
}

void platformRelease(void *block) {
    free(block);
}
