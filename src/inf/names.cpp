// File names and registry keys the installer accepts; see names.h.

#include "inf/names.h"

#include <cstring>

#include "common/capacity.h"
#include "inf/text.h"

const char SERVICES_KEY_PREFIX[] = "System\\CurrentControlSet\\Services\\";
static_assert(sizeof SERVICES_KEY_PREFIX - 1 == SERVICES_KEY_PREFIX_LENGTH, "prefix length");

bool isServiceKey(const char *key) {
    return startsWithIgnoreCase(key, SERVICES_KEY_PREFIX) &&
           key[SERVICES_KEY_PREFIX_LENGTH] != '\0' && key[SERVICES_KEY_PREFIX_LENGTH] != '\\';
}

// The AddReg mark anywhere outranks a copy mark (a header that holds both
// has always been the AddReg section): the higher SectionMark wins.
static const struct {
    const char *text;
    SectionMark mark;
} SECTION_MARKS[] = {
    {"AddReg]", SECTION_MARK_ADDREG},
    {"Copy]", SECTION_MARK_COPY},
    {"CopyFiles]", SECTION_MARK_COPY},
};

SectionMark sectionMark(const char *text) {
    SectionMark found = SECTION_MARK_NONE;
    for (; *text; text = textNextChar(text)) {
        for (const auto &mark : SECTION_MARKS) {
            if (mark.mark > found && strncmp(text, mark.text, strlen(mark.text)) == 0)
                found = mark.mark;
        }
    }
    return found;
}

// "..", or dots and spaces alone: Windows drops trailing dots and spaces
// from names, so such a name is refused along with ".." itself.
static bool isDotsOnly(const char *name, size_t length) {
    size_t dots = 0;
    for (size_t i = 0; i < length; ++i) {
        if (name[i] != '.' && name[i] != ' ')
            return false;
        dots += name[i] == '.';
    }
    return dots >= 2;
}

bool isDeviceName(const char *component, size_t length) {
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

bool isUnsafeFileName(const char *line) {
    size_t length = strlen(line);
    return *textFindSeparator(line) != '\0' || strchr(line, ':') || isDotsOnly(line, length) ||
           isDeviceName(line, length);
}

bool isUnsafeRelativePath(const char *path) {
    for (const char *part = path;;) {
        const char *end = textFindSeparator(part);
        size_t length = static_cast<size_t>(end - part);
        char name[LINE_SIZE];
        if (length == 0 || length >= sizeof name)
            return true;
        memcpy(name, part, length);
        name[length] = '\0';
        if (isUnsafeFileName(name))
            return true;
        if (*end == '\0')
            return false;
        part = end + 1;
    }
}
