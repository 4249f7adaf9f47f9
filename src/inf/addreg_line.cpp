// Reading and writing AddReg lines; see addreg_line.h.

#include "inf/addreg_line.h"

#include <cstring>

#include "common/say.h"
#include "common/shortfall.h"
#include "inf/inf_messages.h"
#include "inf/names.h"
#include "inf/text.h"
#include "platform/platform.h"

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

static bool hasBlankEnd(const FieldSpan &field) {
    return isBlankChar(field.start[0]) || isBlankChar(field.start[field.length - 1]);
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

// The numbers of a line: its flags, and the data of a REG_DWORD line
// without its one pair of quotes. False when either is not one number.
static bool readNumbers(AddRegLine *line) {
    line->dwordValue = 0;
    if (!readStrictNumber(line->flags, &line->flagsValue))
        return false;
    if (line->flagsValue != ADDREG_FLAGS_DWORD)
        return true;
    char number[REG_DATA_FIELD_SIZE];
    strcpy(number, line->data);
    stripQuotes(number); // the data is plain: quotes stand only at its two ends
    return readStrictNumber(number, &line->dwordValue);
}

// The format first, then the field lengths, then the numbers.
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
    return readNumbers(out) ? LINE_PARSED : LINE_NOT_PARSED;
}

bool readAddRegLine(const char *text, AddRegLine *line) {
    switch (parseAddRegLine(text, line)) {
    case LINE_PARSED: break;
    case LINE_NOT_PARSED:
        if (isBlankOrComment(text)) // it asks for nothing
            return false;
        say(INF_MSG_ADDREG_LINE_UNREADABLE, text);
        shortfallAdd();
        return false;
    case LINE_TOO_LONG:
        say(INF_MSG_ADDREG_LINE_TOO_LONG);
        shortfallAdd();
        return false;
    }
    if (!isServiceKey(line->key)) {
        say(INF_MSG_INVALID_KEY, line->key);
        shortfallAdd();
        return false;
    }
    return true;
}

bool addRegValueOf(const AddRegLine &line, AddRegValue *value) {
    if (line.flagsValue == ADDREG_FLAGS_SZ || line.flagsValue == ADDREG_FLAGS_EXPAND_SZ) {
        char text[REG_DATA_FIELD_SIZE];
        strcpy(text, line.data);
        stripQuotes(text);
        value->type = line.flagsValue == ADDREG_FLAGS_SZ ? PLATFORM_REG_SZ : PLATFORM_REG_EXPAND_SZ;
        value->size = static_cast<unsigned long>(strlen(text) + 1);
        memcpy(value->bytes, text, value->size);
        return true;
    }
    if (line.flagsValue == ADDREG_FLAGS_DWORD) {
        value->type = PLATFORM_REG_DWORD;
        value->size = 4;
        for (int i = 0; i < 4; ++i)
            value->bytes[i] = static_cast<unsigned char>(line.dwordValue >> (8 * i));
        return true;
    }
    return false;
}

// A line being written; too long once it would not fit LINE_SIZE.
struct LineText {
    char *text;
    size_t length;
};

static void put(LineText *line, const char *piece) {
    size_t count = strlen(piece);
    if (line->length + count < LINE_SIZE)
        memcpy(line->text + line->length, piece, count + 1);
    line->length += count;
}

AddRegWriteResult writeAddRegLine(const char *key, const char *name, uint32_t flags,
                                  const char *text, uint32_t number, char *line) {
    bool dword = flags == ADDREG_FLAGS_DWORD;
    if (!isServiceKey(key))
        return ADDREG_WRITE_NOT_SERVICE_KEY;
    if (strchr(key, '"'))
        return ADDREG_WRITE_QUOTE;
    if (strlen(key) >= REG_KEY_FIELD_SIZE)
        return ADDREG_WRITE_TOO_LONG;
    if (name[0] == '\0')
        return ADDREG_WRITE_NO_NAME;
    if (strchr(name, '"') || (!dword && strchr(text, '"')))
        return ADDREG_WRITE_QUOTE;
    // The data field as read holds the quotes.
    if (strlen(name) >= REG_NAME_FIELD_SIZE || (!dword && strlen(text) + 2 >= REG_DATA_FIELD_SIZE))
        return ADDREG_WRITE_TOO_LONG;
    char composed[LINE_SIZE];
    LineText out = {composed, 0};
    char digits[NUMBER_TEXT_SIZE];
    put(&out, "HKLM,\"");
    put(&out, key);
    put(&out, "\",\"");
    put(&out, name);
    put(&out, "\",");
    put(&out, flags == ADDREG_FLAGS_SZ ? "0" : writeNumberText(flags, true, digits));
    put(&out, ",");
    if (dword) {
        put(&out, writeNumberText(number, false, digits));
    } else {
        put(&out, "\"");
        put(&out, text);
        put(&out, "\"");
    }
    if (out.length >= LINE_SIZE)
        return ADDREG_WRITE_TOO_LONG;
    memcpy(line, composed, out.length + 1);
    return ADDREG_WRITTEN;
}
