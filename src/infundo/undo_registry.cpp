// The registry values and keys the uninstaller takes back; see
// undo_plan.h. Keys are looked at deepest first, so that a parent is
// judged after the keys below it that go before it.

#include <cstring>

#include "common/say.h"
#include "inf/names.h"
#include "inf/text.h"
#include "infundo/infundo_messages.h"
#include "infundo/undo_plan.h"
#include "infundo/undo_table.h"
#include "platform/platform.h"

namespace {

// The value as the machine holds it now; false when it cannot be read.
bool readValue(const RecordItem &named, UndoValueState *now, RecordValue *value) {
    now->present = false;
    now->value = value;
    PlatformRegKey *handle = platformRegOpenKey(named.key);
    if (!handle)
        return platformRegProbeKey(named.key) == PLATFORM_KEY_NOT_FOUND;
    value->size = sizeof value->bytes;
    PlatformValueQuery query =
        platformRegQueryValue(handle, named.name, &value->type, value->bytes, &value->size);
    platformRegCloseKey(handle);
    if (query == PLATFORM_VALUE_TOO_LARGE) {
        value->type = 0; // larger than anything written: compares as changed
        value->size = 0;
        now->present = true;
        return true;
    }
    now->present = query == PLATFORM_VALUE_READ;
    return query != PLATFORM_VALUE_FAILED;
}

void judgeValue(UndoThing *thing) {
    if (!undoJudgeByRecords(thing))
        return;
    static RecordValue current; // large: kept off the stack
    UndoValueState now;
    if (!readValue(*thing->named, &now, &current)) {
        thing->verdict = UNDO_KEEP;
        thing->reason = UNDO_REASON_UNREADABLE;
        return;
    }
    UndoValueState before = undoValueBefore(g_undoEntries[thing->first].item);
    if (undoSameValue(now, before)) {
        thing->settled = true;
        return;
    }
    if (!undoSameValue(now, undoValueAfter(g_undoEntries[thing->last].item))) {
        thing->verdict = UNDO_KEEP;
        thing->reason = UNDO_REASON_CHANGED;
        return;
    }
    thing->verdict = before.present ? UNDO_RESTORE : UNDO_REMOVE;
}

bool restoreValue(const UndoThing &thing) {
    const RecordValue &old = *undoValueBefore(g_undoEntries[thing.first].item).value;
    PlatformRegKey *handle = platformRegCreateKey(thing.named->key);
    if (!handle)
        return false;
    bool written =
        platformRegSetValue(handle, thing.named->name, old.type, old.bytes, old.size) != 0;
    platformRegCloseKey(handle);
    return written;
}

// For undoCarryOutThings: the value removed or put back as planned, and
// what could not be done said.
bool carryOutValue(const UndoThing &thing) {
    const char *key = thing.named->key;
    const char *name = thing.named->name;
    bool removing = thing.verdict == UNDO_REMOVE;
    if (!(removing ? platformRegDeleteValue(key, name) != 0 : restoreValue(thing)))
        return false;
    say(removing ? UNDO_MSG_VALUE_DELETED : UNDO_MSG_VALUE_RESTORED, key, name);
    return true;
}

void sayValueNotDone(const UndoThing &thing, UndoVerdict planned) {
    say(planned == UNDO_REMOVE ? UNDO_MSG_VALUE_NOT_DELETED : UNDO_MSG_VALUE_NOT_RESTORED,
        thing.named->key, thing.named->name);
}

// Separators after the services key: 0 for a service's own key.
int depthOf(const char *key) {
    int depth = 0;
    for (const char *at = key + SERVICES_KEY_PREFIX_LENGTH; *at; at = textNextChar(at))
        depth += *at == '\\';
    return depth;
}

// A thing of the plan at or below `key`, or null.
const UndoThing *plannedAtOrBelow(const char *key, bool (*wanted)(const UndoThing &)) {
    for (int i = 0; i < g_undoThingCount; ++i) {
        if (g_undoThings[i].kind != UNDO_FILE && undoIsAtOrBelow(g_undoThings[i].named->key, key) &&
            wanted(g_undoThings[i]))
            return &g_undoThings[i];
    }
    return nullptr;
}

bool goes(const UndoThing &thing) {
    return thing.verdict == UNDO_REMOVE || (thing.verdict == UNDO_NOTHING && thing.settled);
}

bool stays(const UndoThing &thing) {
    return thing.verdict == UNDO_KEEP || thing.verdict == UNDO_RESTORE;
}

// The thing a value or key of the plan is, or null.
const UndoThing *findPlanned(UndoKind kind, const char *key, const char *name) {
    for (int i = 0; i < g_undoThingCount; ++i) {
        const UndoThing &thing = g_undoThings[i];
        if (thing.kind == kind && equalsIgnoreCase(thing.named->key, key) &&
            (kind == UNDO_KEY || equalsIgnoreCase(thing.named->name, name)))
            return &thing;
    }
    return nullptr;
}

// What keeps a key: its first value or subkey that does not go. While
// planning, the values and keys the plan removes do not count; once they
// were removed, anything left counts. NT's own Enum and Security keys of a
// service count only when the plan keeps something in them. `holder`
// (REG_NAME_FIELD_SIZE) names the value or subkey that keeps the key.
UndoReason whatHolds(const char *key, bool planning, char *holder) {
    PlatformRegKey *handle = platformRegOpenKey(key);
    if (!handle)
        return UNDO_REASON_UNREADABLE;
    UndoReason holding = UNDO_REASON_NONE;
    int found;
    for (unsigned long i = 0;
         (found = platformRegEnumValue(handle, i, holder, REG_NAME_FIELD_SIZE)) == 1; ++i) {
        const UndoThing *value = planning ? findPlanned(UNDO_VALUE, key, holder) : nullptr;
        if (!value || !goes(*value)) {
            holding = UNDO_REASON_VALUE;
            break;
        }
    }
    for (unsigned long i = 0;
         holding == UNDO_REASON_NONE && found != -1 &&
         (found = platformRegEnumKey(handle, i, holder, REG_NAME_FIELD_SIZE)) == 1;
         ++i) {
        char path[UNDO_KEY_PATH_SIZE];
        strcpy(path, key);
        strcat(path, "\\");
        strcat(path, holder);
        if (depthOf(key) == 0 &&
            (equalsIgnoreCase(holder, "Enum") || equalsIgnoreCase(holder, "Security"))) {
            if (!plannedAtOrBelow(path, stays))
                continue;
        } else if (planning) {
            const UndoThing *below = findPlanned(UNDO_KEY, path, "");
            if (below && goes(*below))
                continue;
        }
        holding = UNDO_REASON_SUBKEY;
    }
    platformRegCloseKey(handle);
    return found == -1 ? UNDO_REASON_UNREADABLE : holding;
}

void judgeKey(UndoThing *thing) {
    thing->verdict = UNDO_NOTHING;
    thing->reason = UNDO_REASON_NONE;
    thing->settled = false;
    if (platformRegProbeKey(thing->named->key) == PLATFORM_KEY_NOT_FOUND) {
        thing->settled = true;
        return;
    }
    thing->reason = whatHolds(thing->named->key, true, thing->holder);
    thing->verdict = thing->reason == UNDO_REASON_NONE ? UNDO_REMOVE : UNDO_KEEP;
}

// Deletes a key with everything below it, deepest first.
bool deleteTree(char *path, int depth) {
    if (depth == UNDO_TREE_DEPTH)
        return false;
    PlatformRegKey *handle = platformRegOpenKey(path);
    if (!handle)
        return false;
    char name[REG_NAME_FIELD_SIZE];
    bool deleted = true;
    size_t length = strlen(path);
    while (deleted && platformRegEnumKey(handle, 0, name, sizeof name) == 1) {
        if (length + 1 + strlen(name) >= UNDO_KEY_PATH_SIZE) {
            deleted = false;
            break;
        }
        strcat(path, "\\");
        strcat(path, name);
        deleted = deleteTree(path, depth + 1);
        path[length] = '\0';
    }
    platformRegCloseKey(handle);
    return deleted && platformRegDeleteKey(path);
}

// A key that holds nothing else goes; a service key takes its Enum and
// Security keys with it.
bool deleteKey(const char *key) {
    static const char *const OWN[] = {"Enum", "Security"};
    if (depthOf(key) == 0) {
        for (const char *own : OWN) {
            char path[UNDO_KEY_PATH_SIZE];
            strcpy(path, key);
            strcat(path, "\\");
            strcat(path, own);
            if (platformRegProbeKey(path) != PLATFORM_KEY_NOT_FOUND && !deleteTree(path, 0))
                return false;
        }
    }
    return platformRegDeleteKey(key) != 0;
}

// The key things, deepest first, into `order`; their count.
int keysDeepestFirst(int *order) {
    int count = 0;
    for (int i = 0; i < g_undoThingCount; ++i) {
        if (g_undoThings[i].kind != UNDO_KEY)
            continue;
        int at = count++;
        int depth = depthOf(g_undoThings[i].named->key);
        while (at > 0 && depthOf(g_undoThings[order[at - 1]].named->key) < depth) {
            order[at] = order[at - 1];
            --at;
        }
        order[at] = i;
    }
    return count;
}

} // namespace

void undoPlanValues(UndoCount *count) {
    undoPlanThings(UNDO_VALUE, judgeValue, count);
}

void undoPlanKeys(UndoCount *count) {
    int order[UNDO_ENTRY_CAPACITY];
    int keys = keysDeepestFirst(order);
    for (int i = 0; i < keys; ++i) {
        UndoThing &thing = g_undoThings[order[i]];
        judgeKey(&thing);
        undoSayPlan(thing, count);
    }
}

void undoCarryOutRegistry(UndoCount *count) {
    undoCarryOutThings(UNDO_VALUE, judgeValue, carryOutValue, sayValueNotDone, count);
    // NT deletes a key with its values: each is looked into once more, so
    // that a value that could not be deleted keeps its key.
    int order[UNDO_ENTRY_CAPACITY];
    int keys = keysDeepestFirst(order);
    for (int i = 0; i < keys; ++i) {
        UndoThing &thing = g_undoThings[order[i]];
        if (thing.verdict != UNDO_REMOVE)
            continue;
        const char *key = thing.named->key;
        thing.reason = whatHolds(key, false, thing.holder);
        thing.settled = thing.reason == UNDO_REASON_NONE && deleteKey(key);
        if (thing.settled) {
            say(UNDO_MSG_KEY_DELETED, key);
            continue;
        }
        say(UNDO_MSG_KEY_NOT_DELETED, key);
        undoSayReason(thing);
        thing.verdict = UNDO_KEEP;
        ++count->kept;
    }
}
