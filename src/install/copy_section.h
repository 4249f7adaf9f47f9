// Copy sections: each body line names one file, copied from the INF
// file's directory into the section's destination directory.

#ifndef INFINST_COPY_SECTION_H
#define INFINST_COPY_SECTION_H

struct InfStream;

// Copies every file the section lists and clears the read-only attribute
// of each copy. `infDirectory` is empty or ends in a backslash or a slash;
// `destinationDirectory` ends in a backslash. Leaves the stream at the
// next header.
void processCopySection(InfStream *stream, const char *infDirectory,
                        const char *destinationDirectory);

// True when the path exists and is not a directory.
bool isExistingFile(const char *path);

// True when the line, taken as a file name, could reach outside the
// directories it is joined to: a leading '\' or '/', a ':' anywhere (a
// drive or a stream), a '..' path component, or a DOS device name such as
// NUL or COM1. Components end at a '\' or '/' of its own, never at the
// trail byte of a double-byte character.
bool isUnsafeFileName(const char *line);

#endif
