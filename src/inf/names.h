// The names an INF file may give and the installer accepts: file names of
// copy lines, each one file directly in the directory it is joined to,
// registry keys, which must lie below the services key, and the marks
// that make a header the AddReg section's or a copy section's. The installer,
// the converter and the uninstaller hold names to these same rules, so
// that what one writes or takes back the others read the same way.

#ifndef INFINST_NAMES_H
#define INFINST_NAMES_H

#include <cstddef>

// The key below HKEY_LOCAL_MACHINE that holds every driver's service key,
// with its trailing backslash.
extern const char SERVICES_KEY_PREFIX[];
const size_t SERVICES_KEY_PREFIX_LENGTH = 34;

// True when the key lies below the services key, in any letter case, and
// names a service: not the services key itself, nor an empty part right
// after it, whose values would belong to no driver.
bool isServiceKey(const char *key);

// The mark that makes a well-formed header a section of a kind:
// "AddReg]" the AddReg section's, else "Copy]" or "CopyFiles]" a copy
// section's. A mark counts only where it begins on a character of its
// own, never on the trail byte of a double-byte character ("[メモアddReg]"
// holds none: ア is 0x83 0x41). The installer's passes read headers by
// it, and the converter writes no line and takes no name that holds the
// AddReg mark.
enum SectionMark { SECTION_MARK_NONE, SECTION_MARK_COPY, SECTION_MARK_ADDREG };
SectionMark sectionMark(const char *text);

// True when the path component (`length` bytes) is a DOS device name,
// which Windows finds in every directory and with any extension: NUL,
// CON, PRN, AUX, COM1 to COM9, LPT1 to LPT9, in any case.
bool isDeviceName(const char *component, size_t length);

// True when the line, taken as a file name, is not one file directly in
// the directory it is joined to: a '\\' or '/' of its own anywhere (a
// subfolder, which could hold anything, such as "etc\\hosts" below
// Drivers, or a way out), a ':' anywhere (a drive or a stream), a name of
// dots and spaces alone with at least two dots (Windows shortens it to
// ".."), or a DOS device name. The trail byte 0x5C of a double-byte
// character is no separator. The converter holds each folder of a source
// path to the same rule.
bool isUnsafeFileName(const char *line);

// True when a relative path (folders, then a file name) holds a part that
// isUnsafeFileName refuses, or an empty one.
bool isUnsafeRelativePath(const char *path);

#endif
