// The one way the programs' texts reach standard output; see say.h.

#include "common/say.h"

#include <cstdarg>

#include "platform/platform.h"

void say(const char *format, ...) {
    va_list args;
    va_start(args, format);
    platformWriteOutput(format, args);
    va_end(args);
}
