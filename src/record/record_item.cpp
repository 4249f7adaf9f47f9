// The lines of the installation record; see record_item.h.

#include "record/record_item.h"

#include <cstring>

namespace {

// The tag of each kind, in the order of RecordItemKind.
const char *const TAGS[] = {"FILE-CREATED", "FILE-REPLACED", "FILE-FOUND",     "FILE-NOT-COPIED",
                            "KEY-CREATED",  "VALUE-CREATED", "VALUE-REPLACED", "VALUE-FOUND"};

const char HEX[] = "0123456789ABCDEF";

// A line being written: what does not fit makes it fail as a whole.
struct Writer {
    char *line;
    size_t length;
    bool full;
};

void putChar(Writer *writer, char c) {
    if (writer->length + 1 >= RECORD_LINE_SIZE) {
        writer->full = true;
        return;
    }
    writer->line[writer->length++] = c;
    writer->line[writer->length] = '\0';
}

void putHexByte(Writer *writer, unsigned char byte) {
    putChar(writer, HEX[byte >> 4]);
    putChar(writer, HEX[byte & 0x0F]);
}

bool needsEscape(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F || byte == '%';
}

// A tab, then the text with its unsafe bytes escaped.
void putText(Writer *writer, const char *text) {
    putChar(writer, '\t');
    for (const char *c = text; *c; ++c) {
        unsigned char byte = static_cast<unsigned char>(*c);
        if (needsEscape(byte)) {
            putChar(writer, '%');
            putHexByte(writer, byte);
        } else {
            putChar(writer, *c);
        }
    }
}

void putNumber(Writer *writer, unsigned long number) {
    char digits[16];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number > 0);
    putChar(writer, '\t');
    while (count > 0)
        putChar(writer, digits[--count]);
}

void putCrc(Writer *writer, uint32_t crc) {
    putChar(writer, '\t');
    for (int shift = 24; shift >= 0; shift -= 8)
        putHexByte(writer, static_cast<unsigned char>(crc >> shift));
}

void putFile(Writer *writer, const RecordFile &file) {
    putNumber(writer, file.size);
    putCrc(writer, file.crc);
}

void putValue(Writer *writer, const RecordValue &value) {
    putNumber(writer, value.type);
    putChar(writer, '\t');
    for (unsigned long i = 0; i < value.size; ++i)
        putHexByte(writer, value.bytes[i]);
}

// The fields of a line being read, split at its tabs.
const int MAX_FIELDS = 10;

struct Fields {
    int count;
    const char *start[MAX_FIELDS];
    size_t length[MAX_FIELDS];
};

bool split(const char *line, Fields *fields) {
    fields->count = 0;
    const char *start = line;
    for (;;) {
        const char *end = start;
        while (*end && *end != '\t' && *end != '\r' && *end != '\n')
            ++end;
        if (fields->count == MAX_FIELDS)
            return false;
        fields->start[fields->count] = start;
        fields->length[fields->count] = static_cast<size_t>(end - start);
        ++fields->count;
        if (*end != '\t')
            return *end == '\0' || strcmp(end, "\r\n") == 0 || strcmp(end, "\n") == 0;
        start = end + 1;
    }
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool readHexByte(const char *at, unsigned char *byte) {
    int high = hexDigit(at[0]);
    int low = high < 0 ? -1 : hexDigit(at[1]);
    if (low < 0)
        return false;
    *byte = static_cast<unsigned char>(high << 4 | low);
    return true;
}

bool readText(const Fields &fields, int index, char *text, size_t size) {
    const char *at = fields.start[index];
    const char *end = at + fields.length[index];
    size_t length = 0;
    while (at < end) {
        unsigned char byte = static_cast<unsigned char>(*at);
        if (*at == '%') {
            if (end - at < 3 || !readHexByte(at + 1, &byte) || byte == 0 || !needsEscape(byte))
                return false;
            at += 3;
        } else {
            ++at;
        }
        if (length + 1 >= size)
            return false;
        text[length++] = static_cast<char>(byte);
    }
    text[length] = '\0';
    return length > 0;
}

bool readNumber(const Fields &fields, int index, unsigned long *number) {
    size_t length = fields.length[index];
    if (length == 0 || length > 10)
        return false;
    unsigned long long value = 0;
    for (size_t i = 0; i < length; ++i) {
        char c = fields.start[index][i];
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<unsigned long long>(c - '0');
    }
    if (value > 0xFFFFFFFFull)
        return false;
    *number = static_cast<unsigned long>(value);
    return true;
}

bool readFile(const Fields &fields, int index, RecordFile *file) {
    if (!readNumber(fields, index, &file->size) || fields.length[index + 1] != 8)
        return false;
    uint32_t crc = 0;
    for (int i = 0; i < 4; ++i) {
        unsigned char byte;
        if (!readHexByte(fields.start[index + 1] + 2 * static_cast<size_t>(i), &byte))
            return false;
        crc = crc << 8 | byte;
    }
    file->crc = crc;
    return true;
}

bool readValue(const Fields &fields, int index, RecordValue *value) {
    size_t digits = fields.length[index + 1];
    if (!readNumber(fields, index, &value->type) || digits % 2 != 0 ||
        digits / 2 > RECORD_VALUE_SIZE)
        return false;
    value->size = static_cast<unsigned long>(digits / 2);
    for (unsigned long i = 0; i < value->size; ++i) {
        if (!readHexByte(fields.start[index + 1] + 2 * i, &value->bytes[i]))
            return false;
    }
    return true;
}

// The number of fields each kind's line has, tag and run included.
int fieldCount(RecordItemKind kind) {
    switch (kind) {
    case RECORD_FILE_CREATED:
    case RECORD_FILE_FOUND:
    case RECORD_FILE_NOT_COPIED: return 5;
    case RECORD_FILE_REPLACED: return 8;
    case RECORD_KEY_CREATED: return 3;
    case RECORD_VALUE_CREATED:
    case RECORD_VALUE_FOUND: return 6;
    case RECORD_VALUE_REPLACED: return 8;
    }
    return 0;
}

// Writes a tag; the caller adds the fields.
Writer startLine(char *line, const char *tag) {
    Writer writer = {line, 0, false};
    line[0] = '\0';
    for (const char *c = tag; *c; ++c)
        putChar(&writer, *c);
    return writer;
}

bool endLine(Writer *writer) {
    putChar(writer, '\r');
    putChar(writer, '\n');
    return !writer->full;
}

// True when the line splits into `count` fields, the first `tag`.
bool splitTagged(const char *line, const char *tag, int count, Fields *fields) {
    return split(line, fields) && fields->count == count && fields->length[0] == strlen(tag) &&
           memcmp(fields->start[0], tag, strlen(tag)) == 0;
}

} // namespace

void recordItemStart(RecordItem *item, RecordItemKind kind) {
    item->kind = kind;
    item->run = 0;
    item->path[0] = '\0';
    item->saved[0] = '\0';
    item->key[0] = '\0';
    item->name[0] = '\0';
    item->file = RecordFile{0, 0};
    item->oldFile = RecordFile{0, 0};
    item->value.type = item->value.size = 0;
    item->oldValue.type = item->oldValue.size = 0;
}

bool recordIsFile(RecordItemKind kind) {
    return kind == RECORD_FILE_CREATED || kind == RECORD_FILE_REPLACED ||
           kind == RECORD_FILE_FOUND || kind == RECORD_FILE_NOT_COPIED;
}

bool recordIsFound(RecordItemKind kind) {
    return kind == RECORD_FILE_FOUND || kind == RECORD_FILE_NOT_COPIED ||
           kind == RECORD_VALUE_FOUND;
}

bool recordIsValue(RecordItemKind kind) {
    return kind == RECORD_VALUE_CREATED || kind == RECORD_VALUE_REPLACED ||
           kind == RECORD_VALUE_FOUND;
}

bool recordFormatItem(const RecordItem &item, char *line) {
    Writer writer = startLine(line, TAGS[item.kind]);
    putNumber(&writer, item.run);
    if (recordIsFile(item.kind)) {
        putFile(&writer, item.file);
        putText(&writer, item.path);
        if (item.kind == RECORD_FILE_REPLACED) {
            putText(&writer, item.saved);
            putFile(&writer, item.oldFile);
        }
    } else {
        putText(&writer, item.key);
        if (recordIsValue(item.kind)) {
            putText(&writer, item.name);
            putValue(&writer, item.value);
            if (item.kind == RECORD_VALUE_REPLACED)
                putValue(&writer, item.oldValue);
        }
    }
    return endLine(&writer);
}

const char RECORD_UNDO_TAG[] = "UNDO";
const char RECORD_KEPT_TAG[] = "KEPT\t";
const char RECORD_END_TAG[] = "END";
const char RECORD_END_LINE[] = "END\r\n";

bool recordFormatInf(const RecordFile &inf, const char *path, char *line) {
    Writer writer = startLine(line, "INF");
    putFile(&writer, inf);
    putText(&writer, path);
    return endLine(&writer);
}

bool recordParseInf(const char *line, RecordFile *inf, char *path) {
    Fields fields;
    return splitTagged(line, "INF", 4, &fields) && readFile(fields, 1, inf) &&
           readText(fields, 3, path, PATH_SIZE);
}

bool recordFormatRun(unsigned long run, const char *date, const char *path, char *line) {
    Writer writer = startLine(line, "RUN");
    putNumber(&writer, run);
    putText(&writer, date);
    putText(&writer, path);
    return endLine(&writer);
}

bool recordParseRun(const char *line, unsigned long *run) {
    Fields fields;
    return splitTagged(line, "RUN", 4, &fields) && readNumber(fields, 1, run);
}

bool recordParseItem(const char *line, RecordItem *item) {
    Fields fields;
    if (!split(line, &fields))
        return false;
    bool known = false;
    for (int kind = 0; kind < static_cast<int>(sizeof TAGS / sizeof TAGS[0]); ++kind) {
        if (fields.length[0] == strlen(TAGS[kind]) &&
            memcmp(fields.start[0], TAGS[kind], fields.length[0]) == 0) {
            item->kind = static_cast<RecordItemKind>(kind);
            known = true;
        }
    }
    if (!known || fields.count != fieldCount(item->kind) || !readNumber(fields, 1, &item->run))
        return false;
    if (recordIsFile(item->kind)) {
        if (!readFile(fields, 2, &item->file) || !readText(fields, 4, item->path, PATH_SIZE))
            return false;
        return item->kind != RECORD_FILE_REPLACED ||
               (readText(fields, 5, item->saved, RECORD_SAVED_NAME_SIZE) &&
                readFile(fields, 6, &item->oldFile));
    }
    if (!readText(fields, 2, item->key, REG_KEY_FIELD_SIZE))
        return false;
    if (item->kind == RECORD_KEY_CREATED)
        return true;
    if (!readText(fields, 3, item->name, REG_NAME_FIELD_SIZE) ||
        !readValue(fields, 4, &item->value))
        return false;
    return item->kind != RECORD_VALUE_REPLACED || readValue(fields, 6, &item->oldValue);
}

uint32_t recordCrc32(uint32_t crc, const void *data, size_t size) {
    const unsigned char *bytes = static_cast<const unsigned char *>(data);
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}
