// Reading a driver INF file of the NT 4.0 kind into memory: its lines as
// the setup engine of those systems reads them, its sections by name, the
// fields of a line with their quotes taken off and their %strings% put in.
//
// The file is read once, whole, into a fixed buffer, and turned in place
// into logical lines: a ';' outside double quotes begins a comment, a '\'
// at the end of a line joins the next line to it, blank lines are dropped.
// Each line keeps the number of the physical line it began on, for the
// messages. A UTF-16 file with a byte-order mark is taken when every
// character in it is ASCII; any other file is taken as bytes (code page
// 932 or another ANSI code page), and its text passes through unchanged.

#ifndef INFCONV_CONV_READER_H
#define INFCONV_CONV_READER_H

#include <cstddef>

#include "infconv/infconv_capacity.h"

enum ConvLoadResult {
    CONV_LOADED,
    CONV_OPEN_FAILED,
    CONV_READ_FAILED,
    CONV_TOO_LARGE,
    CONV_UTF16_NOT_ASCII
};

// Reads the file into the line and section tables, replacing whatever an
// earlier call read. Lines that are too long, and lines past the tables'
// capacities, and lines holding a NUL byte, are reported and counted as
// left out. A read error is CONV_READ_FAILED: what follows is unknown.
ConvLoadResult convLoad(const char *path);

// Loads bytes already in memory, as convLoad does a file's.
ConvLoadResult convLoadBytes(const char *data, size_t size);

// The name of the section at `index` in file order, or null past the last.
const char *convSectionName(int index);

// True when a section of that name (ASCII case not mattering) exists.
bool convHasSection(const char *name);

// Walks the lines of every section named `name`, in file order. Start
// with a zeroed cursor; each call gives the next line's text and number.
struct ConvCursor {
    int section;
    int line;
};
bool convNextLine(const char *name, ConvCursor *cursor, const char **text, unsigned long *number);

// True when some line of the file, outside any section or in one, is the
// class line of the installer's own form ("Class=LegacyDriver").
bool convHasLegacyDriverClass();

// A line "key = rest": the key with its quotes taken off and its ends
// trimmed into a CONV_FIELD_SIZE buffer, and where the rest begins. False
// for a line without '=' outside quotes, or whose key does not fit.
bool convSplitEntry(const char *line, char *key, const char **rest);

// Like convNextLine, the next line whose key is `key` (ASCII case not
// mattering either), with where its rest begins.
bool convNextEntry(const char *section, const char *key, ConvCursor *cursor, const char **line,
                   unsigned long *number, const char **rest);

// The rest of the first line of every section named `section` whose key
// is `key` (ASCII case not mattering either), or null.
const char *convFindEntry(const char *section, const char *key);

// The comma-separated fields of a text: each trimmed, its quotes taken off
// ("" inside quotes is one quote) and its %strings% put in from
// [Strings.0411] or else [Strings] ("%%" is one '%'; an unknown name stays
// as it is). A field that would not fit CONV_FIELD_SIZE, or a field past
// CONV_FIELD_CAPACITY, sets tooLong.
struct ConvFields {
    int count;
    bool tooLong;
    char text[CONV_FIELD_CAPACITY][CONV_FIELD_SIZE];
};
void convReadFields(const char *text, ConvFields *fields);

// The field at `index`, or the empty text past the last one.
const char *convField(const ConvFields *fields, int index);

#endif
