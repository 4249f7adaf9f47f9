// Finding the INF file and its folder; see inf_path.h.

#include "inf/inf_path.h"

#include <cstring>

#include "common/capacity.h"
#include "inf/text.h"
#include "platform/platform.h"

// The search also gives folders, and names that only match through their
// short name ("a.info" is "A~1.INF" on NT), so each match is checked.
static bool findFirstInfName(char *name) {
    bool directory = false;
    PlatformSearch *search = platformFindFirstFile("*.inf", name, &directory);
    if (!search)
        return false;
    bool found = !directory && hasInfExtension(name);
    while (!found && platformFindNextFile(search, name, &directory))
        found = !directory && hasInfExtension(name);
    platformFindClose(search);
    return found;
}

InfSearch findInfInCurrentDirectory(char *path) {
    char name[PATH_SIZE];
    if (!findFirstInfName(name))
        return INF_NOT_FOUND;
    char directory[PATH_SIZE];
    unsigned long length = platformGetCurrentDirectory(directory, PATH_SIZE);
    if (length == 0)
        return INF_NOT_FOUND;
    if (length >= PATH_SIZE)
        return INF_PATH_TOO_LONG;
    const char *separator = textLastSeparator(directory);
    if (separator && *separator == '\\' && separator[1] == '\0')
        directory[length - 1] = '\0'; // a drive's root
    char separated[PATH_SIZE];
    if (!composePath(separated, directory, "\\") || !composePath(path, separated, name))
        return INF_PATH_TOO_LONG;
    return INF_FOUND;
}
