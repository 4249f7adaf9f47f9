// Questions about a file that every program asks in the same way: whether
// a path is a file, whether two files hold the same bytes, and a read-only
// attribute that must not stand in the way of replacing or deleting the
// installer's own files.

#ifndef INFINST_FILES_H
#define INFINST_FILES_H

// True when the path exists and is not a directory.
bool isExistingFile(const char *path);

// Two files compared byte for byte, and which of them could not be read.
enum FileComparison { FILES_SAME, FILES_DIFFERENT, FIRST_UNREADABLE, SECOND_UNREADABLE };
FileComparison compareFiles(const char *first, const char *second);

// Clears the read-only attribute, when the file has it. A copy keeps the
// source's read-only attribute (from a CD or a write-protected floppy
// disk), and NT refuses to replace or delete such a file. Failing that
// changes nothing the user could act on, so it goes unreported.
void clearReadOnly(const char *path);

#endif
