// The installation records on the disk: the folder INFINST of the Windows
// directory, one record in it for each INF file installed, named after the
// CRC-32 of the INF file's bytes ("1A2B3C4D.REC"), so that the same bytes
// find the same record wherever the file lies, and two INF files of one
// name but other bytes get records of their own. The copies of the files a
// record's installations replaced lie beside it ("1A2B3C4D.001").
//
// A record is read in the order it was written. Its pending items, those
// the machine may still hold, are the items its last complete take-back
// kept and every item installed since; it is live when it was installed
// after its last take-back (or never taken back). A last line without its
// line end was cut off while written, and is not read.

#ifndef INFINST_RECORD_FILE_H
#define INFINST_RECORD_FILE_H

#include "record/record_item.h"

// The extension of a record, and how many names a record may try when the
// one its CRC-32 gives is another INF file's.
extern const char RECORD_EXTENSION[]; // ".REC"
const int RECORD_NAME_TRIES = 8;

// The records' folder, its separator included, into a PATH_SIZE buffer;
// false when the Windows directory cannot be had or the path not fit.
bool recordFolder(char *folder);

// The size and CRC-32 of a file's bytes; false when it cannot be read.
bool recordFileOf(const char *path, RecordFile *file);

// A record's head and state, read in one pass.
struct RecordSummary {
    RecordFile inf;          // the INF file's bytes
    char infPath[PATH_SIZE]; // its full path when first installed
    unsigned long lastRun;   // the highest run number, 0 when none
    bool live;
    unsigned long pendingLine; // where its pending items begin (internal)
};

// False when the file cannot be read or is no record (its first line that
// is no comment is not an INF line).
bool recordReadSummary(const char *path, RecordSummary *summary);

// Calls `each` for every pending item of the record, in the order of the
// file, from its summary as just read; false when the file cannot be read
// or is no record.
bool recordReadItems(const char *path, const RecordSummary &summary,
                     void (*each)(const RecordItem &item, void *context), void *context);

// The pending item at `index` (from 0) into `item`. For a caller that
// writes to the record between two items, which it cannot while the
// record is open.
enum RecordItemAt { RECORD_ITEM_READ, RECORD_ITEM_PAST_LAST, RECORD_ITEM_FAILED };
RecordItemAt recordReadItemAt(const char *path, int index, RecordItem *item);

// The record of the INF file with these bytes: its path in `folder` into
// a PATH_SIZE buffer, and whether it exists. The name its CRC-32 gives is
// taken unless a record of another INF file holds it, and then the next,
// up to RECORD_NAME_TRIES; a record that cannot be read holds its name.
// False when no name is left.
bool recordPathOf(const char *folder, const RecordFile &inf, char *path, bool *exists);

// The highest run number of every record in the folder, 0 when none.
unsigned long recordLastRun(const char *folder);

// "YYYY-MM-DD hh:mm:ss" of the platform's local time, into 20 bytes.
void recordNow(char *date);

#endif
