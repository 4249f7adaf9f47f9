// The platform layer: every operating-system operation the installer makes
// goes through these functions, so that each Win32 call is listed in one
// place (platform-win32.cpp) and the rest of the program can run on Linux
// against an in-memory fake (tests/support/) in the unit tests.
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
// and the attribute bits of a read-only file and of a directory.
const unsigned long PLATFORM_NO_ATTRIBUTES = 0xFFFFFFFFul;
const unsigned long PLATFORM_ATTRIBUTE_READONLY = 0x01ul;
const unsigned long PLATFORM_ATTRIBUTE_DIRECTORY = 0x10ul;

// Answers of platformRegProbeKey: RegOpenKeyExA succeeded, failed with
// ERROR_FILE_NOT_FOUND, or failed for any other reason (access denied...).
enum PlatformKeyProbe { PLATFORM_KEY_OPENED, PLATFORM_KEY_NOT_FOUND, PLATFORM_KEY_OPEN_FAILED };

struct PlatformFile;
struct PlatformRegKey;
struct PlatformSearch;

// GetVersionExA: 1 with the platform id and major version, 0 on failure.
int platformGetVersion(unsigned long *platformId, unsigned long *majorVersion);

// IsDBCSLeadByte: 1 when the byte leads a double-byte character in the
// system's code page (0x81-0x9F and 0xE0-0xFC in code page 932).
int platformIsLeadByte(unsigned char byte);

// FindFirstFileA, FindNextFileA and FindClose: a pattern of the current
// directory ("*.inf") or of a folder ("C:\WINNT\INFINST\*.REC"), whose
// name part is a '*', then a name or extension, or both. The first two write the name of a match
// into a PATH_SIZE buffer, which every found name fits (MAX_PATH), and whether the match is a
// directory; platformFindFirstFile answers null when nothing matches, platformFindNextFile 0 when
// there is no further match. Every search that was started is closed with platformFindClose.
PlatformSearch *platformFindFirstFile(const char *pattern, char *name, bool *directory);
int platformFindNextFile(PlatformSearch *search, char *name, bool *directory);
void platformFindClose(PlatformSearch *search);

// GetCurrentDirectoryA and GetWindowsDirectoryA: the length written, 0 on
// failure, or the size needed when `size` is too small.
unsigned long platformGetCurrentDirectory(char *buffer, unsigned long size);
unsigned long platformGetWindowsDirectory(char *buffer, unsigned long size);

// GetFileAttributesA: PLATFORM_NO_ATTRIBUTES when the path does not exist.
unsigned long platformGetFileAttributes(const char *path);

// SetFileAttributesA: 1 when the attributes were set.
int platformSetFileAttributes(const char *path, unsigned long attributes);

// CopyFileA with fail-if-exists false: replaces an existing destination
// (unless that one is read-only) and carries the source's attributes over.
int platformCopyFile(const char *source, const char *destination);

// Registry below HKEY_LOCAL_MACHINE.
// platformRegProbeKey: RegOpenKeyExA with KEY_READ, closed at once.
PlatformKeyProbe platformRegProbeKey(const char *key);
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
// platformReadFile answers the bytes read, 0 at the end of the file, and
// PLATFORM_READ_FAILED when the read failed (a floppy disk's read error):
// what follows is unknown, so it must never pass for the end of the file.
const size_t PLATFORM_READ_FAILED = static_cast<size_t>(-1);
size_t platformReadFile(PlatformFile *file, void *buffer, size_t size);
int platformSeekFile(PlatformFile *file, long offset); // from the start; 0 on failure
void platformCloseFile(PlatformFile *file);

// A file written whole that must not exist yet (CreateFileA with
// CREATE_NEW, then WriteFile): never replaces a file; a file that could
// not be written whole is deleted again.
enum PlatformNewFile {
    PLATFORM_NEW_FILE_WRITTEN,
    PLATFORM_NEW_FILE_EXISTS,
    PLATFORM_NEW_FILE_FAILED
};
PlatformNewFile platformWriteNewFile(const char *path, const void *data, size_t size);

// The converter's own file operations: finding the files a driver's INF
// file names, putting copies of them beside the INF file it writes.
//
// platformFindPath: the attributes of an existing file or folder, its path
// as found written into a PATH_SIZE buffer; PLATFORM_NO_ATTRIBUTES when
// nothing is there. On Windows the path is taken as it is; on POSIX
// systems a part with no entry of that exact name is matched with ASCII
// case ignored (packages copied from a CD or floppy have upper-case 8.3
// names). `path` fits PATH_SIZE.
unsigned long platformFindPath(const char *path, char *found);
// CreateDirectoryA: 1 when the folder was made (never when it existed).
int platformMakeDirectory(const char *path);
// CopyFileA with fail-if-exists true: 1 when copied; an existing
// destination is never replaced.
int platformCopyNewFile(const char *source, const char *destination);
// RemoveDirectoryA: 1 when the empty folder was removed. (A copy is taken
// back with platformDeleteFile, below.)
int platformRemoveDirectory(const char *path);

// Taking back what the installer put in place (the uninstaller).
//
// platformDeleteFile: DeleteFileA. A file that the system keeps open or
// mapped (a loaded driver) is in use: the sharing violation or the denied
// access that DeleteFileA answers for it.
enum PlatformDelete { PLATFORM_DELETED, PLATFORM_DELETE_IN_USE, PLATFORM_DELETE_FAILED };
PlatformDelete platformDeleteFile(const char *path);
// MoveFileExA with no new name and MOVEFILE_DELAY_UNTIL_REBOOT: the file
// goes at the next restart. 1 when it was marked.
int platformDeleteFileAtRestart(const char *path);
// RegOpenKeyExA with KEY_READ below HKEY_LOCAL_MACHINE: null when the key
// cannot be opened. Closed with platformRegCloseKey.
PlatformRegKey *platformRegOpenKey(const char *key);
// RegQueryValueExA on an open key: the value's type and bytes into `data`
// (`*size` bytes of room, then the count written).
enum PlatformValueQuery {
    PLATFORM_VALUE_READ,
    PLATFORM_VALUE_NOT_FOUND,
    PLATFORM_VALUE_TOO_LARGE, // more bytes than `*size`
    PLATFORM_VALUE_FAILED
};
PlatformValueQuery platformRegQueryValue(PlatformRegKey *key, const char *name, unsigned long *type,
                                         void *data, unsigned long *size);
// RegEnumValueA and RegEnumKeyA on an open key: the name of the value or
// subkey at `index` into `name` (`size` bytes). 1 when there is one, 0
// past the last, -1 when the key cannot be read or the name does not fit.
int platformRegEnumValue(PlatformRegKey *key, unsigned long index, char *name, unsigned long size);
int platformRegEnumKey(PlatformRegKey *key, unsigned long index, char *name, unsigned long size);
// RegOpenKeyExA with KEY_SET_VALUE, RegDeleteValueA: 1 when deleted.
int platformRegDeleteValue(const char *key, const char *name);
// RegDeleteKeyA: 1 when deleted. NT refuses a key that has subkeys, but
// deletes a key with values: the caller looks first.
int platformRegDeleteKey(const char *key);
// 1 when the two paths name one and the same existing file, however they
// are written (relative, short 8.3 names, another letter case): the volume
// and file index GetFileInformationByHandle gives. 0 otherwise, and when
// either cannot be opened.
int platformSameFile(const char *a, const char *b);

// The installation record, kept beside the three folders (src/record/).
//
// platformAppendFile: the bytes added at the end of the file, which is
// made when missing, and written through to the disk (FlushFileBuffers)
// before the answer: 1 when all of them were. A record line that reached
// the disk survives a power failure right after it.
int platformAppendFile(const char *path, const void *data, size_t size);
// platformFlushFile: a file's bytes written through to the disk (a copy
// just made); 1 when they were.
int platformFlushFile(const char *path);
// GetLocalTime.
struct PlatformTime {
    unsigned year, month, day, hour, minute, second;
};
void platformGetLocalTime(PlatformTime *time);
// GetFullPathNameA into a PATH_SIZE buffer: 0 when it fails or the full
// path does not fit.
int platformGetFullPath(const char *path, char *full);

// The separator between folders in the system's paths.
char platformPathSeparator();

// The heap, for the strings that outlive a call: null when exhausted.
void *platformAllocate(size_t size);
void platformRelease(void *block);

#endif
