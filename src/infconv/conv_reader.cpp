// Reading the input INF file; see conv_reader.h.
//
// The file's bytes are turned into lines in place: a logical line is never
// longer than the bytes it was read from, so the text written never
// overtakes the text still to be read, and one buffer holds both.

#include "infconv/conv_reader.h"

#include <cstdint>
#include <cstring>

#include "common/say.h"
#include "common/shortfall.h"
#include "inf/text.h"
#include "infconv/infconv_messages.h"
#include "platform/platform.h"

namespace {

struct ConvLine {
    size_t offset;        // of the line's text in g_text
    unsigned long number; // physical line it began on, from 1
};

struct ConvSection {
    size_t nameOffset; // UNREADABLE_HEADER for a header holding a NUL byte
    int firstLine;
    int lineCount;
};

// A header that could not be read still ends the section before it, and
// opens one that no name matches: no name holds a line feed.
const size_t UNREADABLE_HEADER = SIZE_MAX;

// One byte more than the input may hold: the NUL after a last line that
// has no line end.
char g_text[CONV_INPUT_SIZE + 1];
ConvLine g_lines[CONV_LINE_CAPACITY];
int g_lineCount;
ConvSection g_sections[CONV_SECTION_CAPACITY];
int g_sectionCount;

const char CTRL_Z = 0x1A;

// UTF-16 with its byte-order mark, of ASCII characters only, into bytes;
// false when a character is not ASCII. `size` becomes the byte count.
bool utf16ToBytes(size_t *size) {
    const unsigned char *bytes = reinterpret_cast<const unsigned char *>(g_text);
    bool littleEndian = bytes[0] == 0xFF;
    size_t count = 0;
    for (size_t at = 2; at + 1 < *size; at += 2) {
        unsigned unit =
            littleEndian ? bytes[at] | bytes[at + 1] << 8 : bytes[at] << 8 | bytes[at + 1];
        if (unit >= 0x80)
            return false;
        g_text[count++] = static_cast<char>(unit);
    }
    *size = count;
    return true;
}

// Adds the line [start, end) of g_text, NUL-terminated at `end`: a section
// header opens a section, any other line joins the section open. False
// when a table is full.
bool addLine(size_t start, size_t end, unsigned long number) {
    while (start < end && isAsciiSpace(g_text[start]))
        ++start;
    while (end > start && isAsciiSpace(g_text[end - 1]))
        --end;
    g_text[end] = '\0';
    if (start == end)
        return true;
    if (end - start >= LINE_SIZE) {
        say(CONV_MSG_LINE_TOO_LONG, number);
        shortfallAdd();
        return true;
    }
    if (g_text[start] == '[') {
        if (g_sectionCount == CONV_SECTION_CAPACITY)
            return false;
        char *name = g_text + start + 1;
        char *close = name;
        while (*close && *close != ']')
            close = const_cast<char *>(textNextChar(close));
        *close = '\0';
        trimSpace(name);
        g_sections[g_sectionCount++] = ConvSection{start + 1, g_lineCount, 0};
        return true;
    }
    if (g_lineCount == CONV_LINE_CAPACITY)
        return false;
    g_lines[g_lineCount++] = ConvLine{start, number};
    if (g_sectionCount > 0)
        ++g_sections[g_sectionCount - 1].lineCount;
    return true;
}

// Turns the `size` bytes of g_text into lines. A '\' that is the last
// character before the line end (not the trail byte of a double-byte
// character, not inside quotes, not in a comment) joins the next line on.
void splitLines(size_t size) {
    size_t in = 0;
    size_t out = 0;
    unsigned long physical = 1;
    while (in < size) {
        size_t start = out;
        size_t lastBackslash = SIZE_MAX; // where the line's text ends in '\'
        unsigned long number = physical;
        bool quoted = false;
        bool comment = false;
        bool trail = false;
        bool unreadable = false;
        while (in < size) {
            char c = g_text[in++];
            if (c == '\n') {
                ++physical;
                if (lastBackslash == SIZE_MAX || quoted)
                    break;
                out = lastBackslash;
                lastBackslash = SIZE_MAX;
                comment = false;
                continue;
            }
            if (c == '\r' || comment)
                continue;
            if (c == '\0') { // no line holds one: the line cannot be read
                unreadable = true;
                continue;
            }
            if (c == ';' && !quoted) {
                comment = true;
                continue;
            }
            if (c == '"')
                quoted = !quoted;
            if (trail) {
                trail = false;
                lastBackslash = SIZE_MAX;
            } else if (textIsLeadByte(c)) {
                trail = true;
                lastBackslash = SIZE_MAX;
            } else if (!isBlankChar(c)) {
                lastBackslash = c == '\\' ? out : SIZE_MAX;
            }
            g_text[out++] = c;
        }
        size_t first = start;
        while (first < out && isAsciiSpace(g_text[first]))
            ++first;
        bool header = first < out && g_text[first] == '[';
        if (unreadable) {
            say(CONV_MSG_NUL_BYTE, number);
            shortfallAdd();
            g_text[out] = '\0';
        }
        if (unreadable && header && g_sectionCount < CONV_SECTION_CAPACITY) {
            g_sections[g_sectionCount++] = ConvSection{UNREADABLE_HEADER, g_lineCount, 0};
        } else if (unreadable ? header : !addLine(start, out, number)) { // a table full
            say(CONV_MSG_TOO_MANY_LINES, number);
            shortfallAdd();
            return;
        }
        ++out; // past the NUL
    }
}

ConvLoadResult parse(size_t size) {
    g_lineCount = 0;
    g_sectionCount = 0;
    if (startsWithUtf16Mark(reinterpret_cast<const unsigned char *>(g_text), size) &&
        !utf16ToBytes(&size))
        return CONV_UTF16_NOT_ASCII;
    const void *end = memchr(g_text, CTRL_Z, size); // the data ends there
    if (end)
        size = static_cast<size_t>(static_cast<const char *>(end) - g_text);
    splitLines(size);
    return CONV_LOADED;
}

// Reads one field from `*text` up to `stop` (',' or '=') outside quotes,
// or the end: blanks around it dropped, quotes taken off, "" inside quotes
// one quote. False when it does not fit `size`.
bool readRawField(const char **text, char stop, char *field, size_t size) {
    const char *p = *text;
    while (isBlankChar(*p))
        ++p;
    size_t length = 0;
    size_t kept = 0; // up to the last character that is not a trailing blank
    bool quoted = false;
    bool fits = true;
    for (; *p && (quoted || *p != stop); ++p) {
        char c = *p;
        if (c == '"') {
            if (!(quoted && p[1] == '"')) {
                quoted = !quoted;
                kept = length;
                continue;
            }
            ++p; // "" inside quotes
        }
        if (length + 1 >= size) {
            fits = false;
            continue;
        }
        field[length++] = c;
        if (quoted || !isBlankChar(c))
            kept = length;
    }
    field[kept] = '\0';
    *text = p;
    return fits;
}

// Appends `length` bytes to the field; false when they do not fit.
bool append(char *field, size_t *length, const char *text, size_t count) {
    if (*length + count >= CONV_FIELD_SIZE)
        return false;
    memcpy(field + *length, text, count);
    *length += count;
    field[*length] = '\0';
    return true;
}

// The value of a name in one strings section.
bool findString(const char *section, const char *name, char *value) {
    const char *rest = convFindEntry(section, name);
    return rest && readRawField(&rest, '\0', value, CONV_FIELD_SIZE);
}

// Puts the %strings% of `raw` in; false when the result does not fit.
bool substitute(const char *raw, char *field) {
    size_t length = 0;
    field[0] = '\0';
    char name[CONV_FIELD_SIZE];
    char value[CONV_FIELD_SIZE];
    for (const char *p = raw; *p;) {
        const char *open = strchr(p, '%');
        const char *close = open ? strchr(open + 1, '%') : nullptr;
        if (!close)
            return append(field, &length, p, strlen(p));
        if (!append(field, &length, p, static_cast<size_t>(open - p)))
            return false;
        size_t nameLength = static_cast<size_t>(close - open - 1);
        memcpy(name, open + 1, nameLength);
        name[nameLength] = '\0';
        bool ok;
        if (nameLength == 0)
            ok = append(field, &length, "%", 1);
        else if (findString("Strings.0411", name, value) || findString("Strings", name, value))
            ok = append(field, &length, value, strlen(value));
        else
            ok = append(field, &length, open, nameLength + 2);
        if (!ok)
            return false;
        p = close + 1;
    }
    return true;
}

} // namespace

ConvLoadResult convLoad(const char *path) {
    g_lineCount = 0;
    g_sectionCount = 0;
    PlatformFile *file = platformOpenFile(path);
    if (!file)
        return CONV_OPEN_FAILED;
    size_t size = 0;
    size_t got = 0;
    while (size <= CONV_INPUT_SIZE &&
           (got = platformReadFile(file, g_text + size, CONV_INPUT_SIZE + 1 - size)) > 0 &&
           got != PLATFORM_READ_FAILED)
        size += got;
    platformCloseFile(file);
    if (got == PLATFORM_READ_FAILED)
        return CONV_READ_FAILED;
    if (size > CONV_INPUT_SIZE)
        return CONV_TOO_LARGE;
    return parse(size);
}

ConvLoadResult convLoadBytes(const char *data, size_t size) {
    if (size > CONV_INPUT_SIZE)
        return CONV_TOO_LARGE;
    memcpy(g_text, data, size);
    return parse(size);
}

const char *convSectionName(int index) {
    if (index >= g_sectionCount)
        return nullptr;
    size_t offset = g_sections[index].nameOffset;
    return offset == UNREADABLE_HEADER ? "\n" : g_text + offset;
}

bool convHasSection(const char *name) {
    for (int i = 0; i < g_sectionCount; ++i) {
        if (equalsIgnoreCase(convSectionName(i), name))
            return true;
    }
    return false;
}

bool convNextLine(const char *name, ConvCursor *cursor, const char **text, unsigned long *number) {
    for (; cursor->section < g_sectionCount; ++cursor->section, cursor->line = 0) {
        const ConvSection &section = g_sections[cursor->section];
        if (cursor->line < section.lineCount &&
            equalsIgnoreCase(convSectionName(cursor->section), name)) {
            const ConvLine &line = g_lines[section.firstLine + cursor->line++];
            *text = g_text + line.offset;
            *number = line.number;
            return true;
        }
    }
    return false;
}

bool convHasLegacyDriverClass() {
    for (int i = 0; i < g_lineCount; ++i) {
        if (looseEquals(g_text + g_lines[i].offset, "Class=LegacyDriver"))
            return true;
    }
    return false;
}

bool convNextEntry(const char *section, const char *key, ConvCursor *cursor, const char **line,
                   unsigned long *number, const char **rest) {
    char entryKey[CONV_FIELD_SIZE];
    while (convNextLine(section, cursor, line, number)) {
        if (convSplitEntry(*line, entryKey, rest) && equalsIgnoreCase(entryKey, key))
            return true;
    }
    return false;
}

const char *convFindEntry(const char *section, const char *key) {
    ConvCursor cursor = {0, 0};
    const char *line;
    unsigned long number;
    const char *rest;
    return convNextEntry(section, key, &cursor, &line, &number, &rest) ? rest : nullptr;
}

bool convSplitEntry(const char *line, char *key, const char **rest) {
    const char *p = line;
    if (!readRawField(&p, '=', key, CONV_FIELD_SIZE) || *p != '=')
        return false;
    *rest = p + 1;
    return true;
}

void convReadFields(const char *text, ConvFields *fields) {
    fields->count = 0;
    fields->tooLong = false;
    char raw[CONV_FIELD_SIZE];
    for (const char *p = text;; ++p) {
        bool fits = readRawField(&p, ',', raw, sizeof raw);
        // A field that does not fit keeps its place, empty, so that the
        // fields after it keep their numbers (an AddReg line's type).
        if (fields->count == CONV_FIELD_CAPACITY) {
            fields->tooLong = true;
        } else {
            char *field = fields->text[fields->count++];
            if (!fits || !substitute(raw, field)) {
                fields->tooLong = true;
                field[0] = '\0';
            }
        }
        if (*p != ',')
            return;
    }
}

const char *convField(const ConvFields *fields, int index) {
    return index < fields->count ? fields->text[index] : "";
}
