// The installation records on the disk; see record_file.h.

#include "record/record_file.h"

#include <cstring>

#include "inf/text.h"
#include "platform/platform.h"

const char RECORD_EXTENSION[] = ".REC";

namespace {

const char FOLDER_NAME[] = "INFINST";

// Reads a file line by line, a buffer at a time.
struct LineReader {
    PlatformFile *file;
    char buffer[512];
    size_t length;
    size_t at;
};

enum LineRead { LINE_READ, LINE_END, LINE_FAILED };

// The next line without its line end into a RECORD_LINE_SIZE buffer. A
// line too long for it fails the reading: the file is no record this
// program wrote.
LineRead readLine(LineReader *reader, char *line) {
    size_t length = 0;
    for (;;) {
        if (reader->at == reader->length) {
            size_t got = platformReadFile(reader->file, reader->buffer, sizeof reader->buffer);
            if (got == PLATFORM_READ_FAILED)
                return LINE_FAILED;
            if (got == 0)
                return LINE_END; // a last line without its line end was cut off
            reader->length = got;
            reader->at = 0;
        }
        char c = reader->buffer[reader->at++];
        if (c == '\n') {
            if (length > 0 && line[length - 1] == '\r')
                --length;
            line[length] = '\0';
            return LINE_READ;
        }
        if (length + 1 >= RECORD_LINE_SIZE)
            return LINE_FAILED;
        line[length++] = c;
    }
}

bool startsWith(const char *text, const char *prefix) {
    return strncmp(text, prefix, strlen(prefix)) == 0;
}

bool isUndoLine(const char *line) {
    return startsWith(line, RECORD_UNDO_TAG) && line[strlen(RECORD_UNDO_TAG)] == '\t';
}

bool isEndLine(const char *line) {
    return strcmp(line, RECORD_END_TAG) == 0;
}

// One pass over a record: each line after its INF line is handed to
// `each` with its number (the INF line's is 1, comments are not counted).
// False when the file cannot be read or its INF line is missing.
bool readRecord(const char *path, RecordSummary *summary,
                void (*each)(const char *line, unsigned long number, void *context),
                void *context) {
    PlatformFile *file = platformOpenFile(path);
    if (!file)
        return false;
    LineReader reader = {file, {}, 0, 0};
    static char line[RECORD_LINE_SIZE]; // large: kept off the stack
    unsigned long number = 0;
    LineRead read;
    while ((read = readLine(&reader, line)) == LINE_READ) {
        if (line[0] == ';')
            continue;
        if (++number == 1) {
            if (!recordParseInf(line, &summary->inf, summary->infPath))
                break;
            continue;
        }
        each(line, number, context);
    }
    platformCloseFile(file);
    return read == LINE_END && number > 0;
}

// The summary's own pass: the last complete take-back and the runs.
struct SummaryPass {
    RecordSummary *summary;
    unsigned long undoLine; // an UNDO line not yet ended, or 0
};

void summariseLine(const char *line, unsigned long number, void *context) {
    SummaryPass *pass = static_cast<SummaryPass *>(context);
    unsigned long run;
    if (recordParseRun(line, &run)) {
        if (run > pass->summary->lastRun)
            pass->summary->lastRun = run;
        pass->summary->live = true;
    } else if (isUndoLine(line)) {
        pass->undoLine = number;
    } else if (isEndLine(line) && pass->undoLine != 0) {
        pass->summary->pendingLine = pass->undoLine;
        pass->summary->live = false;
        pass->undoLine = 0;
    }
}

struct ItemsPass {
    unsigned long from;
    bool inUndo;
    void (*each)(const RecordItem &item, void *context);
    void *context;
};

// Pending: a KEPT line of the last complete take-back, or an item line
// after it. An item of an unfinished take-back's KEPT lines is already
// counted where it was first written.
void itemLine(const char *line, unsigned long number, void *context) {
    ItemsPass *pass = static_cast<ItemsPass *>(context);
    if (number < pass->from)
        return;
    if (number == pass->from && isUndoLine(line)) {
        pass->inUndo = true;
        return;
    }
    if (pass->inUndo && isEndLine(line)) {
        pass->inUndo = false;
        return;
    }
    bool kept = startsWith(line, RECORD_KEPT_TAG);
    if (kept != pass->inUndo)
        return;
    static RecordItem item; // large: kept off the stack
    if (recordParseItem(kept ? line + strlen(RECORD_KEPT_TAG) : line, &item))
        pass->each(item, pass->context);
}

void writeHex8(char *text, unsigned long number) {
    static const char HEX[] = "0123456789ABCDEF";
    for (int i = 7; i >= 0; --i, number >>= 4)
        text[i] = HEX[number & 0xF];
    text[8] = '\0';
}

} // namespace

bool recordFolder(char *folder) {
    char windows[PATH_SIZE];
    unsigned long length = platformGetWindowsDirectory(windows, PATH_SIZE);
    if (length == 0 || length >= PATH_SIZE)
        return false;
    char separator[2] = {platformPathSeparator(), '\0'};
    char named[PATH_SIZE];
    const char *last = textLastSeparator(windows);
    bool separated = last && last[1] == '\0'; // a drive's root
    return composePath(named, windows, separated ? "" : separator) &&
           composePath(folder, named, FOLDER_NAME) && composePath(named, folder, separator) &&
           composePath(folder, named, "");
}

bool recordFileOf(const char *path, RecordFile *file) {
    PlatformFile *open = platformOpenFile(path);
    if (!open)
        return false;
    unsigned char buffer[512];
    file->size = 0;
    file->crc = 0;
    size_t got;
    while ((got = platformReadFile(open, buffer, sizeof buffer)) != 0 &&
           got != PLATFORM_READ_FAILED) {
        file->size += static_cast<unsigned long>(got);
        file->crc = recordCrc32(file->crc, buffer, got);
    }
    platformCloseFile(open);
    return got == 0;
}

bool recordReadSummary(const char *path, RecordSummary *summary) {
    memset(summary, 0, sizeof *summary);
    summary->live = true;
    SummaryPass pass = {summary, 0};
    return readRecord(path, summary, summariseLine, &pass);
}

bool recordReadItems(const char *path, const RecordSummary &summary,
                     void (*each)(const RecordItem &item, void *context), void *context) {
    RecordSummary head; // the INF line, read once more
    ItemsPass pass = {summary.pendingLine, false, each, context};
    return readRecord(path, &head, itemLine, &pass);
}

namespace {

struct ItemAt {
    int index;
    RecordItem *item;
    bool found;
};

void takeItemAt(const RecordItem &item, void *context) {
    ItemAt *at = static_cast<ItemAt *>(context);
    if (at->index-- == 0) {
        *at->item = item;
        at->found = true;
    }
}

} // namespace

RecordItemAt recordReadItemAt(const char *path, int index, RecordItem *item) {
    RecordSummary summary;
    ItemAt at = {index, item, false};
    if (!recordReadSummary(path, &summary) || !recordReadItems(path, summary, takeItemAt, &at))
        return RECORD_ITEM_FAILED;
    return at.found ? RECORD_ITEM_READ : RECORD_ITEM_PAST_LAST;
}

bool recordPathOf(const char *folder, const RecordFile &inf, char *path, bool *exists) {
    for (int i = 0; i < RECORD_NAME_TRIES; ++i) {
        char name[16];
        uint32_t crc = inf.crc + static_cast<uint32_t>(i);
        writeHex8(name, crc);
        strcat(name, RECORD_EXTENSION);
        if (!composePath(path, folder, name))
            return false;
        *exists = platformGetFileAttributes(path) != PLATFORM_NO_ATTRIBUTES;
        // A record that cannot be read is taken as this one's: it is said
        // so where it is read, never passed over for a newer one.
        RecordSummary summary;
        if (!*exists || !recordReadSummary(path, &summary) ||
            (summary.inf.size == inf.size && summary.inf.crc == inf.crc))
            return true;
    }
    return false;
}

unsigned long recordLastRun(const char *folder) {
    char pattern[PATH_SIZE];
    char name[PATH_SIZE];
    char path[PATH_SIZE];
    bool directory = false;
    unsigned long last = 0;
    if (!composePath(pattern, folder, "*") || !composePath(name, pattern, RECORD_EXTENSION))
        return 0;
    PlatformSearch *search = platformFindFirstFile(name, name, &directory);
    for (bool found = search != nullptr; found;
         found = platformFindNextFile(search, name, &directory) != 0) {
        RecordSummary summary;
        if (!directory && composePath(path, folder, name) && recordReadSummary(path, &summary) &&
            summary.lastRun > last)
            last = summary.lastRun;
    }
    if (search)
        platformFindClose(search);
    return last;
}

void recordNow(char *date) {
    PlatformTime now;
    platformGetLocalTime(&now);
    const unsigned parts[] = {now.year, now.month, now.day, now.hour, now.minute, now.second};
    const char after[] = "-- ::";
    char *at = date;
    for (int i = 0; i < 6; ++i) {
        unsigned part = parts[i];
        for (unsigned scale = i == 0 ? 1000 : 10; scale > 0; scale /= 10)
            *at++ = static_cast<char>('0' + part / scale % 10);
        if (i < 5)
            *at++ = after[i];
    }
    *at = '\0';
}
