// The one way the installer's texts reach standard output.

#include "common/messages.h"

#include "platform/platform.h"

void say(const char *format, ...) {
    va_list args;
    va_start(args, format);
    platformWriteOutput(format, args);
    va_end(args);
}
