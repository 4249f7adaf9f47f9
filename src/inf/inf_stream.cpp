// The INF stream and the section-body protocol; see inf_stream.h.

#include "inf/inf_stream.h"

#include <cstring>

#include "common/say.h"
#include "common/shortfall.h"
#include "inf/inf_messages.h"
#include "inf/text.h"
#include "platform/platform.h"

static const int END_OF_DATA = -1;
static const unsigned char CTRL_Z = 0x1A;

bool infOpen(InfStream *stream, const char *path) {
    stream->file = platformOpenFile(path);
    stream->bufferOffset = 0;
    stream->next = 0;
    stream->end = 0;
    stream->line = 1;
    stream->lineStart = InfPosition{0, 1};
    stream->reportLongLines = false;
    stream->failed = false;
    stream->stopped = false;
    return stream->file != nullptr;
}

void infClose(InfStream *stream) {
    if (stream->file)
        platformCloseFile(stream->file);
    stream->file = nullptr;
}

InfPosition infTell(const InfStream *stream) {
    return InfPosition{stream->bufferOffset + static_cast<long>(stream->next), stream->line};
}

void infSeek(InfStream *stream, InfPosition position) {
    if (!platformSeekFile(stream->file, position.offset))
        stream->failed = true;
    stream->bufferOffset = position.offset;
    stream->next = 0;
    stream->end = 0;
    stream->line = position.line;
}

void infRewind(InfStream *stream) {
    infSeek(stream, InfPosition{0, 1});
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
        if (got == PLATFORM_READ_FAILED)
            stream->failed = true;
        if (got == 0 || got == PLATFORM_READ_FAILED)
            break;
        stream->end += got;
    }
    return stream->end;
}

bool infHasUtf16Mark(InfStream *stream) {
    size_t held = fill(stream, 2);
    return startsWithUtf16Mark(stream->buffer + stream->next, held);
}

bool infHasUtf8Mark(InfStream *stream) {
    size_t held = fill(stream, 3);
    return startsWithUtf8Mark(stream->buffer + stream->next, held);
}

// The next character in text mode, or END_OF_DATA. A CR comes back as
// itself only when no LF follows it: a stray one.
static int nextChar(InfStream *stream) {
    size_t held = stream->end - stream->next;
    if (held < 2) // else fill would answer the same at once
        held = fill(stream, 2);
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

// Takes at once the run of bytes that nextChar would hand back one by one
// as they are: none of them LF, CR, Ctrl-Z or NUL, each with a byte buffered
// after it (so that no read happens earlier or later than it would). What
// does not fit the line makes it too long. Answers the line's new length.
static size_t takePlainBytes(InfStream *stream, char *line, size_t length, bool *tooLong) {
    size_t held = stream->end - stream->next;
    if (held < 2)
        return length;
    const unsigned char *from = stream->buffer + stream->next;
    size_t plain = held - 1;
    static const unsigned char SPECIAL[] = {'\n', '\r', CTRL_Z, '\0'};
    for (unsigned char special : SPECIAL) {
        const void *found = memchr(from, special, plain);
        if (found)
            plain = static_cast<size_t>(static_cast<const unsigned char *>(found) - from);
    }
    size_t taken = plain;
    if (taken > LINE_SIZE - 1 - length) {
        taken = LINE_SIZE - 1 - length;
        *tooLong = true;
    }
    memcpy(line + length, from, taken);
    stream->next += plain;
    return length + taken;
}

bool readLine(InfStream *stream, char *line) {
    if (stream->failed || stream->stopped)
        return false;
    for (;;) {
        stream->lineStart = infTell(stream);
        size_t length = 0;
        bool tooLong = false;
        bool stray = false; // a CR without its LF, or a NUL
        int c;
        for (;;) {
            length = takePlainBytes(stream, line, length, &tooLong);
            c = nextChar(stream);
            if (c == END_OF_DATA || c == '\n')
                break;
            if (c == '\r' || c == '\0')
                stray = true;
            if (length < LINE_SIZE - 1)
                line[length++] = static_cast<char>(c);
            else
                tooLong = true;
        }
        line[length] = '\0';
        if (stream->failed)
            return false; // never the part of a line before a read error
        if (c == '\n')
            ++stream->line;
        if (!tooLong && !stray)
            return c == '\n' || length > 0;
        if (stream->reportLongLines) {
            say(tooLong ? INF_MSG_LONG_LINE_SKIPPED : INF_MSG_STRAY_BYTE_SKIPPED,
                stream->lineStart.line);
            shortfallAdd();
        }
        if (c == END_OF_DATA)
            return false;
    }
}

// A header as the passes see it once a line is normalised: its first
// character after the white space that trimming removes is '['. An
// indented header ends a body too, so that no reader takes for a body line
// what the passes count as a section.
static bool isHeaderLine(const char *line) {
    while (isAsciiSpace(*line))
        ++line;
    return *line == '[';
}

void readSectionBody(InfStream *stream, SectionLineHandler handler, void *context) {
    char line[LINE_SIZE];
    while (readLine(stream, line)) {
        cutLineEnd(line);
        if (isHeaderLine(line)) {
            infSeek(stream, stream->lineStart); // the caller reads the header again
            return;
        }
        if (line[0] == ';' || isBlankText(line)) // a blank line asks for nothing
            continue;
        handler(line, context);
    }
}
