// The platform layer: every operating-system operation the installer makes
// goes through these functions, so that each Win32 call is listed in one
// place (platform-win32.cpp) and the rest of the program can run on Linux
// against an in-memory fake (platform-fake.cpp) in the unit tests.
//
// Plain C types in, plain answers out; no windows.h here.

#ifndef INFINST_PLATFORM_H
#define INFINST_PLATFORM_H

#include <cstdarg>
#include <cstddef>

// Answers of platformReadKey besides a character code (0 to 255).
enum {
    PLATFORM_KEY_NO_CHARACTER = -1, // function, cursor and Alt keys
    PLATFORM_KEY_UNAVAILABLE = -2   // no console input to read from
};

// Registry value types, with the numbers Win32 gives them.
enum { PLATFORM_REG_SZ = 1, PLATFORM_REG_EXPAND_SZ = 2, PLATFORM_REG_DWORD = 4 };

// The answer of platformGetFileAttributes for a path that does not exist,
// and the attribute bit of a directory.
const unsigned long PLATFORM_NO_ATTRIBUTES = 0xFFFFFFFFul;
const unsigned long PLATFORM_ATTRIBUTE_DIRECTORY = 0x10ul;

struct PlatformFile;
struct PlatformRegKey;

// GetVersionExA: 1 with the platform id and major version, 0 on failure.
int platformGetVersion(unsigned long *platformId, unsigned long *majorVersion);

// FindFirstFileA then FindClose: the name of the first match of `pattern`
// in the current directory, 1 when there is one.
int platformFindFirstFile(const char *pattern, char *name, size_t nameSize);

// GetCurrentDirectoryA and GetWindowsDirectoryA: the length written, 0 on
// failure, or the size needed when `size` is too small.
unsigned long platformGetCurrentDirectory(char *buffer, unsigned long size);
unsigned long platformGetWindowsDirectory(char *buffer, unsigned long size);

// GetFileAttributesA: PLATFORM_NO_ATTRIBUTES when the path does not exist.
unsigned long platformGetFileAttributes(const char *path);

// CopyFileA with fail-if-exists false: replaces an existing destination.
int platformCopyFile(const char *source, const char *destination);

// Registry below HKEY_LOCAL_MACHINE.
// platformRegKeyExists: RegOpenKeyExA with KEY_READ, closed at once.
int platformRegKeyExists(const char *key);
// RegCreateKeyExA, non-volatile, KEY_SET_VALUE; null on failure.
PlatformRegKey *platformRegCreateKey(const char *key);
// RegSetValueExA: 1 when the value was written.
int platformRegSetValue(PlatformRegKey *key, const char *name, unsigned long type, const void *data,
                        unsigned long size);
void platformRegCloseKey(PlatformRegKey *key);

// One key press from the console itself, without echo and without waiting
// for Enter: its character (0 to 255), PLATFORM_KEY_NO_CHARACTER or
// PLATFORM_KEY_UNAVAILABLE. Standard output is flushed first.
int platformReadKey();

// One character from standard input, -1 at its end. Standard output is
// flushed first.
int platformReadInputChar();

// Formatted output to standard output (a text stream).
void platformWriteOutput(const char *format, va_list args);

// perror: `text`, ": ", the description of the last runtime error and a
// line feed, on standard error.
void platformReportError(const char *text);

// The INF file, read as raw bytes; the text-mode rules are the INF
// reader's own. platformOpenFile answers null on failure and leaves the
// runtime's error for platformReportError.
PlatformFile *platformOpenFile(const char *path);
size_t platformReadFile(PlatformFile *file, void *buffer, size_t size);
int platformSeekFile(PlatformFile *file, long offset); // from the start
void platformCloseFile(PlatformFile *file);

// The heap, for the strings that outlive a call: null when exhausted.
void *platformAllocate(size_t size);
void platformRelease(void *block);

#endif
