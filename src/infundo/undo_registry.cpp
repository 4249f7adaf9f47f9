// The registry values and keys the uninstaller takes back; see
// undo_plan.h. Keys are looked at deepest first, so that a parent is
// judged after the keys below it that go before it.

#include <cstring>

#include "common/say.h"
#include "inf/addreg_line.h"
#include "inf/names.h"
#include "inf/text.h"
#include "infundo/infundo_capacity.h"
#include "infundo/infundo_messages.h"
#include "infundo/undo_plan.h"
#include "platform/platform.h"

namespace {

enum Verdict { ABSENT, REMOVE, KEEP, UNREADABLE };

struct UndoValue {
    char key[REG_KEY_FIELD_SIZE];
    char name[REG_NAME_FIELD_SIZE];
    AddRegValue value; // what the last line that writes it writes
    Verdict verdict;
};

struct UndoKey {
    char key[REG_KEY_FIELD_SIZE];
    int depth; // separators after the services key
    Verdict verdict;
};

UndoValue g_values[UNDO_VALUE_CAPACITY];
int g_valueCount = 0;
UndoKey g_keys[UNDO_KEY_CAPACITY];
int g_keyCount = 0;

// The key as the registry names it: a trailing backslash names the same
// key as none.
void keyOf(const char *path, char *key) {
    strcpy(key, path);
    const char *last = textLastSeparator(key);
    if (last && *last == '\\' && last[1] == '\0')
        key[strlen(key) - 1] = '\0';
}

UndoKey *findKey(const char *key) {
    for (int i = 0; i < g_keyCount; ++i) {
        if (equalsIgnoreCase(g_keys[i].key, key))
            return &g_keys[i];
    }
    return nullptr;
}

// Adds the key once, keeping the table ordered deepest first.
void collectKey(const char *key, int depth, UndoCount *count) {
    if (findKey(key))
        return;
    if (g_keyCount == UNDO_KEY_CAPACITY) {
        say(UNDO_MSG_KEEP_KEY, key);
        say(UNDO_MSG_REASON_TOO_MANY);
        ++count->kept;
        return;
    }
    int at = g_keyCount++;
    while (at > 0 && g_keys[at - 1].depth < depth) {
        g_keys[at] = g_keys[at - 1];
        --at;
    }
    strcpy(g_keys[at].key, key);
    g_keys[at].depth = depth;
    g_keys[at].verdict = ABSENT;
}

// The key and each parent of it below the services key.
void collectKeys(const char *key, UndoCount *count) {
    char part[REG_KEY_FIELD_SIZE];
    int depth = 0;
    for (const char *at = key + SERVICES_KEY_PREFIX_LENGTH; *at; at = textNextChar(at)) {
        if (*at == '\\') {
            size_t length = static_cast<size_t>(at - key);
            memcpy(part, key, length);
            part[length] = '\0';
            collectKey(part, depth++, count);
        }
    }
    collectKey(key, depth, count);
}

bool isServiceLevel(const UndoKey &key) {
    return key.depth == 0;
}

UndoValue *findValue(const char *key, const char *name) {
    for (int i = 0; i < g_valueCount; ++i) {
        if (equalsIgnoreCase(g_values[i].key, key) && equalsIgnoreCase(g_values[i].name, name))
            return &g_values[i];
    }
    return nullptr;
}

Verdict judgeValue(const UndoValue &value) {
    PlatformRegKey *handle = platformRegOpenKey(value.key);
    if (!handle)
        return platformRegProbeKey(value.key) == PLATFORM_KEY_NOT_FOUND ? ABSENT : UNREADABLE;
    unsigned long type = 0;
    unsigned char bytes[REG_DATA_FIELD_SIZE];
    unsigned long size = sizeof bytes;
    PlatformValueQuery query = platformRegQueryValue(handle, value.name, &type, bytes, &size);
    platformRegCloseKey(handle);
    if (query == PLATFORM_VALUE_NOT_FOUND)
        return ABSENT;
    if (query == PLATFORM_VALUE_FAILED)
        return UNREADABLE;
    bool same = query == PLATFORM_VALUE_READ && type == value.value.type &&
                size == value.value.size && memcmp(bytes, value.value.bytes, size) == 0;
    return same ? REMOVE : KEEP;
}

// What keeps a key: its first value or subkey that does not go. While
// planning, the values and keys the plan removes do not count; once they
// were removed, anything left counts. NT's own Enum and Security keys of a
// service never count. `reason` (REG_NAME_FIELD_SIZE) names the value or
// subkey that keeps the key.
enum Holding { HOLDS_NOTHING, HOLDS_VALUE, HOLDS_SUBKEY, HOLDS_UNREADABLE };

Holding whatHolds(const UndoKey &key, bool planning, char *reason) {
    PlatformRegKey *handle = platformRegOpenKey(key.key);
    if (!handle)
        return HOLDS_UNREADABLE;
    Holding holding = HOLDS_NOTHING;
    int found;
    for (unsigned long i = 0;
         (found = platformRegEnumValue(handle, i, reason, REG_NAME_FIELD_SIZE)) == 1; ++i) {
        const UndoValue *value = planning ? findValue(key.key, reason) : nullptr;
        if (!value || value->verdict != REMOVE) {
            holding = HOLDS_VALUE;
            break;
        }
    }
    for (unsigned long i = 0;
         holding == HOLDS_NOTHING && found != -1 &&
         (found = platformRegEnumKey(handle, i, reason, REG_NAME_FIELD_SIZE)) == 1;
         ++i) {
        if (isServiceLevel(key) &&
            (equalsIgnoreCase(reason, "Enum") || equalsIgnoreCase(reason, "Security")))
            continue;
        char path[UNDO_KEY_PATH_SIZE];
        strcpy(path, key.key);
        strcat(path, "\\");
        strcat(path, reason);
        const UndoKey *below = planning ? findKey(path) : nullptr;
        if (!below || below->verdict != REMOVE)
            holding = HOLDS_SUBKEY;
    }
    platformRegCloseKey(handle);
    return found == -1 ? HOLDS_UNREADABLE : holding;
}

void sayHolding(Holding holding, const char *reason) {
    if (holding == HOLDS_VALUE)
        say(UNDO_MSG_REASON_VALUE, reason);
    else if (holding == HOLDS_SUBKEY)
        say(UNDO_MSG_REASON_SUBKEY, reason);
    else
        say(UNDO_MSG_REASON_UNREADABLE);
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
bool deleteKey(const UndoKey &key) {
    static const char *const OWN[] = {"Enum", "Security"};
    if (isServiceLevel(key)) {
        for (const char *own : OWN) {
            char path[UNDO_KEY_PATH_SIZE];
            strcpy(path, key.key);
            strcat(path, "\\");
            strcat(path, own);
            if (platformRegProbeKey(path) != PLATFORM_KEY_NOT_FOUND && !deleteTree(path, 0))
                return false;
        }
    }
    return platformRegDeleteKey(key.key) != 0;
}

} // namespace

void undoResetRegistry() {
    g_valueCount = 0;
    g_keyCount = 0;
}

// Several lines may name one value: the last that writes it gives the
// bytes the installer leaves there. A line of an unsupported type writes
// nothing, but the installer made its key all the same.
void undoCollectValue(const AddRegLine *line, void *context) {
    UndoCount *count = static_cast<UndoCount *>(context);
    char key[REG_KEY_FIELD_SIZE];
    keyOf(line->key, key);
    collectKeys(key, count);
    AddRegValue value;
    if (!addRegValueOf(*line, &value))
        return;
    UndoValue *known = findValue(key, line->name);
    if (!known) {
        if (g_valueCount == UNDO_VALUE_CAPACITY) {
            say(UNDO_MSG_KEEP_VALUE, key, line->name);
            say(UNDO_MSG_REASON_TOO_MANY);
            ++count->kept;
            return;
        }
        known = &g_values[g_valueCount++];
        strcpy(known->key, key);
        strcpy(known->name, line->name);
    }
    known->value = value;
    known->verdict = ABSENT;
}

void undoPlanRegistry(UndoCount *count) {
    for (int i = 0; i < g_valueCount; ++i) {
        UndoValue &value = g_values[i];
        value.verdict = judgeValue(value);
        if (value.verdict == REMOVE) {
            say(UNDO_MSG_PLAN_VALUE, value.key, value.name);
            ++count->toRemove;
        } else if (value.verdict != ABSENT) {
            say(UNDO_MSG_KEEP_VALUE, value.key, value.name);
            say(value.verdict == KEEP ? UNDO_MSG_REASON_CHANGED : UNDO_MSG_REASON_UNREADABLE);
            ++count->kept;
        }
    }
    for (int i = 0; i < g_keyCount; ++i) {
        UndoKey &key = g_keys[i];
        if (platformRegProbeKey(key.key) == PLATFORM_KEY_NOT_FOUND) {
            key.verdict = ABSENT;
            continue;
        }
        char reason[REG_NAME_FIELD_SIZE];
        Holding holding = whatHolds(key, true, reason);
        key.verdict = holding == HOLDS_NOTHING ? REMOVE : KEEP;
        if (key.verdict == REMOVE) {
            say(UNDO_MSG_PLAN_KEY, key.key);
            ++count->toRemove;
        } else {
            say(UNDO_MSG_KEEP_KEY, key.key);
            sayHolding(holding, reason);
            ++count->kept;
        }
    }
}

// Each value is compared once more: the agreement may have waited long
// enough for it to change.
void undoRemoveRegistry(UndoCount *count) {
    for (int i = 0; i < g_valueCount; ++i) {
        UndoValue &value = g_values[i];
        if (value.verdict != REMOVE || (value.verdict = judgeValue(value)) == ABSENT)
            continue;
        if (value.verdict != REMOVE) {
            say(UNDO_MSG_VALUE_NOT_DELETED, value.key, value.name);
            say(value.verdict == KEEP ? UNDO_MSG_REASON_CHANGED : UNDO_MSG_REASON_UNREADABLE);
            ++count->kept;
        } else if (platformRegDeleteValue(value.key, value.name)) {
            say(UNDO_MSG_VALUE_DELETED, value.key, value.name);
        } else {
            say(UNDO_MSG_VALUE_NOT_DELETED, value.key, value.name);
            ++count->kept;
        }
    }
    // NT deletes a key with its values: each is looked into once more, so
    // that a value that could not be deleted keeps its key.
    for (int i = 0; i < g_keyCount; ++i) {
        const UndoKey &key = g_keys[i];
        if (key.verdict != REMOVE)
            continue;
        char reason[REG_NAME_FIELD_SIZE];
        Holding holding = whatHolds(key, false, reason);
        if (holding == HOLDS_NOTHING && deleteKey(key)) {
            say(UNDO_MSG_KEY_DELETED, key.key);
            continue;
        }
        say(UNDO_MSG_KEY_NOT_DELETED, key.key);
        if (holding != HOLDS_NOTHING)
            sayHolding(holding, reason);
        ++count->kept;
    }
}
