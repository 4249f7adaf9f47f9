// The INF stream and the section-body protocol; see inf_stream.h.

#include "inf/inf_stream.h"

#include <cstring>

#include "inf/text.h"
#include "platform/platform.h"

static const int END_OF_DATA = -1;
static const unsigned char CTRL_Z = 0x1A;

bool infOpen(InfStream *stream, const char *path) {
    stream->file = platformOpenFile(path);
    stream->bufferOffset = 0;
    stream->next = 0;
    stream->end = 0;
    return stream->file != nullptr;
}

void infClose(InfStream *stream) {
    if (stream->file)
        platformCloseFile(stream->file);
    stream->file = nullptr;
}

long infTell(const InfStream *stream) {
    return stream->bufferOffset + static_cast<long>(stream->next);
}

void infSeek(InfStream *stream, long position) {
    platformSeekFile(stream->file, position);
    stream->bufferOffset = position;
    stream->next = 0;
    stream->end = 0;
}

// Makes sure that at least `wanted` unread bytes are buffered, unless the
// file ends first; answers how many are.
static size_t fill(InfStream *stream, size_t wanted) {
    size_t held = stream->end - stream->next;
    if (held >= wanted)
        return held;
    memmove(stream->buffer, stream->buffer + stream->next, held);
    stream->bufferOffset += static_cast<long>(stream->next);
    stream->next = 0;
    stream->end = held;
    while (stream->end < wanted) {
        size_t got = platformReadFile(stream->file, stream->buffer + stream->end,
                                      sizeof stream->buffer - stream->end);
        if (got == 0)
            break;
        stream->end += got;
    }
    return stream->end;
}

// The next character in text mode, or END_OF_DATA.
static int nextChar(InfStream *stream) {
    size_t held = fill(stream, 2);
    if (held == 0)
        return END_OF_DATA;
    unsigned char c = stream->buffer[stream->next];
    if (c == CTRL_Z)
        return END_OF_DATA; // not consumed: the data ends here for good
    if (c == '\r' && held >= 2 && stream->buffer[stream->next + 1] == '\n') {
        stream->next += 2;
        return '\n';
    }
    stream->next += 1;
    return c;
}

bool readLine(InfStream *stream, char *line) {
    size_t length = 0;
    while (length < LINE_SIZE - 1) {
        int c = nextChar(stream);
        if (c == END_OF_DATA)
            break;
        line[length++] = static_cast<char>(c);
        if (c == '\n')
            break;
    }
    line[length] = '\0';
    return length > 0;
}

void readSectionBody(InfStream *stream, SectionLineHandler handler, void *context) {
    char line[LINE_SIZE];
    long position;
    for (;;) {
        position = infTell(stream);
        if (!readLine(stream, line))
            break;
        cutLineEnd(line);
        if (line[0] == '[')
            break;
        if (line[0] == ';' || line[0] == '\0')
            continue;
        handler(line, context);
    }
    infSeek(stream, position);
}
