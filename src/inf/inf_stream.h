// The INF stream: the one read-only stream over the INF file that every
// reader shares for the whole run, and the protocol by which a section
// reader reads its body and hands the stream back.
//
// The stream does its own text-mode translation over the raw bytes: a CR LF
// pair arrives as one LF and a Ctrl-Z byte ends the data. A position is the
// offset of the next raw byte, so seeking back to a position taken before a
// read always returns to exactly where that read began, whether the file
// has CR LF or bare LF line ends. (The C runtime's own text-mode tell gets
// that wrong for bare-LF files.)

#ifndef INFINST_INF_STREAM_H
#define INFINST_INF_STREAM_H

#include <cstddef>

#include "run/capacity.h"

struct PlatformFile;

struct InfStream {
    PlatformFile *file;
    long bufferOffset; // file offset of buffer[0]
    size_t next;       // next unread byte in buffer
    size_t end;        // bytes held in buffer
    unsigned char buffer[512];
};

// Opens the INF file; false on failure, with the runtime's error left for
// platformReportError.
bool infOpen(InfStream *stream, const char *path);
void infClose(InfStream *stream);

long infTell(const InfStream *stream);
void infSeek(InfStream *stream, long position);

// Reads the next line into a LINE_SIZE buffer: up to and including its LF,
// or LINE_SIZE - 1 characters of a longer line. False at the end of data.
bool readLine(InfStream *stream, char *line);

// What a section reader does with one body line; `context` is the
// reader's own.
typedef void (*SectionLineHandler)(char *line, void *context);

// Reads a section body from the current position: every line up to the
// next line that begins with '[' goes to `handler`, except empty lines and
// lines beginning with ';'. Leaves the stream at the start of that header
// line, or at the end of the file.
void readSectionBody(InfStream *stream, SectionLineHandler handler, void *context);

#endif
