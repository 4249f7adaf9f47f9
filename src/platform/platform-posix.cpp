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
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/capacity.h"

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

// The converter's own file operations.

// The attributes platformFindPath answers for what stat found.
static unsigned long attributesOf(const struct stat &status) {
    return S_ISDIR(status.st_mode) ? PLATFORM_ATTRIBUTE_DIRECTORY : 0x20ul;
}

// The entry of `folder` whose name equals `name` with ASCII case ignored,
// copied over `name`; false when there is none.
static bool matchIgnoringCase(const char *folder, char *name) {
    DIR *directory = opendir(folder[0] ? folder : ".");
    if (!directory)
        return false;
    bool found = false;
    for (struct dirent *entry; !found && (entry = readdir(directory)) != nullptr;) {
        if (strlen(entry->d_name) == strlen(name) && strcasecmp(entry->d_name, name) == 0) {
            strcpy(name, entry->d_name);
            found = true;
        }
    }
    closedir(directory);
    return found;
}

unsigned long platformFindPath(const char *path, char *found) {
    struct stat status;
    if (stat(path, &status) == 0) {
        strcpy(found, path);
        return attributesOf(status);
    }
    // Part by part: each part kept as it is when it exists, else matched.
    size_t length = 0;
    found[0] = '\0';
    for (const char *part = path; *part;) {
        size_t partLength = strcspn(part, "/");
        if (partLength > 0) {
            char folder[PATH_SIZE];
            memcpy(folder, found, length + 1);
            memcpy(found + length, part, partLength);
            found[length + partLength] = '\0';
            if (stat(found, &status) != 0 && !matchIgnoringCase(folder, found + length))
                return PLATFORM_NO_ATTRIBUTES;
            length = strlen(found);
        }
        if (part[partLength] == '\0')
            break;
        found[length++] = '/';
        found[length] = '\0';
        part += partLength + 1;
    }
    return stat(found, &status) == 0 ? attributesOf(status) : PLATFORM_NO_ATTRIBUTES;
}

unsigned long platformGetFileAttributes(const char *path) {
    struct stat status;
    return stat(path, &status) == 0 ? attributesOf(status) : PLATFORM_NO_ATTRIBUTES;
}

// Nothing to change: unlink does not look at a file's own permissions.
int platformSetFileAttributes(const char *, unsigned long) {
    return 1;
}

int platformMakeDirectory(const char *path) {
    return mkdir(path, 0755) == 0 ? 1 : 0;
}

int platformRemoveDirectory(const char *path) {
    return rmdir(path) == 0 ? 1 : 0;
}

PlatformDelete platformDeleteFile(const char *path) {
    return unlink(path) == 0 ? PLATFORM_DELETED : PLATFORM_DELETE_FAILED;
}

int platformCopyNewFile(const char *source, const char *destination) {
    int from = open(source, O_RDONLY);
    if (from < 0)
        return 0;
    int to = open(destination, O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (to < 0) {
        close(from);
        return 0;
    }
    char buffer[8192];
    bool whole = true;
    for (;;) {
        ssize_t got = read(from, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            whole = got == 0;
            break;
        }
        for (ssize_t done = 0; whole && done < got;) {
            ssize_t written = write(to, buffer + done, static_cast<size_t>(got - done));
            if (written < 0 && errno == EINTR)
                continue;
            whole = written > 0;
            done += written > 0 ? written : 0;
        }
        if (!whole)
            break;
    }
    close(from);
    whole = close(to) == 0 && whole;
    if (!whole)
        unlink(destination);
    return whole ? 1 : 0;
}
