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

// Fields of an AddReg line, terminating NUL included.
const size_t REG_KEY_FIELD_SIZE = 256;
const size_t REG_NAME_FIELD_SIZE = 256;
const size_t REG_FLAGS_FIELD_SIZE = 32;
const size_t REG_DATA_FIELD_SIZE = 512;

#endif
