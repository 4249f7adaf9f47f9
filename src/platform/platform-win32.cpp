// The platform layer on Win32: every Windows call the installer and the
// converter make is here, with the C runtime's own part in
// platform-stdio.cpp. Only calls that Windows NT 3.5 already has are used,
// from KERNEL32, ADVAPI32 and the system's C runtime.

#include "platform/platform.h"

#include <cstdio>
#include <cstring>

#include <windows.h>

#include "common/capacity.h"

int platformGetVersion(unsigned long *platformId, unsigned long *majorVersion) {
    OSVERSIONINFOA info;
    memset(&info, 0, sizeof info);
    info.dwOSVersionInfoSize = sizeof info; // 148 bytes
    if (!GetVersionExA(&info))
        return 0;
    *platformId = info.dwPlatformId;
    *majorVersion = info.dwMajorVersion;
    return 1;
}

int platformIsLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) ? 1 : 0;
}

static_assert(sizeof(WIN32_FIND_DATAA::cFileName) == PATH_SIZE, "a found name fits the caller's");

static void copyFoundName(const WIN32_FIND_DATAA &data, char *name, bool *directory) {
    memcpy(name, data.cFileName, sizeof data.cFileName);
    *directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

PlatformSearch *platformFindFirstFile(const char *pattern, char *name, bool *directory) {
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(pattern, &data);
    if (search == INVALID_HANDLE_VALUE)
        return nullptr;
    copyFoundName(data, name, directory);
    return reinterpret_cast<PlatformSearch *>(search);
}

int platformFindNextFile(PlatformSearch *search, char *name, bool *directory) {
    WIN32_FIND_DATAA data;
    if (!FindNextFileA(reinterpret_cast<HANDLE>(search), &data))
        return 0;
    copyFoundName(data, name, directory);
    return 1;
}

void platformFindClose(PlatformSearch *search) {
    FindClose(reinterpret_cast<HANDLE>(search));
}

unsigned long platformGetCurrentDirectory(char *buffer, unsigned long size) {
    return GetCurrentDirectoryA(size, buffer);
}

unsigned long platformGetWindowsDirectory(char *buffer, unsigned long size) {
    return GetWindowsDirectoryA(buffer, size);
}

unsigned long platformGetFileAttributes(const char *path) {
    return GetFileAttributesA(path);
}

int platformSetFileAttributes(const char *path, unsigned long attributes) {
    // A file without any attribute bit is set as FILE_ATTRIBUTE_NORMAL, the
    // one value that stands for none.
    if (attributes == 0)
        attributes = FILE_ATTRIBUTE_NORMAL;
    return SetFileAttributesA(path, attributes) ? 1 : 0;
}

int platformCopyFile(const char *source, const char *destination) {
    return CopyFileA(source, destination, FALSE) ? 1 : 0;
}

PlatformKeyProbe platformRegProbeKey(const char *key) {
    HKEY handle;
    LONG result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &handle);
    if (result == ERROR_FILE_NOT_FOUND)
        return PLATFORM_KEY_NOT_FOUND;
    if (result != ERROR_SUCCESS)
        return PLATFORM_KEY_OPEN_FAILED;
    RegCloseKey(handle);
    return PLATFORM_KEY_OPENED;
}

PlatformRegKey *platformRegCreateKey(const char *key) {
    HKEY handle;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                        nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return reinterpret_cast<PlatformRegKey *>(handle);
}

int platformRegSetValue(PlatformRegKey *key, const char *name, unsigned long type, const void *data,
                        unsigned long size) {
    return RegSetValueExA(reinterpret_cast<HKEY>(key), name, 0, type,
                          static_cast<const BYTE *>(data), size) == ERROR_SUCCESS;
}

void platformRegCloseKey(PlatformRegKey *key) {
    RegCloseKey(reinterpret_cast<HKEY>(key));
}

// The console input is opened by name, so that a redirected standard
// input neither answers a key read nor hides the console from it. It stays
// open for the rest of the process once opened.
static HANDLE consoleInput() {
    static HANDLE input = INVALID_HANDLE_VALUE;
    if (input == INVALID_HANDLE_VALUE)
        input = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    return input;
}

int platformReadKey() {
    fflush(stdout);
    HANDLE input = consoleInput();
    if (input == INVALID_HANDLE_VALUE)
        return PLATFORM_KEY_UNAVAILABLE;
    for (;;) {
        INPUT_RECORD record;
        DWORD count = 0;
        if (!ReadConsoleInputA(input, &record, 1, &count))
            return PLATFORM_KEY_UNAVAILABLE;
        // Key releases (such as the Enter that ended the agreement line),
        // mouse, focus and size events are not key presses.
        if (count == 0 || record.EventType != KEY_EVENT || !record.Event.KeyEvent.bKeyDown)
            continue;
        const KEY_EVENT_RECORD &key = record.Event.KeyEvent;
        if (key.dwControlKeyState & (LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED))
            return PLATFORM_KEY_NO_CHARACTER;
        unsigned char character = static_cast<unsigned char>(key.uChar.AsciiChar);
        if (character == 0)
            return PLATFORM_KEY_NO_CHARACTER;
        return character;
    }
}

int platformReadInputChar() {
    fflush(stdout);
    return getchar();
}

PlatformNewFile platformWriteNewFile(const char *path, const void *data, size_t size) {
    HANDLE file =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS
                   ? PLATFORM_NEW_FILE_EXISTS
                   : PLATFORM_NEW_FILE_FAILED;
    }
    DWORD written = 0;
    BOOL whole =
        WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
    CloseHandle(file);
    if (whole)
        return PLATFORM_NEW_FILE_WRITTEN;
    DeleteFileA(path);
    return PLATFORM_NEW_FILE_FAILED;
}

// The converter's own file operations.

unsigned long platformFindPath(const char *path, char *found) {
    unsigned long attributes = GetFileAttributesA(path);
    if (attributes != PLATFORM_NO_ATTRIBUTES)
        strcpy(found, path);
    return attributes;
}

int platformMakeDirectory(const char *path) {
    return CreateDirectoryA(path, nullptr) ? 1 : 0;
}

int platformCopyNewFile(const char *source, const char *destination) {
    return CopyFileA(source, destination, TRUE) ? 1 : 0;
}

int platformRemoveDirectory(const char *path) {
    return RemoveDirectoryA(path) ? 1 : 0;
}

// Taking back what the installer put in place.

PlatformDelete platformDeleteFile(const char *path) {
    if (DeleteFileA(path))
        return PLATFORM_DELETED;
    DWORD error = GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED
               ? PLATFORM_DELETE_IN_USE
               : PLATFORM_DELETE_FAILED;
}

int platformDeleteFileAtRestart(const char *path) {
    return MoveFileExA(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) ? 1 : 0;
}

PlatformRegKey *platformRegOpenKey(const char *key) {
    HKEY handle;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return nullptr;
    return reinterpret_cast<PlatformRegKey *>(handle);
}

PlatformValueQuery platformRegQueryValue(PlatformRegKey *key, const char *name, unsigned long *type,
                                         void *data, unsigned long *size) {
    DWORD valueType = 0;
    DWORD valueSize = *size;
    LONG result = RegQueryValueExA(reinterpret_cast<HKEY>(key), name, nullptr, &valueType,
                                   static_cast<BYTE *>(data), &valueSize);
    if (result == ERROR_FILE_NOT_FOUND)
        return PLATFORM_VALUE_NOT_FOUND;
    if (result == ERROR_MORE_DATA)
        return PLATFORM_VALUE_TOO_LARGE;
    if (result != ERROR_SUCCESS)
        return PLATFORM_VALUE_FAILED;
    *type = valueType;
    *size = valueSize;
    return PLATFORM_VALUE_READ;
}

// The answer of an enumeration. A name longer than the buffer
// (ERROR_MORE_DATA) leaves the buffer's text undefined: the key cannot be
// looked at in full, as if it could not be read.
static int enumAnswer(LONG result) {
    if (result == ERROR_NO_MORE_ITEMS)
        return 0;
    return result == ERROR_SUCCESS ? 1 : -1;
}

int platformRegEnumValue(PlatformRegKey *key, unsigned long index, char *name, unsigned long size) {
    DWORD length = size;
    LONG result = RegEnumValueA(reinterpret_cast<HKEY>(key), index, name, &length, nullptr, nullptr,
                                nullptr, nullptr);
    return enumAnswer(result);
}

int platformRegEnumKey(PlatformRegKey *key, unsigned long index, char *name, unsigned long size) {
    return enumAnswer(RegEnumKeyA(reinterpret_cast<HKEY>(key), index, name, size));
}

int platformRegDeleteValue(const char *key, const char *name) {
    HKEY handle;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_SET_VALUE, &handle) != ERROR_SUCCESS)
        return 0;
    LONG result = RegDeleteValueA(handle, name);
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

// Opened for its attributes only, which a loaded driver's
// file can be looked at too.
static bool fileIdentity(const char *path, BY_HANDLE_FILE_INFORMATION *information) {
    HANDLE file = CreateFileA(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool known = GetFileInformationByHandle(file, information) != 0;
    CloseHandle(file);
    return known;
}

int platformSameFile(const char *a, const char *b) {
    BY_HANDLE_FILE_INFORMATION first;
    BY_HANDLE_FILE_INFORMATION second;
    return fileIdentity(a, &first) && fileIdentity(b, &second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh &&
           first.nFileIndexLow == second.nFileIndexLow;
}

int platformRegDeleteKey(const char *key) {
    return RegDeleteKeyA(HKEY_LOCAL_MACHINE, key) == ERROR_SUCCESS;
}

char platformPathSeparator() {
    return '\\';
}

// The installation record.

int platformAppendFile(const char *path, const void *data, size_t size) {
    HANDLE file =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD written = 0;
    BOOL whole = SetFilePointer(file, 0, nullptr, FILE_END) != 0xFFFFFFFFul &&
                 WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) &&
                 written == size && FlushFileBuffers(file);
    CloseHandle(file);
    return whole ? 1 : 0;
}

int platformFlushFile(const char *path) {
    HANDLE file =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    BOOL flushed = FlushFileBuffers(file);
    CloseHandle(file);
    return flushed ? 1 : 0;
}

void platformGetLocalTime(PlatformTime *time) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    *time = PlatformTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

int platformGetFullPath(const char *path, char *full) {
    char *name = nullptr;
    DWORD length = GetFullPathNameA(path, PATH_SIZE, full, &name);
    return length > 0 && length < PATH_SIZE ? 1 : 0;
}
