// Copy sections; see copy_section.h.
//
// A line is taken exactly as it stands: no trimming, no cutting at ';',
// no splitting at commas. The installer promises to write only into the
// three system directories, so a line that could climb out of them is
// refused before any path is composed.

#include "install/copy_section.h"

#include <cstring>

#include "inf/inf_stream.h"
#include "inf/text.h"
#include "platform/platform.h"
#include "run/capacity.h"
#include "run/messages.h"
#include "run/overwrite.h"

struct CopyContext {
    const char *infDirectory;
    const char *destinationDirectory;
};

bool isExistingFile(const char *path) {
    unsigned long attributes = platformGetFileAttributes(path);
    return attributes != PLATFORM_NO_ATTRIBUTES && !(attributes & PLATFORM_ATTRIBUTE_DIRECTORY);
}

static bool isSeparator(char c) {
    return c == '\\' || c == '/' || c == '\0';
}

bool isUnsafeFileName(const char *line) {
    if (line[0] == '\\' || line[0] == '/' || strchr(line, ':'))
        return true;
    for (const char *component = line;; ++component) {
        // Windows drops trailing dots and spaces from a name, so ". ." and
        // "..." stand for the parent as much as ".." does.
        const char *end = component;
        int dots = 0;
        while (*end == '.' || *end == ' ')
            dots += *end++ == '.';
        if (isSeparator(*end) && dots >= 2)
            return true;
        component = strpbrk(component, "\\/");
        if (!component)
            return false;
    }
}

static void copyLine(char *line, void *context) {
    const CopyContext *copy = static_cast<const CopyContext *>(context);
    if (isUnsafeFileName(line)) {
        say(MSG_BAD_FILE_NAME, line);
        return;
    }
    char source[PATH_SIZE];
    char destination[PATH_SIZE];
    if (!composePath(source, copy->infDirectory, line) ||
        !composePath(destination, copy->destinationDirectory, line)) {
        say(MSG_PATH_TOO_LONG, line);
        return;
    }
    say(MSG_COPYING, source, destination);
    if (isExistingFile(destination) && !confirmOverwrite()) {
        say(MSG_FILE_EXISTS, destination);
        say(MSG_FILE_NOT_COPIED);
        return;
    }
    if (!platformCopyFile(source, destination))
        say(MSG_COPY_FAILED, source);
}

void processCopySection(InfStream *stream, const char *infDirectory,
                        const char *destinationDirectory) {
    CopyContext context = {infDirectory, destinationDirectory};
    readSectionBody(stream, copyLine, &context);
}
