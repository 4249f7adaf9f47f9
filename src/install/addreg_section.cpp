// The AddReg section; see addreg_section.h.

#include "install/addreg_section.h"

#include <cstring>

#include "common/say.h"
#include "common/shortfall.h"
#include "inf/addreg_line.h"
#include "inf/claimed_keys.h"
#include "inf/text.h"
#include "platform/platform.h"
#include "run/infinst_messages.h"
#include "run/overwrite.h"

static ClaimedKeys g_claimedKeys;

bool isClaimed(const char *key) {
    return claimedKeysHas(g_claimedKeys, key);
}

ClaimResult addClaimedKey(const char *key) {
    if (claimedKeysFull(g_claimedKeys))
        return CLAIM_LIST_FULL;
    char *copy = heapCopy(key);
    if (!copy)
        return CLAIM_NO_MEMORY;
    claimedKeysAdd(&g_claimedKeys, copy);
    return CLAIMED;
}

void clearClaimedKeys() {
    for (int i = 0; i < g_claimedKeys.count; ++i)
        platformRelease(g_claimedKeys.keys[i]);
    g_claimedKeys.count = 0;
}

// The existing-key guard: true when values may be written below the key.
// A key that exists but cannot be read counts as existing: only "not
// found" proves that no other software owns it.
static bool mayWriteBelow(const char *key) {
    if (isClaimed(key) || overwriteAnswer() == 1)
        return true;
    if (platformRegProbeKey(key) != PLATFORM_KEY_NOT_FOUND && !confirmOverwrite()) {
        say(INST_MSG_KEY_EXISTS);
        return false;
    }
    switch (addClaimedKey(key)) {
    case CLAIMED: return true;
    case CLAIM_LIST_FULL: say(INST_MSG_TOO_MANY_KEYS); return false;
    case CLAIM_NO_MEMORY: say(INST_MSG_OUT_OF_MEMORY); return false;
    }
    return false;
}

// Writes the value the line asks for; false, with the reason said, when it
// was not written.
static bool writeValue(PlatformRegKey *handle, const AddRegLine &line) {
    AddRegValue value;
    if (!addRegValueOf(line, &value)) {
        say(INST_MSG_UNSUPPORTED_TYPE, static_cast<unsigned long>(line.flagsValue));
        return false;
    }
    if (!platformRegSetValue(handle, line.name, value.type, value.bytes, value.size)) {
        say(INST_MSG_VALUE_WRITE_FAILED, line.key, line.name);
        return false;
    }
    return true;
}

void installRegValue(const AddRegLine *line, void *) {
    say(INST_MSG_REG_VALUE, line->key, line->name, line->data);
    if (!mayWriteBelow(line->key)) {
        shortfallAdd();
        return;
    }
    PlatformRegKey *handle = platformRegCreateKey(line->key);
    if (!handle) {
        say(INST_MSG_KEY_CREATE_FAILED, line->key);
        shortfallAdd();
        return;
    }
    if (!writeValue(handle, *line))
        shortfallAdd();
    platformRegCloseKey(handle);
}
