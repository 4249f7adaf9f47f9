// Every fixed capacity of the converter. Like the installer, it never
// grows a buffer or a table: what does not fit is reported with its line
// and left out, so its memory does not depend on the INF file it reads.
// The limits of the file it writes are the installer's own
// (common/capacity.h): line length, [DestinationDirs] entries, claimed
// registry keys and the fields of an AddReg line.

#ifndef INFCONV_CAPACITY_H
#define INFCONV_CAPACITY_H

#include <cstddef>

#include "common/capacity.h"

// The whole input file, after a UTF-16 file was turned into bytes. Driver
// INF files are a few kilobytes; a larger file is refused, never cut.
const size_t CONV_INPUT_SIZE = size_t{256} * 1024;

// Lines that ask for something (neither blank nor comment) and section
// headers in the input.
const int CONV_LINE_CAPACITY = 8192;
const int CONV_SECTION_CAPACITY = 1024;

// The fields of one input line, and the bytes of each once its quotes
// are taken off and its %strings% put in.
const int CONV_FIELD_CAPACITY = 12;
const size_t CONV_FIELD_SIZE = REG_DATA_FIELD_SIZE;

// Each part of the file written: copy sections, the files named with '@'
// in the install section itself, and the AddReg section. The whole file
// is their sum and a little more for its head.
const size_t CONV_PART_SIZE = size_t{32} * 1024;
const size_t CONV_HEAD_SIZE = size_t{4} * 1024 + DESTINATION_CAPACITY * PATH_SIZE;
const size_t CONV_OUTPUT_SIZE = CONV_HEAD_SIZE + 3 * CONV_PART_SIZE;

// A section name written into the output: "[name]" and "name=12" must fit
// the installer's composed header and [DestinationDirs] key buffers.
const size_t CONV_SECTION_NAME_SIZE = PATH_SIZE - 8;

// A file name written into a copy section. The installer composes it into
// 259-character paths behind the folder it is copied from and the one it
// is copied to, which the converter cannot know: the name leaves 64
// characters for them (a Windows directory of up to 46 characters, then
// "\System32\Drivers\"), so that a file written here is not refused
// there as too long on an ordinary system.
const size_t CONV_FILE_NAME_SIZE = PATH_SIZE - 64;

// The driver's files carried over, each looked for where the INF file
// says and copied beside the file written when they lie in several folders.
const int CONV_FILE_CAPACITY = 128;

// The items left out, said after the conversion in the order of the
// input's lines; past them, each is said at once.
const int CONV_LEFT_OUT_CAPACITY = 128;

// The lines listed as not needed on NT 3.x; past them, only their count.
const int CONV_NOT_NEEDED_CAPACITY = 32;

// A reason with its details: a file name or a path of one field, line
// numbers and folder names, put into a text of a few hundred bytes.
const size_t CONV_REASON_SIZE = 1024;

// The services whose values are gathered before any of them is written
// (AddService lines, and keys an AddReg line gives a service's values);
// a driver INF file names a few. Past them, every line below the
// services key is left out.
const int CONV_SERVICE_CAPACITY = 32;

// The import check of an image: the sections it maps (the NT loader takes
// no more than 96; an image with more is reported as unreadable), a name
// read whole (a module's or a function's, its NUL included; every listed
// name is shorter, so a longer one is shown cut and is in no list), and
// the entries read from its import table, descriptors and names together
// (a driver's few hundred fit; past them the table is reported as
// unreadable, so that no file makes the check run long).
const int CONV_IMAGE_SECTION_CAPACITY = 96;
const size_t CONV_IMPORT_NAME_SIZE = 256;
const int CONV_IMPORT_ENTRY_CAPACITY = 4096;

// The names a report or a reason shows of those an image imports (or of
// the modules it imports from) of one kind: the first few, then a count,
// in a text of this size; a name that does not fit is counted only.
const int CONV_NAMES_SHOWN = 3;
const size_t CONV_NAMES_TEXT_SIZE = 192;

#endif
