// The AddReg section; see addreg_section.h.

#include "install/addreg_section.h"

#include <cstring>

#include "common/say.h"
#include "common/shortfall.h"
#include "inf/addreg_line.h"
#include "inf/claimed_keys.h"
#include "inf/names.h"
#include "inf/text.h"
#include "install/driver_image_path.h"
#include "platform/platform.h"
#include "record/record.h"
#include "run/infinst_messages.h"
#include "run/overwrite.h"

namespace {

// The keys this run took over, and those it made as the parents of
// deeper keys (taken over at their own first line, with no question).
ClaimedKeys g_claimedKeys;
ClaimedKeys g_madeKeys;

RecordItem g_item; // large: kept off the stack

enum Claim { CLAIM_TAKEN, CLAIM_REFUSED, CLAIM_LIST_FULL, CLAIM_NO_MEMORY };

Claim remember(ClaimedKeys *list, const char *key) {
    if (claimedKeysFull(*list))
        return CLAIM_LIST_FULL;
    char *copy = heapCopy(key);
    if (!copy)
        return CLAIM_NO_MEMORY;
    claimedKeysAdd(list, copy);
    return CLAIM_TAKEN;
}

void release(ClaimedKeys *list) {
    for (int i = 0; i < list->count; ++i)
        platformRelease(list->keys[i]);
    list->count = 0;
}

// The existing-key guard: whether values may be written below the key. A
// key that existed when the run began, or that cannot be read, is only
// written with the user's yes: only "not found" proves that no other
// software owns it.
Claim claim(const char *key) {
    if (claimedKeysHas(g_claimedKeys, key) || overwriteAnswer() == 1)
        return CLAIM_TAKEN;
    if (!claimedKeysHas(g_madeKeys, key) && platformRegProbeKey(key) != PLATFORM_KEY_NOT_FOUND &&
        !confirmOverwrite())
        return CLAIM_REFUSED;
    return remember(&g_claimedKeys, key);
}

// The key as the registry names it, for the record: a trailing backslash
// names the same key as none.
void registryKeyOf(const char *path, char *key) {
    strcpy(key, path);
    const char *last = textLastSeparator(key);
    if (last && *last == '\\' && last[1] == '\0')
        key[strlen(key) - 1] = '\0';
}

// Notes each key that creating `key` will make, from the first that does
// not exist down to the key itself, and remembers them as made by this
// run. False when the record could not be written.
bool noteNewKeys(const char *key) {
    char part[REG_KEY_FIELD_SIZE];
    bool missing = false;
    for (const char *at = key + SERVICES_KEY_PREFIX_LENGTH;; at = textNextChar(at)) {
        if (*at != '\\' && *at != '\0')
            continue;
        size_t length = static_cast<size_t>(at - key);
        memcpy(part, key, length);
        part[length] = '\0';
        missing = missing || platformRegProbeKey(part) == PLATFORM_KEY_NOT_FOUND;
        if (missing) {
            recordItemStart(&g_item, RECORD_KEY_CREATED);
            strcpy(g_item.key, part);
            if (!recordNote(&g_item))
                return false;
            if (*at != '\0')
                remember(&g_madeKeys, part); // when it cannot, its own line asks
        }
        if (*at == '\0' || at[1] == '\0')
            return true;
    }
}

// The value the key holds now under the line's name, for the record.
enum OldValue { OLD_NONE, OLD_READ, OLD_UNREADABLE, OLD_TOO_LARGE };

OldValue readOldValue(const char *key, const char *name, RecordValue *old) {
    PlatformRegKey *handle = platformRegOpenKey(key);
    if (!handle)
        return platformRegProbeKey(key) == PLATFORM_KEY_NOT_FOUND ? OLD_NONE : OLD_UNREADABLE;
    old->size = sizeof old->bytes;
    PlatformValueQuery query =
        platformRegQueryValue(handle, name, &old->type, old->bytes, &old->size);
    platformRegCloseKey(handle);
    switch (query) {
    case PLATFORM_VALUE_READ: return OLD_READ;
    case PLATFORM_VALUE_NOT_FOUND: return OLD_NONE;
    case PLATFORM_VALUE_TOO_LARGE: return OLD_TOO_LARGE;
    case PLATFORM_VALUE_FAILED: break;
    }
    return OLD_UNREADABLE;
}

// Notes a value found under a key this run may not write below.
bool noteFoundValue(const AddRegLine &line) {
    recordItemStart(&g_item, RECORD_VALUE_FOUND);
    registryKeyOf(line.key, g_item.key);
    strcpy(g_item.name, line.name);
    return readOldValue(line.key, line.name, &g_item.value) != OLD_READ || recordNote(&g_item);
}

enum Written { WRITTEN, NOT_WRITTEN, STOP };

// Writes the value the line asks for below the open key, noted first with
// the value it replaces; a value already so is left as it is.
Written writeValue(PlatformRegKey *handle, const AddRegLine &line, bool keyIsNew) {
    AddRegValue value;
    if (!addRegValueOf(line, &value)) {
        say(INST_MSG_UNSUPPORTED_TYPE, static_cast<unsigned long>(line.flagsValue));
        return NOT_WRITTEN;
    }
    recordItemStart(&g_item, RECORD_VALUE_CREATED); // its kind set below
    registryKeyOf(line.key, g_item.key);
    strcpy(g_item.name, line.name);
    g_item.value.type = value.type;
    g_item.value.size = value.size;
    memcpy(g_item.value.bytes, value.bytes, value.size);
    OldValue old = keyIsNew ? OLD_NONE : readOldValue(line.key, line.name, &g_item.oldValue);
    if (old == OLD_UNREADABLE || old == OLD_TOO_LARGE) {
        say(old == OLD_UNREADABLE ? INST_MSG_OLD_VALUE_UNREADABLE : INST_MSG_OLD_VALUE_TOO_LARGE,
            line.key, line.name);
        return NOT_WRITTEN;
    }
    bool same = old == OLD_READ && g_item.oldValue.type == value.type &&
                g_item.oldValue.size == value.size &&
                memcmp(g_item.oldValue.bytes, value.bytes, value.size) == 0;
    g_item.kind = old == OLD_NONE ? RECORD_VALUE_CREATED
                  : same          ? RECORD_VALUE_FOUND
                                  : RECORD_VALUE_REPLACED;
    if (!recordNote(&g_item))
        return STOP;
    if (same) {
        imagePathWritten(line, value);
        return WRITTEN;
    }
    if (!platformRegSetValue(handle, line.name, value.type, value.bytes, value.size)) {
        say(INST_MSG_VALUE_WRITE_FAILED, line.key, line.name);
        return NOT_WRITTEN;
    }
    recordMarkChanged();
    imagePathWritten(line, value);
    return WRITTEN;
}

} // namespace

void clearClaimedKeys() {
    release(&g_claimedKeys);
    release(&g_madeKeys);
    imagePathReset();
}

bool installRegValue(const AddRegLine *line, void *) {
    say(INST_MSG_REG_VALUE, line->key, line->name, line->data);
    Claim claimed = claim(line->key);
    if (claimed != CLAIM_TAKEN) {
        if (claimed == CLAIM_REFUSED)
            say(INST_MSG_KEY_EXISTS);
        else
            say("%s", claimed == CLAIM_LIST_FULL ? INST_MSG_TOO_MANY_KEYS : INST_MSG_OUT_OF_MEMORY);
        shortfallAdd();
        imagePathNotWritten(*line);
        return claimed != CLAIM_REFUSED || noteFoundValue(*line);
    }
    bool keyIsNew = platformRegProbeKey(line->key) == PLATFORM_KEY_NOT_FOUND;
    if (keyIsNew && !noteNewKeys(line->key))
        return false;
    PlatformRegKey *handle = platformRegCreateKey(line->key);
    if (!handle) {
        say(INST_MSG_KEY_CREATE_FAILED, line->key);
        shortfallAdd();
        imagePathNotWritten(*line);
        return true;
    }
    if (keyIsNew)
        recordMarkChanged();
    Written written = writeValue(handle, *line, keyIsNew);
    platformRegCloseKey(handle);
    if (written == NOT_WRITTEN) {
        shortfallAdd();
        imagePathNotWritten(*line);
    }
    return written != STOP;
}

void installAddRegSectionEnd(void *) {
    imagePathSayWarnings();
}
