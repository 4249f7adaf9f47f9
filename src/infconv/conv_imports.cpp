// The import check of an image; see conv_imports.h.
//
// The table is walked as the loader walks it: the import directory entry
// of the optional header, each 20-byte descriptor up to one without a
// module name, the module's name, its names' table (the original one, else
// the one the loader fills in) up to a zero entry, and each name behind
// its 2-byte hint. Every place the table points to must lie in the raw
// data of a section (or in the headers): a place in no section, or one
// the file ends before, makes the table unreadable, and nothing is read
// there. Modules without a list are named and their names left unread.

#include "infconv/conv_imports.h"

#include <cstdint>
#include <cstring>

#include "common/say.h"
#include "inf/text.h"
#include "infconv/conv_exports.h"
#include "infconv/conv_report.h"
#include "infconv/infconv_capacity.h"
#include "infconv/infconv_messages.h"

namespace {

// Where a section's raw data lies: its address once loaded, its size in
// the file and its place there.
struct ConvSection {
    uint32_t address;
    uint32_t size;
    uint32_t offset;
};

// The sections of the image checked, its headers first.
ConvSection g_sections[CONV_IMAGE_SECTION_CAPACITY + 1];
int g_sectionCount;
PlatformFile *g_file;

// The names of one kind that the report shows: the first few, and how
// many there are.
struct ConvNames {
    unsigned long count;
    int shown;
    char text[CONV_NAMES_TEXT_SIZE];
};

enum ConvList { LIST_MISSING, LIST_NT351, LIST_SERVICE_PACK, LIST_UNLISTED, LIST_ORDINAL, LISTS };
ConvNames g_lists[LISTS];
unsigned g_servicePack; // the newest one a name needs

// Why a walk stopped: the end of the table, a table that cannot be
// read, or a read error.
enum ConvWalk { WALK_DONE, WALK_UNREADABLE, WALK_FAILED };

uint32_t little32(const unsigned char *bytes) {
    return bytes[0] | static_cast<uint32_t>(bytes[1]) << 8 | static_cast<uint32_t>(bytes[2]) << 16 |
           static_cast<uint32_t>(bytes[3]) << 24;
}

uint32_t little16(const unsigned char *bytes) {
    return bytes[0] | static_cast<uint32_t>(bytes[1]) << 8;
}

// Room kept for the count of the names not shown (CONV_NAMES_MORE).
const size_t MORE_SIZE = 32;

// Counts the name, and shows it while fewer are shown than the report
// shows, cut where the text ends.
void addName(ConvList list, const char *name) {
    ConvNames &names = g_lists[list];
    ++names.count;
    const char *separator = names.shown ? CONV_NAMES_SEPARATOR : "";
    size_t end = sizeof names.text - MORE_SIZE - 1;
    if (names.shown == CONV_NAMES_SHOWN || strlen(names.text) + strlen(separator) >= end)
        return;
    strcat(names.text, separator);
    strncat(names.text, name, end - strlen(names.text));
    ++names.shown;
}

// The names shown, then the count of the others, into CONV_NAMES_TEXT_SIZE
// bytes.
const char *namesText(const ConvNames &names, char *text) {
    strcpy(text, names.text);
    if (names.count > static_cast<unsigned long>(names.shown)) {
        char digits[NUMBER_TEXT_SIZE];
        char more[CONV_REASON_SIZE];
        writeNumberText(static_cast<uint32_t>(names.count - names.shown), false, digits);
        strcat(text, convReason(more, CONV_NAMES_MORE, digits));
    }
    return text;
}

// Reads `size` bytes at the address, within the raw data of the section
// that holds it: the count (fewer where that data or the file ends first,
// 0 where no section holds the address), or -1 on a read error.
long readAddress(uint32_t address, unsigned char *bytes, size_t size) {
    for (int i = 0; i < g_sectionCount; ++i) {
        const ConvSection &section = g_sections[i];
        uint32_t into = address - section.address; // past 2 GiB below it
        uint32_t offset = section.offset + into;
        if (into >= section.size)
            continue;
        if (size > section.size - into)
            size = section.size - into;
        return offset < into ? 0 : convReadAt(g_file, offset, bytes, size); // 0: past 4 GiB
    }
    return 0;
}

// Reads a name ending in NUL at the address into a CONV_IMPORT_NAME_SIZE
// buffer; one that does not end there is cut (no list holds a name so
// long). False when the name cannot be read; `walk` then says why.
bool readName(uint32_t address, char *name, ConvWalk *walk) {
    long got =
        readAddress(address, reinterpret_cast<unsigned char *>(name), CONV_IMPORT_NAME_SIZE - 1);
    name[got > 0 ? got : 0] = '\0';
    if (got > 0 && (strlen(name) < static_cast<size_t>(got) ||
                    got == static_cast<long>(CONV_IMPORT_NAME_SIZE - 1)))
        return true;
    *walk = got < 0 ? WALK_FAILED : WALK_UNREADABLE;
    return false;
}

// Reads the section table that follows the optional header.
ConvWalk readSections(unsigned long peOffset, const unsigned char *headers) {
    unsigned long count = little16(headers + 6);
    unsigned long table = peOffset + 24 + little16(headers + 20);
    // The headers themselves are mapped where they lie.
    g_sections[0] = ConvSection{0, little32(headers + 24 + 60), 0};
    g_sectionCount = 1;
    if (count > CONV_IMAGE_SECTION_CAPACITY)
        return WALK_UNREADABLE;
    for (unsigned long i = 0; i < count; ++i) {
        unsigned char entry[40];
        long got = convReadAt(g_file, table + 40 * i, entry, sizeof entry);
        if (got != static_cast<long>(sizeof entry))
            return got < 0 ? WALK_FAILED : WALK_UNREADABLE;
        ConvSection &section = g_sections[g_sectionCount++];
        section.address = little32(entry + 12);
        section.size = little32(entry + 16);
        section.offset = little32(entry + 20);
    }
    return WALK_DONE;
}

// Looks up each name the module `module` (its list) is imported with,
// from the names' table at `thunks`; `entries` counts every entry read.
ConvWalk walkNames(int module, const char *moduleName, uint32_t thunks, int *entries) {
    bool ordinal = false;
    for (uint32_t at = thunks;; at += 4) {
        unsigned char entry[4];
        long got = readAddress(at, entry, sizeof entry);
        if (got != static_cast<long>(sizeof entry))
            return got < 0 ? WALK_FAILED : WALK_UNREADABLE;
        uint32_t thunk = little32(entry);
        if (thunk == 0)
            return WALK_DONE;
        if (++*entries > CONV_IMPORT_ENTRY_CAPACITY)
            return WALK_UNREADABLE;
        if (thunk & 0x80000000u) {
            if (!ordinal)
                addName(LIST_ORDINAL, moduleName);
            ordinal = true;
            continue;
        }
        char name[CONV_IMPORT_NAME_SIZE];
        ConvWalk walk;
        if (!readName(thunk + 2, name, &walk))
            return walk;
        unsigned servicePack = 0;
        switch (convExportNeed(module, name, &servicePack)) {
        case CONV_NEED_MISSING: addName(LIST_MISSING, name); break;
        case CONV_NEED_NT35: break;
        case CONV_NEED_NT351: addName(LIST_NT351, name); break;
        case CONV_NEED_SERVICE_PACK:
            addName(LIST_SERVICE_PACK, name);
            if (servicePack > g_servicePack)
                g_servicePack = servicePack;
            break;
        }
    }
}

// Walks the import table: each descriptor, its module, its names.
ConvWalk walkImports(unsigned long peOffset, const unsigned char *headers, size_t size) {
    const unsigned char *optional = headers + 24;
    size_t optionalSize = little16(headers + 20);
    // Cut short, or no PE32 header an i386 loader takes.
    if (size < 24 + (optionalSize < 112 ? optionalSize : 112) || optionalSize < 2 ||
        little16(optional) != 0x10B)
        return WALK_UNREADABLE;
    if (optionalSize < 112 || little32(optional + 92) < 2 || little32(optional + 104) == 0)
        return WALK_DONE; // no import directory: nothing imported
    ConvWalk walk = readSections(peOffset, headers);
    int entries = 0;
    for (uint32_t at = little32(optional + 104); walk == WALK_DONE; at += 20) {
        unsigned char descriptor[20];
        long got = readAddress(at, descriptor, sizeof descriptor);
        if (got != static_cast<long>(sizeof descriptor))
            return got < 0 ? WALK_FAILED : WALK_UNREADABLE;
        if (little32(descriptor + 12) == 0)
            return WALK_DONE;
        if (++entries > CONV_IMPORT_ENTRY_CAPACITY)
            return WALK_UNREADABLE;
        char module[CONV_IMPORT_NAME_SIZE];
        if (!readName(little32(descriptor + 12), module, &walk))
            return walk;
        int listed = convExportModule(module);
        uint32_t thunks = little32(descriptor) ? little32(descriptor) : little32(descriptor + 16);
        if (listed < 0)
            addName(LIST_UNLISTED, module);
        else if (thunks)
            walk = walkNames(listed, module, thunks, &entries);
    }
    return walk;
}

} // namespace

long convReadAt(PlatformFile *file, unsigned long offset, unsigned char *bytes, size_t size) {
    // Past 2 GiB, which a seek cannot reach, lies no driver's file: nothing.
    if (offset > 0x7FFFFFFF)
        return 0;
    if (!platformSeekFile(file, static_cast<long>(offset)))
        return -1;
    size_t total = 0;
    while (total < size) {
        size_t got = platformReadFile(file, bytes + total, size - total);
        if (got == PLATFORM_READ_FAILED)
            return -1;
        if (got == 0)
            break;
        total += got;
    }
    return static_cast<long>(total);
}

ConvImports convCheckImports(PlatformFile *file, unsigned long peOffset,
                             const unsigned char *headers, size_t size, const char *name,
                             char *missing) {
    g_file = file;
    g_sectionCount = 0;
    g_servicePack = 0;
    memset(g_lists, 0, sizeof g_lists);
    switch (walkImports(peOffset, headers, size)) {
    case WALK_DONE: break;
    case WALK_UNREADABLE: say(CONV_MSG_IMPORTS_UNREADABLE, name); return CONV_IMPORTS_UNREADABLE;
    case WALK_FAILED: return CONV_IMPORTS_READ_FAILED;
    }
    char text[CONV_NAMES_TEXT_SIZE];
    if (g_lists[LIST_MISSING].count)
        say(CONV_MSG_IMPORTS_MISSING, name, namesText(g_lists[LIST_MISSING], missing));
    if (g_lists[LIST_NT351].count)
        say(CONV_MSG_IMPORTS_NT351, name, namesText(g_lists[LIST_NT351], text));
    if (g_lists[LIST_SERVICE_PACK].count)
        say(CONV_MSG_IMPORTS_SERVICE_PACK, name, static_cast<unsigned long>(g_servicePack),
            namesText(g_lists[LIST_SERVICE_PACK], text));
    if (g_lists[LIST_UNLISTED].count)
        say(CONV_MSG_IMPORTS_UNLISTED, name, namesText(g_lists[LIST_UNLISTED], text));
    if (g_lists[LIST_ORDINAL].count)
        say(CONV_MSG_IMPORTS_ORDINAL, name, namesText(g_lists[LIST_ORDINAL], text));
    return g_lists[LIST_MISSING].count ? CONV_IMPORTS_MISSING : CONV_IMPORTS_LOAD;
}
