// The uninstaller's tables; see undo_table.h.

#include "infundo/undo_table.h"

#include <cstring>

#include "common/say.h"
#include "inf/text.h"
#include "infundo/infundo_messages.h"

UndoRecord g_undoRecords[UNDO_RECORD_CAPACITY];
int g_undoRecordCount = 0;
UndoEntry g_undoEntries[UNDO_ENTRY_CAPACITY];
int g_undoEntryCount = 0;
UndoThing g_undoThings[UNDO_ENTRY_CAPACITY];
int g_undoThingCount = 0;

UndoKind undoKindOf(RecordItemKind kind) {
    if (recordIsFile(kind))
        return UNDO_FILE;
    return recordIsValue(kind) ? UNDO_VALUE : UNDO_KEY;
}

bool undoSameThing(const RecordItem &a, const RecordItem &b) {
    UndoKind kind = undoKindOf(a.kind);
    if (kind != undoKindOf(b.kind))
        return false;
    if (kind == UNDO_FILE)
        return equalsIgnoreCase(a.path, b.path);
    return equalsIgnoreCase(a.key, b.key) && (kind == UNDO_KEY || equalsIgnoreCase(a.name, b.name));
}

bool undoIsAtOrBelow(const char *key, const char *above) {
    size_t length = strlen(above);
    return startsWithIgnoreCase(key, above) && (key[length] == '\0' || key[length] == '\\');
}

// True when `later` found what `earlier` left: the two are one history.
static bool follows(const RecordItem &earlier, const RecordItem &later) {
    if (recordIsFile(earlier.kind))
        return undoSameFile(undoFileAfter(earlier), undoFileBefore(later));
    if (recordIsValue(earlier.kind))
        return undoSameValue(undoValueAfter(earlier), undoValueBefore(later));
    return true;
}

// True for a file found but not read: an entry that says nothing of what
// was there.
static bool saysNothing(const RecordItem &item) {
    return recordIsFound(item.kind) && recordIsFile(item.kind) &&
           item.file.size == RECORD_SIZE_UNREAD;
}

// True when the entry's copy failed: the next entry about its file in its
// record is the FILE-NOT-COPIED line that says so.
static bool isVoided(int entry) {
    const UndoEntry &noted = g_undoEntries[entry];
    for (int i = entry + 1; i < g_undoEntryCount; ++i) {
        const UndoEntry &next = g_undoEntries[i];
        if (next.thing == noted.thing && next.record == noted.record)
            return next.item.kind == RECORD_FILE_NOT_COPIED && next.item.run == noted.item.run;
    }
    return false;
}

// The entries about the thing by run number (in the order read within a
// run); then, from the last, back as far as each earlier entry left what
// the next one found. An entry whose change was noted but never made (the
// copy or the write failed) is left out so: what the next one found is
// what was really there; so is one whose copy the record says failed.
// Entries that say nothing are passed over, and so
// are found files and values that do not fit: finding changes nothing.
// No history (-1) when no entry says anything.
void undoSetHistory(UndoThing *thing) {
    int index = static_cast<int>(thing - g_undoThings);
    static int order[UNDO_ENTRY_CAPACITY];
    int count = 0;
    for (int i = 0; i < g_undoEntryCount; ++i) {
        if (g_undoEntries[i].thing != index || saysNothing(g_undoEntries[i].item) || isVoided(i))
            continue;
        int at = count++;
        while (at > 0 && g_undoEntries[order[at - 1]].item.run > g_undoEntries[i].item.run) {
            order[at] = order[at - 1];
            --at;
        }
        order[at] = i;
    }
    thing->last = count > 0 ? order[count - 1] : -1;
    thing->first = thing->last;
    thing->saved = -1;
    for (int at = count - 2; at >= 0; --at) {
        const RecordItem &earlier = g_undoEntries[order[at]].item;
        if (follows(earlier, g_undoEntries[thing->first].item)) {
            thing->first = order[at];
            if (earlier.kind == RECORD_FILE_REPLACED)
                thing->saved = order[at];
        } else if (!recordIsFound(earlier.kind)) {
            break;
        }
    }
    if (thing->last >= 0 && g_undoEntries[thing->last].item.kind == RECORD_FILE_REPLACED &&
        thing->saved < 0)
        thing->saved = thing->last;
}

UndoFileState undoFileBefore(const RecordItem &first) {
    switch (first.kind) {
    case RECORD_FILE_REPLACED: return UndoFileState{true, first.oldFile};
    case RECORD_FILE_FOUND:
    case RECORD_FILE_NOT_COPIED: return UndoFileState{true, first.file};
    default: return UndoFileState{false, RecordFile{0, 0}};
    }
}

UndoFileState undoFileAfter(const RecordItem &last) {
    return UndoFileState{true, last.file};
}

UndoValueState undoValueBefore(const RecordItem &first) {
    switch (first.kind) {
    case RECORD_VALUE_REPLACED: return UndoValueState{true, &first.oldValue};
    case RECORD_VALUE_FOUND: return UndoValueState{true, &first.value};
    default: return UndoValueState{false, nullptr};
    }
}

UndoValueState undoValueAfter(const RecordItem &last) {
    return UndoValueState{true, &last.value};
}

bool undoSameFile(const UndoFileState &a, const UndoFileState &b) {
    return a.present == b.present &&
           (!a.present || (a.file.size == b.file.size && a.file.crc == b.file.crc));
}

bool undoSameValue(const UndoValueState &a, const UndoValueState &b) {
    return a.present == b.present &&
           (!a.present || (a.value->type == b.value->type && a.value->size == b.value->size &&
                           memcmp(a.value->bytes, b.value->bytes, a.value->size) == 0));
}

bool undoJudgeByRecords(UndoThing *thing) {
    thing->verdict = UNDO_NOTHING;
    thing->reason = UNDO_REASON_NONE;
    thing->settled = false;
    if (thing->last < 0 ||
        (!thing->changedByRecord && (!thing->earlierHistory || thing->namedBy >= 0)))
        return false;
    if (thing->namedBy >= 0) {
        thing->verdict = UNDO_KEEP;
        thing->reason = UNDO_REASON_OTHER_INF;
        return false;
    }
    return true;
}

void undoSayReason(const UndoThing &thing) {
    switch (thing.reason) {
    case UNDO_REASON_NONE: break;
    case UNDO_REASON_CHANGED: say(UNDO_MSG_REASON_CHANGED); break;
    case UNDO_REASON_UNREADABLE: say(UNDO_MSG_REASON_UNREADABLE); break;
    case UNDO_REASON_OTHER_INF:
        say(UNDO_MSG_REASON_OTHER_INF, g_undoRecords[thing.namedBy].infPath);
        break;
    case UNDO_REASON_NO_COPY: say(UNDO_MSG_REASON_NO_COPY); break;
    case UNDO_REASON_VALUE: say(UNDO_MSG_REASON_VALUE, thing.holder); break;
    case UNDO_REASON_SUBKEY: say(UNDO_MSG_REASON_SUBKEY, thing.holder); break;
    }
}

void undoSayPlan(const UndoThing &thing, UndoCount *count) {
    bool isFile = thing.kind == UNDO_FILE;
    bool isValue = thing.kind == UNDO_VALUE;
    const char *named = isFile ? thing.named->path : thing.named->key;
    const char *name = thing.named->name;
    switch (thing.verdict) {
    case UNDO_NOTHING: return;
    case UNDO_REMOVE:
        if (isValue)
            say(UNDO_MSG_PLAN_VALUE, named, name);
        else
            say(isFile ? UNDO_MSG_PLAN_FILE : UNDO_MSG_PLAN_KEY, named);
        break;
    case UNDO_RESTORE:
        if (isValue)
            say(UNDO_MSG_PLAN_RESTORE_VALUE, named, name);
        else
            say(UNDO_MSG_PLAN_RESTORE_FILE, named);
        break;
    case UNDO_KEEP:
        if (isValue)
            say(UNDO_MSG_KEEP_VALUE, named, name);
        else
            say(isFile ? UNDO_MSG_KEEP_FILE : UNDO_MSG_KEEP_KEY, named);
        undoSayReason(thing);
        ++count->kept;
        return;
    }
    ++count->toRemove;
}

void undoPlanThings(UndoKind kind, void (*judge)(UndoThing *thing), UndoCount *count) {
    for (int i = 0; i < g_undoThingCount; ++i) {
        UndoThing &thing = g_undoThings[i];
        if (thing.kind != kind)
            continue;
        judge(&thing);
        undoSayPlan(thing, count);
    }
}

void undoCarryOutThings(UndoKind kind, void (*judge)(UndoThing *thing),
                        bool (*carryOut)(const UndoThing &thing),
                        void (*sayNotDone)(const UndoThing &thing, UndoVerdict planned),
                        UndoCount *count) {
    for (int i = 0; i < g_undoThingCount; ++i) {
        UndoThing &thing = g_undoThings[i];
        if (thing.kind != kind || (thing.verdict != UNDO_REMOVE && thing.verdict != UNDO_RESTORE))
            continue;
        UndoVerdict planned = thing.verdict;
        judge(&thing);
        if (thing.verdict == UNDO_NOTHING)
            continue;
        thing.settled = thing.verdict == planned && carryOut(thing);
        if (thing.settled)
            continue;
        sayNotDone(thing, planned);
        if (thing.verdict != planned)
            undoSayReason(thing);
        thing.verdict = UNDO_KEEP;
        ++count->kept;
    }
}
