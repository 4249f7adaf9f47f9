// The installer's record of the INF file it installs; see record.h.

#include "record/record.h"

#include <cstring>

#include "common/files.h"
#include "inf/text.h"
#include "platform/platform.h"
#include "record/record_file.h"
#include "record/record_messages.h"

namespace {

// The numbers a saved copy's extension may take ("1A2B3C4D.001").
const int LAST_SAVED_NUMBER = 999;

struct Record {
    char folder[PATH_SIZE];
    char path[PATH_SIZE];
    char infPath[PATH_SIZE]; // full
    RecordFile inf;
    unsigned long run;
    bool existed;    // before this run
    bool started;    // this run wrote its RUN line
    bool madeFile;   // this run began the record's file, whole or not
    bool madeFolder; // this run made the folder
    bool changed;    // this run changed the machine
    int firstSaved;  // the copies this run saved: numbers first to last
    int lastSaved;
    size_t pendingLength; // of `pending`
};

Record g_record;
char g_pending[RECORD_PENDING_SIZE]; // lines of found items before the first change

bool append(const char *line) {
    return platformAppendFile(g_record.path, line, strlen(line)) != 0;
}

bool makeFolder() {
    if (platformGetFileAttributes(g_record.folder) != PLATFORM_NO_ATTRIBUTES)
        return true;
    if (!platformMakeDirectory(g_record.folder))
        return false;
    g_record.madeFolder = true;
    return true;
}

// The head of a new record, then this run's RUN line.
bool start() {
    if (!makeFolder())
        return false;
    static char line[RECORD_LINE_SIZE]; // large: kept off the stack
    char date[20];
    recordNow(date);
    g_record.madeFile = !g_record.existed;
    if (!g_record.existed &&
        !(append(RECORD_MSG_HEAD) && recordFormatInf(g_record.inf, g_record.infPath, line) &&
          append(line)))
        return false;
    if (!recordFormatRun(g_record.run, date, g_record.infPath, line) || !append(line))
        return false;
    g_record.started = true;
    return true;
}

// The name of saved copy `number`: the record's own name, that number as
// its extension.
void savedName(int number, char *saved) {
    memcpy(saved, g_record.path + strlen(g_record.folder), 8);
    saved[8] = '.';
    saved[9] = static_cast<char>('0' + number / 100);
    saved[10] = static_cast<char>('0' + number / 10 % 10);
    saved[11] = static_cast<char>('0' + number % 10);
    saved[12] = '\0';
}

} // namespace

void recordReset() {
    memset(&g_record, 0, sizeof g_record);
}

const char *recordPath() {
    return g_record.path;
}

RecordPrepared recordPrepare(const char *infPath) {
    recordReset();
    if (!recordFileOf(infPath, &g_record.inf))
        return RECORD_INF_UNREADABLE;
    if (!platformGetFullPath(infPath, g_record.infPath))
        strcpy(g_record.infPath, infPath);
    if (!recordFolder(g_record.folder) ||
        !recordPathOf(g_record.folder, g_record.inf, g_record.path, &g_record.existed))
        return RECORD_UNAVAILABLE;
    g_record.run = recordLastRun(g_record.folder) + 1;
    return RECORD_READY;
}

bool recordNote(RecordItem *item) {
    item->run = g_record.run;
    static char line[RECORD_LINE_SIZE]; // large: kept off the stack
    if (!recordFormatItem(*item, line))
        return false;
    size_t length = strlen(line);
    if (!g_record.started && recordIsFound(item->kind) &&
        g_record.pendingLength + length < sizeof g_pending) {
        memcpy(g_pending + g_record.pendingLength, line, length + 1);
        g_record.pendingLength += length;
        return true;
    }
    if (!g_record.started && !(start() && (g_record.pendingLength == 0 || append(g_pending))))
        return false;
    g_record.pendingLength = 0;
    return append(line);
}

bool recordSaveCopy(const char *path, char *saved) {
    if (!makeFolder())
        return false;
    for (int number = g_record.lastSaved + 1; number <= LAST_SAVED_NUMBER; ++number) {
        savedName(number, saved);
        char copy[PATH_SIZE];
        if (!composePath(copy, g_record.folder, saved))
            return false;
        if (platformGetFileAttributes(copy) != PLATFORM_NO_ATTRIBUTES)
            continue;
        if (!platformCopyNewFile(path, copy))
            return false;
        if (g_record.firstSaved == 0)
            g_record.firstSaved = number;
        g_record.lastSaved = number;
        clearReadOnly(copy);
        if (platformFlushFile(copy))
            return true;
        recordDropCopy(saved);
        return false;
    }
    return false;
}

void recordDropCopy(const char *saved) {
    char copy[PATH_SIZE];
    if (composePath(copy, g_record.folder, saved)) {
        clearReadOnly(copy);
        platformDeleteFile(copy);
    }
}

void recordMarkChanged() {
    g_record.changed = true;
}

bool recordFinish() {
    bool needed = g_record.existed || g_record.changed;
    if (g_record.madeFile && !needed)
        platformDeleteFile(g_record.path);
    for (int number = g_record.firstSaved; !needed && number > 0 && number <= g_record.lastSaved;
         ++number) {
        char saved[RECORD_SAVED_NAME_SIZE];
        savedName(number, saved);
        recordDropCopy(saved);
    }
    if (g_record.madeFolder && !needed)
        platformRemoveDirectory(g_record.folder); // only when empty
    return g_record.started && g_record.changed;
}
