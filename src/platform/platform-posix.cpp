// The platform layer on Linux and other POSIX systems, for the converter's
// Linux build: with the C runtime's part (platform-stdio.cpp), the
// operations the converter makes (reading the input file, writing the new
// one, standard output, the heap), so that a driver's INF file can be
// converted on a modern machine too. The installer itself runs on Windows
// only and needs the rest of platform.h.
//
// INF files are read as code page 932 text, as on a Japanese NT.

#include "platform/platform.h"

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

int platformIsLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
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
