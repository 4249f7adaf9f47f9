// Every fixed capacity of the installer. The program never grows a buffer
// or a table: what does not fit is reported and dropped, so its memory does
// not depend on the INF file it reads.

#ifndef INFINST_CAPACITY_H
#define INFINST_CAPACITY_H

#include <cstddef>

// A line of the INF file: at most 1023 characters and a NUL. A longer
// physical line is skipped whole, never cut into further lines.
const size_t LINE_SIZE = 1024;

// Every path the program holds or composes: at most 259 characters.
const size_t PATH_SIZE = 260;

// Entries of the [DestinationDirs] table.
const int DESTINATION_CAPACITY = 64;

// Registry keys this run may take over.
const int CLAIMED_KEY_CAPACITY = 64;

// Keys whose Type and ImagePath one run watches for a driver the kernel
// cannot load (the warning after the AddReg section); past them, none.
const int WRITTEN_KEY_CAPACITY = 64;

// Fields of an AddReg line, terminating NUL included.
const size_t REG_KEY_FIELD_SIZE = 256;
const size_t REG_NAME_FIELD_SIZE = 256;
const size_t REG_FLAGS_FIELD_SIZE = 32;
const size_t REG_DATA_FIELD_SIZE = 512;

// The installation record (src/record/): one line of it, the bytes of a
// value it keeps (a replaced value larger than that is not replaced: it
// could not be put back), and the name of a replaced file's saved copy
// ("1A2B3C4D.001").
const size_t RECORD_LINE_SIZE = 8192;
const size_t RECORD_VALUE_SIZE = 1024;
const size_t RECORD_SAVED_NAME_SIZE = 13;

// The lines of what a run found already there and left, held until its
// first change, so that a run that changes nothing writes nothing; past
// them, the record is started at once.
const size_t RECORD_PENDING_SIZE = 16384;

#endif
