// The platform layer on Linux and other POSIX systems, for the converter's
// Linux build: the operations the converter makes (reading the input
// file, writing the new one, standard output, the heap), so that a
// driver's INF file can be converted on a modern machine too. The
// installer itself runs on Windows only and needs the rest of platform.h.
//
// INF files are read as code page 932 text, as on a Japanese NT.

#include "platform/platform.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <unistd.h>

int platformIsLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

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
    return fread(buffer, 1, size, reinterpret_cast<FILE *>(file));
}

int platformSeekFile(PlatformFile *file, long offset) {
    return fseek(reinterpret_cast<FILE *>(file), offset, SEEK_SET) == 0;
}

void platformCloseFile(PlatformFile *file) {
    fclose(reinterpret_cast<FILE *>(file));
}

PlatformNewFile platformWriteNewFile(const char *path, const void *data, size_t size) {
    int file = open(path, O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (file < 0)
        return errno == EEXIST ? PLATFORM_NEW_FILE_EXISTS : PLATFORM_NEW_FILE_FAILED;
    const char *bytes = static_cast<const char *>(data);
    size_t done = 0;
    while (done < size) {
        ssize_t written = write(file, bytes + done, size - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            break;
        done += static_cast<size_t>(written);
    }
    bool whole = close(file) == 0 && done == size;
    if (whole)
        return PLATFORM_NEW_FILE_WRITTEN;
    unlink(path);
    return PLATFORM_NEW_FILE_FAILED;
}

char platformPathSeparator() {
    return '/';
}

void *platformAllocate(size_t size) {
    return malloc(size);
}

void platformRelease(void *block) {
    free(block);
}
