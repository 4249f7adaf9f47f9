// The INF file's folder; see inf_path.h. Apart from the search of the
// current folder, so that the converter's Linux build, which searches no
// folder, takes the same rule.

#include <cstring>

#include "inf/inf_path.h"
#include "inf/text.h"

static bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

void infDirectoryOf(const char *infPath, char *infDirectory) {
    strcpy(infDirectory, infPath);
    const char *separator = textLastSeparator(infDirectory);
    size_t length = 0;
    if (separator)
        length = static_cast<size_t>(separator - infDirectory) + 1;
    else if (isAsciiLetter(infPath[0]) && infPath[1] == ':')
        length = 2;
    infDirectory[length] = '\0';
}
