// Bringing the records up to date after a take-back; see undo_plan.h.
//
// A record only grows: a take-back is added at its end (an UNDO line, a
// KEPT line for each item left on the machine, END), and a reader takes
// the last complete one. A take-back cut off before its END counts as
// never written: the next run finds what was done since as it was before,
// and settles it then.

#include <cstring>

#include "common/files.h"
#include "common/say.h"
#include "inf/inf_path.h"
#include "inf/text.h"
#include "infundo/infundo_messages.h"
#include "infundo/undo_plan.h"
#include "infundo/undo_table.h"
#include "platform/platform.h"
#include "record/record_file.h"

namespace {

// True when the entry stays in its record: the record taken back keeps
// what the plan kept; an earlier one keeps what is not settled.
bool isPending(const UndoEntry &entry) {
    const UndoThing &thing = g_undoThings[entry.thing];
    return entry.record == 0 ? thing.verdict == UNDO_KEEP : !thing.settled;
}

bool append(const char *path, const char *text) {
    return platformAppendFile(path, text, strlen(text)) != 0;
}

// Why an item stays, as the record's comment says it.
const char *whyText(UndoReason reason) {
    switch (reason) {
    case UNDO_REASON_CHANGED: return UNDO_REC_WHY_CHANGED;
    case UNDO_REASON_UNREADABLE: return UNDO_REC_WHY_UNREADABLE;
    case UNDO_REASON_OTHER_INF: return UNDO_REC_WHY_OTHER_INF;
    case UNDO_REASON_NO_COPY: return UNDO_REC_WHY_NO_COPY;
    case UNDO_REASON_VALUE:
    case UNDO_REASON_SUBKEY: return UNDO_REC_WHY_NOT_EMPTY;
    case UNDO_REASON_NONE: break;
    }
    return UNDO_REC_WHY_LATER;
}

// One kept item: a comment naming it and why, then its KEPT line, added to
// the record in one write.
bool appendKept(const char *path, const RecordItem &item, UndoReason reason) {
    // The comment (its texts, a path or a key and a value name) takes less
    // than a line: the item's line always fits after it.
    static char text[2 * RECORD_LINE_SIZE]; // large: kept off the stack
    UndoKind kind = undoKindOf(item.kind);
    strcpy(text, kind == UNDO_FILE    ? UNDO_REC_KEPT_FILE
                 : kind == UNDO_VALUE ? UNDO_REC_KEPT_VALUE
                                      : UNDO_REC_KEPT_KEY);
    strcat(text, kind == UNDO_FILE ? item.path : item.key);
    if (kind == UNDO_VALUE) {
        strcat(text, "\\");
        strcat(text, item.name);
    }
    strcat(text, whyText(reason));
    strcat(text, "\r\n");
    strcat(text, RECORD_KEPT_TAG);
    return recordFormatItem(item, text + strlen(text)) && append(path, text);
}

bool startTakeBack(const char *path) {
    char line[32]; // "UNDO\tYYYY-MM-DD hh:mm:ss\r\n"
    strcpy(line, RECORD_UNDO_TAG);
    strcat(line, "\t");
    recordNow(line + strlen(line));
    strcat(line, "\r\n");
    return append(path, line);
}

// Deletes a record and the copies saved beside it ("1A2B3C4D.*"), then
// its folder when nothing else is left in it.
void deleteRecord(const char *path) {
    char folder[PATH_SIZE];
    char pattern[PATH_SIZE];
    char name[PATH_SIZE];
    char copy[PATH_SIZE];
    infDirectoryOf(path, folder);
    size_t nameAt = strlen(folder);
    strcpy(pattern, path);
    char *dot = strrchr(pattern + nameAt, '.');
    if (dot)
        strcpy(dot, ".*");
    bool directory = false;
    PlatformSearch *search = platformFindFirstFile(pattern, name, &directory);
    for (bool found = search != nullptr; found;
         found = platformFindNextFile(search, name, &directory) != 0) {
        if (!directory && composePath(copy, folder, name) && !equalsIgnoreCase(copy, path)) {
            clearReadOnly(copy);
            platformDeleteFile(copy);
        }
    }
    if (search)
        platformFindClose(search);
    clearReadOnly(path);
    if (platformDeleteFile(path) == PLATFORM_DELETED)
        say(UNDO_MSG_RECORD_DELETED, path);
    else
        say(UNDO_MSG_RECORD_NOT_UPDATED, path);
    folder[nameAt > 0 ? nameAt - 1 : 0] = '\0';
    platformRemoveDirectory(folder); // only when empty
}

// The record taken back: its kept entries as a new take-back, or gone.
bool settleOwn() {
    const char *path = g_undoRecords[0].path;
    bool kept = false;
    for (int i = 0; i < g_undoEntryCount; ++i)
        kept |= g_undoEntries[i].record == 0 && isPending(g_undoEntries[i]);
    if (!kept) {
        deleteRecord(path);
        return true;
    }
    bool written = startTakeBack(path);
    for (int i = 0; written && i < g_undoEntryCount; ++i) {
        const UndoEntry &entry = g_undoEntries[i];
        if (entry.record == 0 && isPending(entry))
            written = appendKept(path, entry.item, g_undoThings[entry.thing].reason);
    }
    if (written && append(path, RECORD_END_LINE)) {
        say(UNDO_MSG_RECORD_KEPT, path);
        return true;
    }
    say(UNDO_MSG_RECORD_NOT_UPDATED, path);
    return false;
}

// The table's entry for an item of an earlier record, or null.
const UndoEntry *entryOf(const RecordItem &item, int record) {
    for (int i = 0; i < g_undoEntryCount; ++i) {
        const UndoEntry &entry = g_undoEntries[i];
        if (entry.record == record && entry.item.run == item.run && entry.item.kind == item.kind &&
            undoSameThing(entry.item, item))
            return &entry;
    }
    return nullptr;
}

// Whether an earlier record keeps an item: one the tables do not hold, or
// one whose thing is not settled.
struct LeftScan {
    int record;
    bool left;
};

void scanLeft(const RecordItem &item, void *context) {
    LeftScan *scan = static_cast<LeftScan *>(context);
    const UndoEntry *entry = entryOf(item, scan->record);
    scan->left |= !entry || isPending(*entry);
}

// An earlier record some of whose items this run settled: its items but
// those, read from it once more; those it keeps one at a time, since it
// cannot be written while it is read.
bool settleEarlier(int record) {
    const char *path = g_undoRecords[record].path;
    RecordSummary summary;
    LeftScan scan = {record, false};
    if (!recordReadSummary(path, &summary) || !recordReadItems(path, summary, scanLeft, &scan)) {
        say(UNDO_MSG_RECORD_NOT_UPDATED, path);
        return false;
    }
    if (!scan.left) {
        deleteRecord(path);
        return true;
    }
    static RecordItem item; // large: kept off the stack
    RecordItemAt read = RECORD_ITEM_READ;
    bool written = startTakeBack(path);
    for (int index = 0;
         written && (read = recordReadItemAt(path, index, &item)) == RECORD_ITEM_READ; ++index) {
        const UndoEntry *entry = entryOf(item, record);
        if (!entry || isPending(*entry))
            written = appendKept(path, item,
                                 entry ? g_undoThings[entry->thing].reason : UNDO_REASON_NONE);
    }
    if (written && read == RECORD_ITEM_PAST_LAST && append(path, RECORD_END_LINE))
        return true;
    say(UNDO_MSG_RECORD_NOT_UPDATED, path);
    return false;
}

} // namespace

bool undoSettleRecords() {
    bool settled = true;
    if (!undoOverflowed())
        settled = settleOwn();
    for (int record = 1; record < g_undoRecordCount; ++record) {
        bool touched = false;
        for (int i = 0; i < g_undoEntryCount; ++i) {
            const UndoEntry &entry = g_undoEntries[i];
            touched |= entry.record == record && g_undoThings[entry.thing].settled;
        }
        if (touched && !settleEarlier(record))
            settled = false;
    }
    return settled;
}
