// File names and registry keys the installer accepts; see names.h.

#include "inf/names.h"

#include <cstring>

#include "inf/text.h"

const char SERVICES_KEY_PREFIX[] = "System\\CurrentControlSet\\Services\\";
static_assert(sizeof SERVICES_KEY_PREFIX - 1 == SERVICES_KEY_PREFIX_LENGTH, "prefix length");

bool isServiceKey(const char *key) {
    return startsWithIgnoreCase(key, SERVICES_KEY_PREFIX) &&
           key[SERVICES_KEY_PREFIX_LENGTH] != '\0' && key[SERVICES_KEY_PREFIX_LENGTH] != '\\';
}

// The AddReg mark anywhere outranks a copy mark, as a header that holds
// both has always been the AddReg section.
SectionMark sectionMark(const char *text) {
    SectionMark found = SECTION_MARK_NONE;
    for (; *text; text = textNextChar(text)) {
        if (strncmp(text, "AddReg]", 7) == 0)
            return SECTION_MARK_ADDREG;
        if (strncmp(text, "Copy]", 5) == 0 || strncmp(text, "CopyFiles]", 10) == 0)
            found = SECTION_MARK_COPY;
    }
    return found;
}

// "..", or dots and spaces alone: Windows drops trailing dots and spaces
// from names, so such a component is refused along with ".." itself.
static bool isDotsOnly(const char *component, size_t length) {
    size_t dots = 0;
    for (size_t i = 0; i < length; ++i) {
        if (component[i] != '.' && component[i] != ' ')
            return false;
        dots += component[i] == '.';
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

bool isUnsafePath(const char *path) {
    if (path[0] == '\\' || path[0] == '/' || strchr(path, ':'))
        return true;
    for (const char *component = path;;) {
        const char *end = textFindSeparator(component);
        size_t length = static_cast<size_t>(end - component);
        if (isDotsOnly(component, length) || isDeviceName(component, length))
            return true;
        if (*end == '\0')
            return false;
        component = end + 1;
    }
}

bool isUnsafeFileName(const char *line) {
    return *textFindSeparator(line) != '\0' || isUnsafePath(line);
}
