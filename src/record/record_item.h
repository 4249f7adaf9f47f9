// One item of the installation record: a change infinst made on the
// machine, or a file or value it found already there and left, with what
// was there before and what it put there. infinst writes one line of the
// record for each item before it makes the change; infundo reads the lines
// back and takes the changes back from them. Both go through here, so that
// a line means the same to both.
//
// A line is ASCII tags and numbers with text fields between them,
// separated by tabs and ended by CR LF (the record is a text file in code
// page 932 that a person can read with Notepad). In a text field the bytes
// below 0x20, 0x7F and '%' are written as '%' and two hexadecimal digits,
// so that no tab or line end of a name can split the line; the bytes of a
// value are written as hexadecimal digits, two a byte.
//
//   FILE-CREATED   run size crc path
//   FILE-REPLACED  run size crc path saved old-size old-crc
//   FILE-FOUND     run size crc path
//   FILE-NOT-COPIED run size crc path
//   KEY-CREATED    run key
//   VALUE-CREATED  run key name type bytes
//   VALUE-REPLACED run key name type bytes old-type old-bytes
//   VALUE-FOUND    run key name type bytes
//
// `run` numbers the installation that wrote the line, over every record:
// it orders the changes that several INF files made to one file or value.
// `size` and `crc` are those of the bytes copied (or found); `saved` names
// the copy of the replaced file kept beside the record. FILE-NOT-COPIED
// follows a FILE-CREATED or FILE-REPLACED line whose copy then failed: the
// copy did not happen, and the file there is as it gives.

#ifndef INFINST_RECORD_ITEM_H
#define INFINST_RECORD_ITEM_H

#include <cstddef>
#include <cstdint>

#include "common/capacity.h"

enum RecordItemKind {
    RECORD_FILE_CREATED,
    RECORD_FILE_REPLACED,
    RECORD_FILE_FOUND,
    RECORD_FILE_NOT_COPIED,
    RECORD_KEY_CREATED,
    RECORD_VALUE_CREATED,
    RECORD_VALUE_REPLACED,
    RECORD_VALUE_FOUND
};

// A file as the record knows it: its size and CRC-32. A file found but
// not read has the size RECORD_SIZE_UNREAD: the record names it, and says
// nothing of its bytes.
const unsigned long RECORD_SIZE_UNREAD = 0xFFFFFFFFul;
struct RecordFile {
    unsigned long size;
    uint32_t crc;
};

// A registry value as the record knows it: its type and bytes.
struct RecordValue {
    unsigned long type;
    unsigned long size;
    unsigned char bytes[RECORD_VALUE_SIZE];
};

struct RecordItem {
    RecordItemKind kind;
    unsigned long run;
    char path[PATH_SIZE];               // a file's destination
    char saved[RECORD_SAVED_NAME_SIZE]; // the replaced file's copy
    char key[REG_KEY_FIELD_SIZE];
    char name[REG_NAME_FIELD_SIZE];
    RecordFile file;      // copied, or found
    RecordFile oldFile;   // the replaced file
    RecordValue value;    // written, or found
    RecordValue oldValue; // the replaced value
};

// An empty item of `kind`: no names, no sizes, no bytes (the buffers are
// left as they are, and are never read past what is set).
void recordItemStart(RecordItem *item, RecordItemKind kind);

// The kind of item a line holds: files, keys or values; and whether it
// only tells what was there (found, or left by a copy that failed).
bool recordIsFile(RecordItemKind kind);
bool recordIsValue(RecordItemKind kind);
bool recordIsFound(RecordItemKind kind);

// Writes the item as one line, CR LF included, into a RECORD_LINE_SIZE
// buffer; false when it would not fit (which the capacities rule out).
bool recordFormatItem(const RecordItem &item, char *line);

// Reads one line (its CR LF cut or not) into `item`; false for a line that
// is no item, or whose fields do not read or fit.
bool recordParseItem(const char *line, RecordItem *item);

// The other lines of a record. Its head names the INF file it is of (the
// size and CRC-32 of its bytes, its full path when first installed); each
// installation of it adds a RUN line (its run number, the date and time,
// the INF file's full path then) before its items; each take-back adds an
// UNDO line, then a KEPT line (the tag, a tab and an item's line) for
// every item it left on the machine, then END.
//
//   INF   size crc path
//   RUN   run date path
//   UNDO  date
//   KEPT  item...
//   END
//
// Lines that begin with ';' are comments for the person who reads it.
bool recordFormatInf(const RecordFile &inf, const char *path, char *line);
bool recordParseInf(const char *line, RecordFile *inf, char *path);
bool recordFormatRun(unsigned long run, const char *date, const char *path, char *line);
bool recordParseRun(const char *line, unsigned long *run);
extern const char RECORD_UNDO_TAG[]; // "UNDO"
extern const char RECORD_KEPT_TAG[]; // "KEPT\t"
extern const char RECORD_END_TAG[];  // "END"
extern const char RECORD_END_LINE[]; // "END\r\n"

// The CRC-32 (the polynomial of zip files) of `size` bytes, continued from
// `crc` (0 at the start).
uint32_t recordCrc32(uint32_t crc, const void *data, size_t size);

#endif
