// The INF stream: the one read-only stream over the INF file that every
// reader shares for the whole run, and the protocol by which a section
// reader reads its body and hands the stream back.
//
// The stream does its own text-mode translation over the raw bytes: a CR LF
// pair arrives as one LF and a Ctrl-Z byte ends the data. A position is the
// offset of the next raw byte with the number of the physical line it lies
// on, so seeking back to a position taken before a read always returns to
// exactly where that read began, whether the file has CR LF or bare LF line
// ends. (The C runtime's own text-mode tell gets that wrong for bare-LF
// files.)
//
// A physical line longer than a line buffer holds is never cut into
// pieces: every reader skips it whole, as if it were a comment, and the
// stream reports it by its number and counts it in the shortfall while its
// report switch is on (the first pass only, so that each such line counts
// once). Its tail is read byte by byte, so memory stays the same whatever
// the line's length. A line that holds a NUL byte, or a CR that is not the
// last byte before its LF (a CR at the end of the data too), is skipped and
// reported the same way: a NUL would end its text early and a lone CR
// would hide what follows it, so what the line asks for cannot be known. A
// line both too long and holding such a byte is reported once, as too
// long.
//
// A failed seek leaves the position unknown, and reading on could hand a
// reader the middle of some other line; a failed read (a floppy disk's
// read error) must not pass for the end of the file, or the rest of it
// would go uninstalled in silence. After either, the stream reads nothing,
// and its failed flag tells the run to stop.

#ifndef INFINST_INF_STREAM_H
#define INFINST_INF_STREAM_H

#include <cstddef>

#include "common/capacity.h"

struct PlatformFile;

struct InfPosition {
    long offset;        // of the next raw byte
    unsigned long line; // physical line of that byte, counted from 1
};

struct InfStream {
    PlatformFile *file;
    long bufferOffset;     // file offset of buffer[0]
    size_t next;           // next unread byte in buffer
    size_t end;            // bytes held in buffer
    unsigned long line;    // physical line of the next unread byte
    InfPosition lineStart; // where the line readLine last gave began
    bool reportLongLines;  // report and count each line skipped: too long, stray CR or NUL
    bool failed;           // set for good by a failed seek or read: every read ends
    bool stopped;          // set by a reader whose run must end: every read ends
    unsigned char buffer[512];
};

// Opens the INF file; false on failure, with the runtime's error left for
// platformReportError.
bool infOpen(InfStream *stream, const char *path);
void infClose(InfStream *stream);

// True when the file's first two bytes are a UTF-16 byte-order mark (FF FE
// or FE FF). Only right after infOpen.
bool infHasUtf16Mark(InfStream *stream);
// True when the file's first three bytes are the UTF-8 byte-order mark
// (EF BB BF). Only right after infOpen.
bool infHasUtf8Mark(InfStream *stream);

InfPosition infTell(const InfStream *stream);
void infSeek(InfStream *stream, InfPosition position);
void infRewind(InfStream *stream);

// Reads the text of the next line, without its line end, into a LINE_SIZE
// buffer. Lines of more than LINE_SIZE - 1 characters (every byte before
// the LF but the CR of a CR LF), and lines with a stray CR or a NUL, are
// skipped (and reported while the stream's report switch is on). False at
// the end of data, after a failed seek or read, and once a reader stopped
// the run.
bool readLine(InfStream *stream, char *line);

// What a section reader does with one body line; `context` is the
// reader's own.
typedef void (*SectionLineHandler)(char *line, void *context);

// Reads a section body from the current position: every line up to the
// next header (a line whose first character after white space is '[')
// goes to `handler`, except lines of spaces and tabs only and lines
// beginning with ';'. Leaves the stream at the start of that header line,
// or at the end of the file.
void readSectionBody(InfStream *stream, SectionLineHandler handler, void *context);

#endif
