// The import check of an i386 image: will it load on NT 3.5x? The names
// it imports from ntoskrnl.exe, hal.dll, kernel32.dll, advapi32.dll and
// crtdll.dll are looked up in the names NT 3.5x exports
// (conv_exports.h), whatever kind of image imports them: a name NT 3.51
// lacks is one the image cannot load with; one that NT 3.5 lacks, or that
// only a service pack of 3.51 added, is a warning naming what it needs.
// Imports from other modules, and imports by ordinal, are named as not
// checked.
//
// Only the headers and the import table are read, never the whole image,
// and never past the end of the file.

#ifndef INFCONV_CONV_IMPORTS_H
#define INFCONV_CONV_IMPORTS_H

#include <cstddef>

#include "platform/platform.h"

// The bytes of an image's headers from its PE signature on that the check
// reads: the signature, the file header, and the optional header up to
// its import directory entry.
const size_t CONV_PE_HEADERS_SIZE = 4 + 20 + 112;

// Reads up to `size` bytes at `offset`, in as many reads as the file
// takes: the count (short only at the end of the file; 0 past 2 GiB), or
// -1 on a seek or read error.
long convReadAt(PlatformFile *file, unsigned long offset, unsigned char *bytes, size_t size);

enum ConvImports {
    CONV_IMPORTS_LOAD,       // no name NT 3.51 lacks
    CONV_IMPORTS_MISSING,    // a name NT 3.51 lacks
    CONV_IMPORTS_UNREADABLE, // the table is cut short or points outside the file
    CONV_IMPORTS_READ_FAILED // a read error: nothing said
};

// Checks the imports of the i386 image open as `file`, whose PE signature
// lies at `peOffset`; `headers` holds the `size` bytes read there (up to
// CONV_PE_HEADERS_SIZE). Says what it found, naming the image `name`. On
// CONV_IMPORTS_MISSING, the names NT 3.51 lacks, as the report shows
// them, into `missing` (CONV_NAMES_TEXT_SIZE bytes).
ConvImports convCheckImports(PlatformFile *file, unsigned long peOffset,
                             const unsigned char *headers, size_t size, const char *name,
                             char *missing);

#endif
