// The driver's files; see conv_files.h.
//
// A file is looked for when its copy line is converted, so that a service
// whose file is missing is known before its values are written. The
// copies wait until the whole conversion is done and nothing refused it.

#include "infconv/conv_files.h"

#include <cstring>

#include "common/capacity.h"
#include "common/files.h"
#include "common/say.h"
#include "inf/inf_path.h"
#include "inf/names.h"
#include "inf/text.h"
#include "infconv/conv_output.h"
#include "infconv/conv_reader.h"
#include "infconv/infconv_capacity.h"
#include "infconv/infconv_messages.h"
#include "platform/platform.h"

namespace {

struct ConvFile {
    char name[CONV_FILE_NAME_SIZE];
    char found[PATH_SIZE]; // where it lies, as the system found it
    unsigned long directoryId;
    bool placed; // already in the output's folder, or a repeat
    bool copied; // put there by this run
};

ConvFile g_files[CONV_FILE_CAPACITY];
int g_fileCount;
// Where the files go once checked, whether that folder is to be made, and
// whether this run made it.
char g_placedFolder[PATH_SIZE];
bool g_placing;
bool g_makeFolder;
bool g_madeFolder;
char g_inputFolder[PATH_SIZE];
bool g_imageRefused;

const unsigned long MACHINE_I386 = 0x14C;

// The entry `key` of [<base>.x86], else of [<base>].
const char *findX86Entry(const char *base, const char *key) {
    char section[32];
    strcpy(section, base);
    strcat(section, ".x86");
    const char *rest = convFindEntry(section, key);
    return rest ? rest : convFindEntry(base, key);
}

// The folder of the file `name`, relative to the INF file's folder, with
// the platform's separators and a trailing one (or "" for that folder
// itself) into a PATH_SIZE buffer; why not. The disk's folder and the
// file's subfolder on it stay inside the INF file's folder by infinst's
// own name rule; a leading separator means the disk's root, which is that
// folder.
const char *sourceFolderOf(const char *name, char *folder) {
    folder[0] = '\0';
    const char *entry = findX86Entry("SourceDisksFiles", name);
    if (!entry)
        return nullptr;
    ConvFields fields;
    convReadFields(entry, &fields);
    char path[2 * CONV_FIELD_SIZE + 2] = "";
    const char *disk = findX86Entry("SourceDisksNames", convField(&fields, 0));
    ConvFields diskFields = {};
    if (disk)
        convReadFields(disk, &diskFields);
    if (fields.tooLong || diskFields.tooLong)
        return CONV_WHY_TOO_LONG;
    strcpy(path, convField(&diskFields, 3));
    strcat(path, "\\");
    strcat(path, convField(&fields, 1));
    char *part = path + strspn(path, "\\/");
    for (size_t length = 0;;) {
        char *end = const_cast<char *>(textFindSeparator(part));
        char next = *end;
        *end = '\0';
        if (isUnsafeFileName(part)) // each folder a name of its own, none a way out
            return CONV_WHY_SOURCE_FOLDER;
        size_t partLength = strlen(part);
        if (partLength > 0 && strcmp(part, ".") != 0) {
            if (length + partLength + 1 >= PATH_SIZE)
                return CONV_WHY_TOO_LONG;
            memcpy(folder + length, part, partLength);
            folder[length + partLength] = platformPathSeparator();
            length += partLength + 1;
            folder[length] = '\0';
        }
        if (next == '\0')
            return nullptr;
        part = end + 1;
    }
}

unsigned long little16(const unsigned char *bytes) {
    return bytes[0] | static_cast<unsigned long>(bytes[1]) << 8;
}

unsigned long little32(const unsigned char *bytes) {
    return little16(bytes) | little16(bytes + 2) << 16;
}

// Reads up to `size` bytes at `offset`; the count, or -1 on a read error.
long readAt(PlatformFile *file, long offset, unsigned char *bytes, size_t size) {
    if (!platformSeekFile(file, offset))
        return -1;
    size_t got = platformReadFile(file, bytes, size);
    return got == PLATFORM_READ_FAILED ? -1 : static_cast<long>(got);
}

const char *machineName(unsigned long machine) {
    switch (machine) {
    case 0x8664: return "x64 (AMD64)";
    case 0x0200: return "IA-64";
    case 0x01C0:
    case 0x01C2:
    case 0x01C4: return "ARM";
    case 0xAA64: return "ARM64";
    case 0x0162:
    case 0x0166:
    case 0x0168: return "MIPS";
    case 0x0184: return "Alpha";
    case 0x01F0: return "PowerPC";
    default: return "?";
    }
}

// A PE image must be for i386; one for another machine refuses the
// conversion. Anything else is copied unchecked. Why not, on a read error.
const char *checkImage(const ConvFile &file) {
    PlatformFile *stream = platformOpenFile(file.found);
    if (!stream)
        return CONV_WHY_FILE_UNREADABLE;
    unsigned char head[64];
    unsigned char pe[4 + 20 + 52]; // signature, file header, optional header's start
    long got = readAt(stream, 0, head, sizeof head);
    long peGot = 0;
    unsigned long offset = got == sizeof head ? little32(head + 0x3C) : 0;
    bool image = got == sizeof head && head[0] == 'M' && head[1] == 'Z' && offset <= 0x7FFFFFFF;
    if (image)
        peGot = readAt(stream, static_cast<long>(offset), pe, sizeof pe);
    platformCloseFile(stream);
    if (got < 0 || peGot < 0)
        return CONV_WHY_FILE_UNREADABLE;
    if (!image || peGot < 24 || memcmp(pe, "PE\0\0", 4) != 0)
        return nullptr;
    unsigned long machine = little16(pe + 4);
    if (machine != MACHINE_I386) {
        say(CONV_MSG_FOREIGN_IMAGE, file.found, machineName(machine), machine);
        g_imageRefused = true;
        return nullptr;
    }
    unsigned long major = little16(pe + 24 + 48);
    unsigned long minor = little16(pe + 24 + 50);
    if (peGot == sizeof pe && little16(pe + 20) >= 52 && (major > 3 || (major == 3 && minor > 51)))
        say(CONV_MSG_NEW_SUBSYSTEM, file.name, major, minor);
    return nullptr;
}

} // namespace

void convFolderOf(const char *path, char *folder) {
    if (platformPathSeparator() == '\\') {
        infDirectoryOf(path, folder);
        return;
    }
    strcpy(folder, path);
    const char *separator = textLastSeparator(folder);
    folder[separator ? separator - folder + 1 : 0] = '\0';
}

void convFilesReset(const char *inputPath) {
    g_fileCount = 0;
    g_placedFolder[0] = '\0';
    g_placing = false;
    g_makeFolder = false;
    g_madeFolder = false;
    g_imageRefused = false;
    convFolderOf(inputPath, g_inputFolder);
}

const char *convInputFolder() {
    return g_inputFolder;
}

const char *convCarryFile(const char *name, unsigned long directoryId, char *where) {
    where[0] = '\0';
    const char *why = convCheckFileName(name);
    if (!why && g_fileCount == CONV_FILE_CAPACITY)
        why = CONV_WHY_TOO_MANY;
    char folder[PATH_SIZE];
    if (!why)
        why = sourceFolderOf(name, folder);
    if (why)
        return why;
    char withFolder[PATH_SIZE];
    if (!composePath(withFolder, g_inputFolder, folder) || !composePath(where, withFolder, name))
        return CONV_WHY_TOO_LONG;
    ConvFile &file = g_files[g_fileCount];
    unsigned long attributes = platformFindPath(where, file.found);
    if (attributes == PLATFORM_NO_ATTRIBUTES || (attributes & PLATFORM_ATTRIBUTE_DIRECTORY))
        return CONV_WHY_FILE_MISSING;
    strcpy(file.name, name);
    file.directoryId = directoryId;
    file.placed = false;
    why = checkImage(file);
    if (!why)
        ++g_fileCount;
    return why;
}

void convDropLastFile() {
    if (g_fileCount > 0)
        --g_fileCount;
}

bool convCarriesFile(const char *name, unsigned long directoryId) {
    for (int i = 0; i < g_fileCount; ++i) {
        if (g_files[i].directoryId == directoryId && equalsIgnoreCase(g_files[i].name, name))
            return true;
    }
    return false;
}

bool convImageRefused() {
    return g_imageRefused;
}

bool convFilesInOneFolder(char *folder) {
    strcpy(folder, g_inputFolder);
    for (int i = 0; i < g_fileCount; ++i) {
        char own[PATH_SIZE];
        convFolderOf(g_files[i].found, own);
        if (i == 0)
            strcpy(folder, own);
        else if (!equalsIgnoreCase(folder, own))
            return false;
    }
    return true;
}

bool convCheckPlace(const char *folder, bool makeFolder) {
    char target[PATH_SIZE];
    char existing[PATH_SIZE];
    strcpy(g_placedFolder, folder);
    g_placing = true;
    g_makeFolder = makeFolder;
    for (int i = 0; i < g_fileCount; ++i) {
        ConvFile &file = g_files[i];
        file.placed = false;
        file.copied = false;
        // One name, one file in the output's folder.
        for (int j = 0; j < i && !file.placed; ++j) {
            if (!equalsIgnoreCase(g_files[j].name, file.name))
                continue;
            if (!equalsIgnoreCase(g_files[j].found, file.found) &&
                compareFiles(g_files[j].found, file.found) != FILES_SAME) {
                say(CONV_MSG_FILE_NAME_CLASH, file.name);
                return false;
            }
            file.placed = true;
        }
        if (file.placed)
            continue;
        if (!composePath(target, folder, file.name)) {
            say(CONV_MSG_PATH_TOO_LONG, file.name);
            return false;
        }
        unsigned long attributes = platformFindPath(target, existing);
        if (attributes == PLATFORM_NO_ATTRIBUTES)
            continue;
        if ((attributes & PLATFORM_ATTRIBUTE_DIRECTORY) ||
            compareFiles(file.found, existing) != FILES_SAME) {
            say(CONV_MSG_FILE_DIFFERS, existing);
            return false;
        }
        file.placed = true;
    }
    return true;
}

bool convPlaceFiles() {
    char target[PATH_SIZE];
    if (!g_placing)
        return true; // beside the files already
    const char *folder = g_placedFolder;
    if (g_makeFolder) {
        char made[PATH_SIZE];
        strcpy(made, folder);
        made[strlen(made) - 1] = '\0'; // its trailing separator
        if (!platformMakeDirectory(made)) {
            say(CONV_MSG_FOLDER_FAILED, made);
            return false;
        }
        g_madeFolder = true;
    }
    for (int i = 0; i < g_fileCount; ++i) {
        ConvFile &file = g_files[i];
        if (file.placed)
            continue;
        composePath(target, folder, file.name);
        if (!platformCopyNewFile(file.found, target)) {
            say(CONV_MSG_COPY_FAILED, target);
            convTakeBackFiles();
            return false;
        }
        file.copied = true;
        say(CONV_MSG_FILE_COPIED, file.found, target);
    }
    return true;
}

// A run that fails after copying (a full disk, a write-protected floppy)
// must not leave half a package behind: what it copied goes again, and so
// does the folder it made. Whatever cannot be removed is named.
void convTakeBackFiles() {
    char target[PATH_SIZE];
    for (int i = 0; i < g_fileCount; ++i) {
        ConvFile &file = g_files[i];
        if (!file.copied)
            continue;
        file.copied = false;
        composePath(target, g_placedFolder, file.name);
        clearReadOnly(target); // a copy keeps the attribute of a file on a CD
        if (platformDeleteFile(target) != PLATFORM_DELETED)
            say(CONV_MSG_NOT_TAKEN_BACK, target);
    }
    if (!g_madeFolder)
        return;
    g_madeFolder = false;
    char made[PATH_SIZE];
    strcpy(made, g_placedFolder);
    made[strlen(made) - 1] = '\0'; // its trailing separator
    if (!platformRemoveDirectory(made))
        say(CONV_MSG_NOT_TAKEN_BACK, made);
}
