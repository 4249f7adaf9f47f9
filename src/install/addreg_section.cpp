// The AddReg section; see addreg_section.h.

#include "install/addreg_section.h"

#include <cstdint>
#include <cstring>

#include "common/capacity.h"
#include "common/messages.h"
#include "common/shortfall.h"
#include "inf/inf_stream.h"
#include "inf/text.h"
#include "platform/platform.h"
#include "run/overwrite.h"

static const char SERVICES_PREFIX[] = "System\\CurrentControlSet\\Services\\";
static const uint32_t FLAGS_SZ = 0x00000000u;
static const uint32_t FLAGS_EXPAND_SZ = 0x00020000u;
static const uint32_t FLAGS_DWORD = 0x00010001u;

static char *g_claimedKeys[CLAIMED_KEY_CAPACITY];
static int g_claimedKeyCount = 0;

bool isClaimed(const char *key) {
    for (int i = 0; i < g_claimedKeyCount; ++i) {
        if (equalsIgnoreCase(g_claimedKeys[i], key))
            return true;
    }
    return false;
}

ClaimResult claimKey(const char *key) {
    if (g_claimedKeyCount == CLAIMED_KEY_CAPACITY)
        return CLAIM_LIST_FULL;
    char *copy = heapCopy(key);
    if (!copy)
        return CLAIM_NO_MEMORY;
    g_claimedKeys[g_claimedKeyCount++] = copy;
    return CLAIMED;
}

void clearClaimedKeys() {
    for (int i = 0; i < g_claimedKeyCount; ++i)
        platformRelease(g_claimedKeys[i]);
    g_claimedKeyCount = 0;
}

// The four fields of a line, parsed as the pattern
// HKLM,"%[^"]","%[^"]",%[^,],%[^\n] reads them: each field non-empty,
// every literal character matched exactly.
struct AddRegLine {
    char key[REG_KEY_FIELD_SIZE];
    char name[REG_NAME_FIELD_SIZE];
    char flags[REG_FLAGS_FIELD_SIZE];
    char data[REG_DATA_FIELD_SIZE];
};

enum ParseResult { LINE_PARSED, LINE_NOT_PARSED, LINE_TOO_LONG };

// Past `literal` at `text`, or null when it is not there.
static const char *expect(const char *text, const char *literal) {
    if (!text)
        return nullptr;
    size_t length = strlen(literal);
    return strncmp(text, literal, length) == 0 ? text + length : nullptr;
}

struct FieldSpan {
    const char *start;
    size_t length;
};

// A non-empty run of characters up to one of `stops` or the end; past it,
// or null when the run is empty.
static const char *scanField(const char *text, const char *stops, FieldSpan *field) {
    if (!text)
        return nullptr;
    field->start = text;
    field->length = strcspn(text, stops);
    return field->length ? text + field->length : nullptr;
}

static bool copyField(char *buffer, size_t size, const FieldSpan &field) {
    if (field.length >= size)
        return false;
    memcpy(buffer, field.start, field.length);
    buffer[field.length] = '\0';
    return true;
}

static bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

static bool hasBlankEnd(const FieldSpan &field) {
    return isBlank(field.start[0]) || isBlank(field.start[field.length - 1]);
}

// Data is read as written only when its meaning is plain: one quoted
// string and nothing after it, or text with no quote and no ';'. Anything
// else (a trailing comment, a stray quote) would reach the registry as it
// stands, quotes included.
static bool isPlainData(const FieldSpan &data) {
    if (data.start[0] == '"') // the first quote after it is the last character
        return memchr(data.start + 1, '"', data.length - 1) == data.start + data.length - 1;
    return !memchr(data.start, '"', data.length) && !memchr(data.start, ';', data.length);
}

static ParseResult parseAddRegLine(const char *line, AddRegLine *out) {
    FieldSpan key, name, flags, data;
    const char *p = expect(line, "HKLM,\"");
    p = expect(scanField(p, "\"", &key), "\",\"");
    p = expect(scanField(p, "\"", &name), "\",");
    p = expect(scanField(p, ",", &flags), ",");
    p = scanField(p, "\n", &data);
    if (!p || hasBlankEnd(flags) || hasBlankEnd(data) || !isPlainData(data))
        return LINE_NOT_PARSED;
    // No field is ever cut short into a different key or value.
    if (!copyField(out->key, sizeof out->key, key) ||
        !copyField(out->name, sizeof out->name, name) ||
        !copyField(out->flags, sizeof out->flags, flags) ||
        !copyField(out->data, sizeof out->data, data))
        return LINE_TOO_LONG;
    return LINE_PARSED;
}

// A key of a service: below the services key, not the services key itself,
// whose own values belong to no driver.
static bool isServiceKey(const char *key) {
    const size_t prefixLength = sizeof SERVICES_PREFIX - 1;
    return startsWithIgnoreCase(key, SERVICES_PREFIX) && key[prefixLength] != '\0' &&
           key[prefixLength] != '\\';
}

// The existing-key guard: true when values may be written below the key.
// A key that exists but cannot be read counts as existing: only "not
// found" proves that no other software owns it.
static bool mayWriteBelow(const char *key) {
    if (isClaimed(key) || overwriteAnswer() == 1)
        return true;
    if (platformRegProbeKey(key) != PLATFORM_KEY_NOT_FOUND && !confirmOverwrite()) {
        say(MSG_KEY_EXISTS);
        return false;
    }
    switch (claimKey(key)) {
    case CLAIMED: return true;
    case CLAIM_LIST_FULL: say(MSG_TOO_MANY_KEYS); return false;
    case CLAIM_NO_MEMORY: say(MSG_OUT_OF_MEMORY); return false;
    }
    return false;
}

// Writes the value by its flags; false, with the reason said, when it was
// not written.
static bool writeValue(PlatformRegKey *handle, const AddRegLine &line, uint32_t flags) {
    bool written;
    if (flags == FLAGS_SZ || flags == FLAGS_EXPAND_SZ) {
        char text[REG_DATA_FIELD_SIZE];
        strcpy(text, line.data);
        stripQuotes(text);
        unsigned long type = flags == FLAGS_SZ ? PLATFORM_REG_SZ : PLATFORM_REG_EXPAND_SZ;
        written = platformRegSetValue(handle, line.name, type, text, strlen(text) + 1);
    } else if (flags == FLAGS_DWORD) {
        uint32_t number = readUnsigned32(line.data);
        unsigned char bytes[4] = {
            static_cast<unsigned char>(number), static_cast<unsigned char>(number >> 8),
            static_cast<unsigned char>(number >> 16), static_cast<unsigned char>(number >> 24)};
        written = platformRegSetValue(handle, line.name, PLATFORM_REG_DWORD, bytes, sizeof bytes);
    } else {
        say(MSG_UNSUPPORTED_TYPE, static_cast<unsigned long>(flags));
        return false;
    }
    if (!written)
        say(MSG_VALUE_WRITE_FAILED, line.key, line.name);
    return written;
}

// A line of spaces and tabs, or an indented comment: it asks for nothing.
static bool isBlankOrComment(const char *text) {
    text += strspn(text, " \t");
    return *text == '\0' || *text == ';';
}

// Parses and checks one line; false, with the reason said, when it is
// skipped. Blank lines and comments are skipped without a word.
static bool readAddRegLine(const char *text, AddRegLine *line) {
    switch (parseAddRegLine(text, line)) {
    case LINE_PARSED: break;
    case LINE_NOT_PARSED:
        if (isBlankOrComment(text))
            return false;
        say(MSG_ADDREG_LINE_UNREADABLE, text);
        shortfallAdd();
        return false;
    case LINE_TOO_LONG:
        say(MSG_ADDREG_LINE_TOO_LONG);
        shortfallAdd();
        return false;
    }
    if (!isServiceKey(line->key)) {
        say(MSG_INVALID_KEY, line->key);
        shortfallAdd();
        return false;
    }
    return true;
}

static void addRegLine(char *text, void *) {
    AddRegLine line;
    if (!readAddRegLine(text, &line))
        return;
    uint32_t flags = readUnsigned32(line.flags);
    say(MSG_REG_VALUE, line.key, line.name, line.data);
    if (!mayWriteBelow(line.key)) {
        shortfallAdd();
        return;
    }
    PlatformRegKey *handle = platformRegCreateKey(line.key);
    if (!handle) {
        say(MSG_KEY_CREATE_FAILED, line.key);
        shortfallAdd();
        return;
    }
    if (!writeValue(handle, line, flags))
        shortfallAdd();
    platformRegCloseKey(handle);
}

void processAddRegSection(InfStream *stream, const char *) {
    readSectionBody(stream, addRegLine, nullptr);
}
