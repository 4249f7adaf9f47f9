// Reading the records into the uninstaller's tables; see undo_plan.h.
//
// The record taken back gives the things to look at. The other records of
// its folder are read once each: a live one only says which of those
// things it names too; one taken back before gives its items about the
// same things, and the keys it made above them, so that the history of
// each thing is whole.

#include <cstring>

#include "common/say.h"
#include "inf/inf_path.h"
#include "inf/text.h"
#include "infundo/infundo_messages.h"
#include "infundo/undo_plan.h"
#include "infundo/undo_table.h"
#include "platform/platform.h"
#include "record/record_file.h"

namespace {

bool g_overflow = false; // an item of the record taken back did not fit

// The thing `item` is about, or -1.
int findThing(const RecordItem &item) {
    for (int i = 0; i < g_undoThingCount; ++i) {
        if (undoSameThing(*g_undoThings[i].named, item))
            return i;
    }
    return -1;
}

// Adds the item as an entry of `record`, about a thing known or new.
bool addEntry(const RecordItem &item, int record) {
    if (g_undoEntryCount == UNDO_ENTRY_CAPACITY)
        return false;
    UndoEntry &entry = g_undoEntries[g_undoEntryCount];
    entry.item = item;
    entry.record = record;
    entry.thing = findThing(item);
    if (entry.thing < 0) {
        entry.thing = g_undoThingCount++;
        UndoThing &thing = g_undoThings[entry.thing];
        memset(&thing, 0, sizeof thing);
        thing.kind = undoKindOf(item.kind);
        thing.named = &entry.item;
        thing.namedBy = -1;
    }
    UndoThing &thing = g_undoThings[entry.thing];
    if (record != 0)
        thing.earlierHistory = true;
    else if (!recordIsFound(item.kind))
        thing.changedByRecord = true;
    ++g_undoEntryCount;
    return true;
}

void ownItem(const RecordItem &item, void *context) {
    UndoCount *count = static_cast<UndoCount *>(context);
    if (g_overflow)
        return;
    if (!addEntry(item, 0)) {
        g_overflow = true;
        say(UNDO_MSG_TOO_MANY_ITEMS);
        ++count->kept;
    }
}

// True when the key made by an earlier installation lies at or above a
// key that a thing of the record taken back is in.
bool isAboveOwnThing(const char *key) {
    for (int i = 0; i < g_undoEntryCount; ++i) {
        const UndoEntry &entry = g_undoEntries[i];
        if (entry.record == 0 && undoKindOf(entry.item.kind) != UNDO_FILE &&
            undoIsAtOrBelow(entry.item.key, key))
            return true;
    }
    return false;
}

void liveItem(const RecordItem &item, void *context) {
    int record = *static_cast<int *>(context);
    int thing = findThing(item);
    if (thing >= 0 && g_undoThings[thing].namedBy < 0)
        g_undoThings[thing].namedBy = record;
}

void takenBackItem(const RecordItem &item, void *context) {
    int record = *static_cast<int *>(context);
    // What does not fit stays in that record, as it was.
    if (findThing(item) >= 0 || (item.kind == RECORD_KEY_CREATED && isAboveOwnThing(item.key)))
        addEntry(item, record);
}

// Reads one other record of the folder.
void readOther(const char *path) {
    if (g_undoRecordCount == UNDO_RECORD_CAPACITY) {
        say(UNDO_MSG_OTHER_RECORD_SKIPPED, path);
        return;
    }
    UndoRecord &other = g_undoRecords[g_undoRecordCount];
    RecordSummary summary;
    if (!recordReadSummary(path, &summary)) {
        say(UNDO_MSG_OTHER_RECORD_SKIPPED, path);
        return;
    }
    strcpy(other.path, path);
    strcpy(other.infPath, summary.infPath);
    other.live = summary.live;
    int record = g_undoRecordCount++;
    if (!recordReadItems(path, summary, other.live ? liveItem : takenBackItem, &record))
        say(UNDO_MSG_OTHER_RECORD_SKIPPED, path);
}

void readOthers(const char *recordPath) {
    char folder[PATH_SIZE];
    char pattern[PATH_SIZE];
    char name[PATH_SIZE];
    char path[PATH_SIZE];
    infDirectoryOf(recordPath, folder);
    if (!composePath(name, folder, "*") || !composePath(pattern, name, RECORD_EXTENSION))
        return;
    bool directory = false;
    PlatformSearch *search = platformFindFirstFile(pattern, name, &directory);
    for (bool found = search != nullptr; found;
         found = platformFindNextFile(search, name, &directory) != 0) {
        if (!directory && composePath(path, folder, name) && !equalsIgnoreCase(path, recordPath) &&
            !platformSameFile(path, recordPath))
            readOther(path);
    }
    if (search)
        platformFindClose(search);
}

} // namespace

void undoResetTables() {
    g_undoRecordCount = 0;
    g_undoEntryCount = 0;
    g_undoThingCount = 0;
    g_overflow = false;
}

bool undoOverflowed() {
    return g_overflow;
}

UndoCollected undoCollect(const char *recordPath, UndoCount *count) {
    undoResetTables();
    UndoRecord &own = g_undoRecords[0];
    RecordSummary summary;
    if (platformGetFileAttributes(recordPath) == PLATFORM_NO_ATTRIBUTES)
        return UNDO_NO_RECORD;
    if (!recordReadSummary(recordPath, &summary))
        return UNDO_RECORD_UNREADABLE;
    strcpy(own.path, recordPath);
    strcpy(own.infPath, summary.infPath);
    own.live = summary.live;
    g_undoRecordCount = 1;
    if (!recordReadItems(recordPath, summary, ownItem, count))
        return UNDO_RECORD_UNREADABLE;
    readOthers(recordPath);
    for (int i = 0; i < g_undoThingCount; ++i)
        undoSetHistory(&g_undoThings[i]);
    return UNDO_COLLECTED;
}
