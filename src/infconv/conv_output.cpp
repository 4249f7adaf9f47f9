// The INF file written; see conv_output.h.

#include "infconv/conv_output.h"

#include <cstring>

#include "common/capacity.h"
#include "common/say.h"
#include "inf/addreg_line.h"
#include "inf/claimed_keys.h"
#include "inf/names.h"
#include "inf/text.h"
#include "infconv/infconv_capacity.h"
#include "infconv/infconv_messages.h"

namespace {

// The names the converter gives its own sections. The AddReg section's
// header is the one line of the file that holds the AddReg mark.
const char OWN_FILES_SECTION[] = "DriverFiles.Copy";
const char ADDREG_HEADER[] = "[Driver.AddReg]";

struct ConvPart {
    char text[CONV_PART_SIZE];
    size_t length;
};

struct ConvCopySection {
    char name[CONV_SECTION_NAME_SIZE];
    unsigned long directoryId;
};

ConvPart g_copyPart;
ConvPart g_ownFilesPart;
ConvPart g_regPart;
ConvCopySection g_sections[DESTINATION_CAPACITY];
int g_sectionCount;
unsigned long g_ownFilesDirectory; // 0 while no own file was added
// The distinct keys of the AddReg section, in the installer's own list.
ClaimedKeys g_keys;
char g_keyTexts[CLAIMED_KEY_CAPACITY][REG_KEY_FIELD_SIZE];
int g_fileCount;
int g_valueCount;
char g_output[CONV_OUTPUT_SIZE];

// A line being put together; too long once it would not fit LINE_SIZE.
struct ConvLineText {
    char text[LINE_SIZE];
    size_t length;
    bool tooLong;
};

void put(ConvLineText *line, const char *text) {
    size_t count = strlen(text);
    if (line->length + count >= sizeof line->text) {
        line->tooLong = true;
        return;
    }
    memcpy(line->text + line->length, text, count + 1);
    line->length += count;
}

// Appends the line and its CR LF to the part.
const char *commit(ConvPart *part, const ConvLineText &line) {
    if (line.tooLong)
        return CONV_WHY_TOO_LONG;
    if (sectionMark(line.text) == SECTION_MARK_ADDREG)
        return CONV_WHY_TEXT;
    if (part->length + line.length + 2 > sizeof part->text)
        return CONV_WHY_OUTPUT_FULL;
    memcpy(part->text + part->length, line.text, line.length);
    memcpy(part->text + part->length + line.length, "\r\n", 2);
    part->length += line.length + 2;
    return nullptr;
}

// True when one of the ASCII `characters` is a character of the text, not
// the trail byte of a double-byte one ("\x81\x5B" is a katakana sign).
bool hasAny(const char *text, const char *characters) {
    for (const char *p = text; *p; p = textNextChar(p)) {
        if (!textIsLeadByte(*p) && strchr(characters, *p))
            return true;
    }
    return false;
}

const char *addFile(ConvPart *part, const char *name) {
    const char *why = convCheckFileName(name);
    if (why)
        return why;
    ConvLineText line = {};
    put(&line, name);
    why = commit(part, line);
    if (!why)
        ++g_fileCount;
    return why;
}

// True when a '\\' of its own (never the trail byte of a double-byte
// character) follows another or ends the key.
bool hasEmptyPart(const char *key) {
    bool afterSeparator = false;
    for (const char *p = key; *p; p = textNextChar(p)) {
        bool separator = *p == '\\';
        if (separator && afterSeparator)
            return true;
        afterSeparator = separator;
    }
    return afterSeparator;
}

// Counts a key of the AddReg section once, whatever its letter case;
// why not, when the installer could not claim all the keys counted.
const char *countDistinctKey(const char *key) {
    if (claimedKeysHas(g_keys, key))
        return nullptr;
    if (claimedKeysFull(g_keys))
        return CONV_WHY_TOO_MANY;
    claimedKeysAdd(&g_keys, strcpy(g_keyTexts[g_keys.count], key));
    return nullptr;
}

// The test is written so that no sum can wrap around.
void append(size_t *length, const char *text, size_t count) {
    if (*length <= sizeof g_output && count <= sizeof g_output - *length)
        memcpy(g_output + *length, text, count);
    *length += count;
}

void appendText(size_t *length, const char *text) {
    append(length, text, strlen(text));
}

void appendEntry(size_t *length, const char *name, unsigned long directoryId) {
    ConvLineText line = {};
    char digits[NUMBER_TEXT_SIZE];
    put(&line, name);
    put(&line, "=");
    put(&line, writeNumberText(directoryId, false, digits));
    put(&line, "\r\n");
    appendText(length, line.text);
}

// The registry lines, parents before the keys below them: the installer
// asks before it writes below a key that exists and is not yet its own,
// and a key it made only as the parent of a deeper one counts as
// existing. Lines of one depth keep their order. A key's depth is its
// count of backslash bytes, which a key below it always exceeds.
void appendRegistryLines(size_t *length) {
    const char *end = g_regPart.text + g_regPart.length;
    for (size_t depth = 0, deepest = 0; depth <= deepest; ++depth) {
        for (const char *line = g_regPart.text; line < end;) {
            const char *next = static_cast<const char *>(memchr(line, '\n', end - line)) + 1;
            const char *key = line + strlen("HKLM,\"");
            const char *keyEnd = static_cast<const char *>(memchr(key, '"', next - key));
            size_t keyDepth = 0;
            for (const char *c = key; c < keyEnd; ++c)
                keyDepth += *c == '\\';
            if (keyDepth > deepest)
                deepest = keyDepth;
            if (keyDepth == depth)
                append(length, line, static_cast<size_t>(next - line));
            line = next;
        }
    }
}

} // namespace

// A name the installer reads back as a file of the section's folder.
const char *convCheckFileName(const char *name) {
    if (name[0] == '\0' || name[0] == '[' || name[0] == ';' || isAsciiSpace(name[0]) ||
        isUnsafeFileName(name))
        return CONV_WHY_FILE_NAME;
    if (strlen(name) >= CONV_FILE_NAME_SIZE)
        return CONV_WHY_TOO_LONG;
    return nullptr;
}

void convOutputReset() {
    g_copyPart.length = 0;
    g_ownFilesPart.length = 0;
    g_regPart.length = 0;
    g_sectionCount = 0;
    g_ownFilesDirectory = 0;
    g_keys.count = 0;
    g_fileCount = 0;
    g_valueCount = 0;
}

bool convHasCopySection(const char *name) {
    for (int i = 0; i < g_sectionCount; ++i) {
        if (equalsIgnoreCase(g_sections[i].name, name))
            return true;
    }
    return false;
}

const char *convAddCopySection(const char *name, unsigned long directoryId) {
    if (name[0] == '\0' || isAsciiSpace(name[0]) || hasAny(name, "[]=;\"") ||
        equalsIgnoreCase(name, "Version") || equalsIgnoreCase(name, "DestinationDirs") ||
        equalsIgnoreCase(name, "DefaultDestDir") || equalsIgnoreCase(name, OWN_FILES_SECTION))
        return CONV_WHY_SECTION_NAME;
    if (strlen(name) >= CONV_SECTION_NAME_SIZE)
        return CONV_WHY_TOO_LONG;
    // One entry of the installer's table stays free for the own files.
    if (g_sectionCount == DESTINATION_CAPACITY - 1)
        return CONV_WHY_TOO_MANY;
    ConvLineText blank = {};
    ConvLineText header = {};
    put(&header, "[");
    put(&header, name);
    put(&header, "]");
    size_t before = g_copyPart.length;
    const char *why = commit(&g_copyPart, blank);
    if (!why)
        why = commit(&g_copyPart, header);
    if (why) {
        g_copyPart.length = before;
        return why;
    }
    strcpy(g_sections[g_sectionCount].name, name);
    g_sections[g_sectionCount++].directoryId = directoryId;
    return nullptr;
}

const char *convAddFile(const char *name) {
    return addFile(&g_copyPart, name);
}

const char *convAddOwnFile(const char *name, unsigned long directoryId) {
    const char *why = addFile(&g_ownFilesPart, name);
    if (!why)
        g_ownFilesDirectory = directoryId;
    return why;
}

namespace {

// Adds the value's line without saying it.
const char *addValue(const ConvValue &value) {
    // A key the installer writes: below the services key, one service at
    // least, no empty part.
    if (hasEmptyPart(value.key))
        return CONV_WHY_ROOT;
    ConvLineText line = {};
    switch (
        writeAddRegLine(value.key, value.name, value.flags, value.text, value.number, line.text)) {
    case ADDREG_WRITTEN: break;
    case ADDREG_WRITE_NOT_SERVICE_KEY: return CONV_WHY_ROOT;
    case ADDREG_WRITE_QUOTE: return CONV_WHY_TEXT;
    case ADDREG_WRITE_TOO_LONG: return CONV_WHY_TOO_LONG;
    case ADDREG_WRITE_NO_NAME: return CONV_WHY_NO_VALUE_NAME;
    }
    line.length = strlen(line.text);
    size_t before = g_regPart.length;
    const char *why = commit(&g_regPart, line);
    if (!why)
        why = countDistinctKey(value.key);
    if (why) {
        g_regPart.length = before;
        return why;
    }
    ++g_valueCount;
    return nullptr;
}

} // namespace

const char *convCheckValues(const ConvValue *values, int count) {
    size_t length = g_regPart.length;
    int keys = g_keys.count;
    int valueCount = g_valueCount;
    const char *why = nullptr;
    for (int i = 0; i < count && !why; ++i)
        why = addValue(values[i]);
    g_regPart.length = length;
    g_keys.count = keys;
    g_valueCount = valueCount;
    return why;
}

const char *convAddValue(const char *key, const char *name, uint32_t flags, const char *text,
                         uint32_t number) {
    const char *why = addValue(ConvValue{key, name, text, flags, number});
    if (why)
        return why;
    if (flags == ADDREG_FLAGS_DWORD)
        say(CONV_MSG_VALUE_NUMBER, key, name, static_cast<unsigned long>(number));
    else
        say(CONV_MSG_VALUE, key, name, text);
    return nullptr;
}

int convFileCount() {
    return g_fileCount;
}

int convValueCount() {
    return g_valueCount;
}

size_t convComposeOutput(const char *sourcePath, const char **text) {
    size_t length = 0;
    appendText(&length, CONV_OUT_HEAD_COMMENT);
    // A control character (a line feed in the name) would end the comment.
    for (const char *c = sourcePath; *c; ++c)
        append(&length, static_cast<unsigned char>(*c) < 0x20 || *c == 0x7F ? "?" : c, 1);
    appendText(&length, "\r\n\r\n[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=LegacyDriver\r\n"
                        "\r\n[DestinationDirs]\r\nDefaultDestDir=12\r\n");
    for (int i = 0; i < g_sectionCount; ++i)
        appendEntry(&length, g_sections[i].name, g_sections[i].directoryId);
    // The installer wants one copy section at least, even an empty one.
    bool ownFiles = g_ownFilesPart.length > 0 || g_sectionCount == 0;
    if (ownFiles)
        appendEntry(&length, OWN_FILES_SECTION, g_ownFilesDirectory ? g_ownFilesDirectory : 12);
    append(&length, g_copyPart.text, g_copyPart.length);
    if (ownFiles) {
        appendText(&length, "\r\n[");
        appendText(&length, OWN_FILES_SECTION);
        appendText(&length, "]\r\n");
        append(&length, g_ownFilesPart.text, g_ownFilesPart.length);
    }
    appendText(&length, "\r\n");
    appendText(&length, ADDREG_HEADER);
    appendText(&length, "\r\n");
    appendRegistryLines(&length);
    *text = g_output;
    return length <= sizeof g_output ? length : 0;
}
