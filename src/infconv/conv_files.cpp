// The driver's files; see conv_files.h.
//
// A file is looked for when its copy line is converted, so that a service
// whose file is missing, or whose image cannot load, is known before its
// values are written. The copies wait until the whole conversion is done
// and nothing refused it.

#include "infconv/conv_files.h"

#include <cstring>

#include "common/capacity.h"
#include "common/files.h"
#include "common/say.h"
#include "inf/inf_path.h"
#include "inf/names.h"
#include "inf/text.h"
#include "infconv/conv_imports.h"
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
    bool placed;                        // already in the output's folder, or a repeat
    bool copied;                        // put there by this run
    char missing[CONV_NAMES_TEXT_SIZE]; // the names NT 3.51 lacks that it imports, or ""
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

// What the check of a file found.
enum ConvImageCheck {
    IMAGE_NONE, // no PE image
    IMAGE_LOADS,
    IMAGE_FOREIGN, // for another machine than i386
    IMAGE_MISSING, // imports a name NT 3.51 lacks
    IMAGE_UNREADABLE
};

// An i386 image's subsystem version, then its imports; the `size` bytes
// of `headers` were read at `offset`, from its PE signature on.
ConvImageCheck checkI386(PlatformFile *stream, unsigned long offset, const unsigned char *headers,
                         size_t size, const char *name, char *missing) {
    unsigned long major = little16(headers + 24 + 48);
    unsigned long minor = little16(headers + 24 + 50);
    if (size >= 24 + 52 && little16(headers + 20) >= 52 &&
        (major > 3 || (major == 3 && minor > 51)))
        say(CONV_MSG_NEW_SUBSYSTEM, name, major, minor);
    switch (convCheckImports(stream, offset, headers, size, name, missing)) {
    case CONV_IMPORTS_LOAD: return IMAGE_LOADS;
    case CONV_IMPORTS_MISSING: return IMAGE_MISSING;
    case CONV_IMPORTS_UNREADABLE: return IMAGE_UNREADABLE;
    case CONV_IMPORTS_READ_FAILED: break;
    }
    return IMAGE_NONE;
}

// Checks the file at `path`, named `name` in what is said: a PE image
// must be for i386, and import only names NT 3.5x has (those NT 3.51
// lacks into `missing`, CONV_NAMES_TEXT_SIZE bytes). Anything else is not
// checked. Why not, on a read error.
const char *checkImage(const char *path, const char *name, char *missing, ConvImageCheck *check) {
    *check = IMAGE_NONE;
    missing[0] = '\0';
    PlatformFile *stream = platformOpenFile(path);
    if (!stream)
        return CONV_WHY_FILE_UNREADABLE;
    unsigned char head[64];
    unsigned char pe[CONV_PE_HEADERS_SIZE];
    long got = convReadAt(stream, 0, head, sizeof head);
    long peGot = 0;
    unsigned long offset = got == sizeof head ? little32(head + 0x3C) : 0;
    if (got == sizeof head && head[0] == 'M' && head[1] == 'Z')
        peGot = convReadAt(stream, offset, pe, sizeof pe);
    const char *why = got < 0 || peGot < 0 ? CONV_WHY_FILE_UNREADABLE : nullptr;
    if (!why && peGot >= 24 && memcmp(pe, "PE\0\0", 4) == 0) {
        unsigned long machine = little16(pe + 4);
        if (machine != MACHINE_I386) {
            say(CONV_MSG_FOREIGN_IMAGE, path, machineName(machine), machine);
            *check = IMAGE_FOREIGN;
        } else {
            *check = checkI386(stream, offset, pe, static_cast<size_t>(peGot), name, missing);
            if (*check == IMAGE_NONE)
                why = CONV_WHY_FILE_UNREADABLE;
        }
    }
    platformCloseFile(stream);
    return why;
}

// Looks for the file at `path` (the name it has there into `found`, a
// PATH_SIZE buffer) and checks it as checkImage does; why not, when it is
// not there or cannot be read.
const char *findAndCheck(const char *path, const char *name, char *found, char *missing,
                         ConvImageCheck *check) {
    *check = IMAGE_NONE;
    unsigned long attributes = platformFindPath(path, found);
    if (attributes == PLATFORM_NO_ATTRIBUTES || (attributes & PLATFORM_ATTRIBUTE_DIRECTORY))
        return CONV_WHY_FILE_MISSING;
    return checkImage(found, name, missing, check);
}

// A section the installer copies from: its header holds "Copy]" or
// "CopyFiles]", or [DestinationDirs] names it, in the letter case written.
bool isCopySection(const char *name) {
    static const char *const ENDS[] = {"Copy", "CopyFiles"};
    size_t length = strlen(name);
    for (const char *end : ENDS) {
        if (length >= strlen(end) && strcmp(name + length - strlen(end), end) == 0)
            return true;
    }
    ConvCursor cursor = {0, 0};
    const char *line;
    unsigned long number;
    char key[CONV_FIELD_SIZE];
    const char *rest;
    while (convNextLine("DestinationDirs", &cursor, &line, &number)) {
        if (convSplitEntry(line, key, &rest) && strcmp(key, name) == 0)
            return true;
    }
    return false;
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

void convFilesReset() {
    g_fileCount = 0;
    g_placedFolder[0] = '\0';
    g_placing = false;
    g_makeFolder = false;
    g_madeFolder = false;
    g_imageRefused = false;
    g_inputFolder[0] = '\0';
}

void convFilesSetInput(const char *inputPath) {
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
    ConvImageCheck check;
    why = findAndCheck(where, name, file.found, file.missing, &check);
    if (check == IMAGE_FOREIGN)
        g_imageRefused = true;
    if (why)
        return why;
    strcpy(file.name, name);
    file.directoryId = directoryId;
    file.placed = false;
    ++g_fileCount;
    return nullptr;
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

const char *convCarriedImageMissing(const char *name, unsigned long directoryId) {
    for (int i = 0; i < g_fileCount; ++i) {
        const ConvFile &file = g_files[i];
        if (file.directoryId == directoryId && equalsIgnoreCase(file.name, name) &&
            file.missing[0] != '\0')
            return file.missing;
    }
    return nullptr;
}

int convCheckFilesBeside() {
    bool cannotLoad = false;
    for (int i = 0; convSectionName(i); ++i) {
        const char *section = convSectionName(i);
        ConvCursor cursor = {i, 0};
        const char *line;
        unsigned long number;
        if (!isCopySection(section))
            continue;
        while (convNextLine(section, &cursor, &line, &number) && cursor.section == i) {
            char path[PATH_SIZE];
            char found[PATH_SIZE];
            char missing[CONV_NAMES_TEXT_SIZE];
            ConvImageCheck check = IMAGE_NONE;
            // A name the installer refuses, or too long for a path.
            bool named = !isUnsafeFileName(line) && composePath(path, g_inputFolder, line);
            const char *why =
                named ? findAndCheck(path, line, found, missing, &check) : CONV_WHY_FILE_NAME;
            if (why)
                say(CONV_MSG_LEFT_OUT, number, why, named ? path : line);
            else if (check == IMAGE_LOADS)
                say(CONV_MSG_IMAGE_LOADS, line);
            cannotLoad = cannotLoad || check == IMAGE_FOREIGN || check == IMAGE_MISSING;
        }
    }
    say(cannotLoad ? CONV_MSG_FORM_CANNOT_LOAD : CONV_MSG_FORM_LOADS);
    return cannotLoad ? 1 : 0;
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
