// The list of claimed registry keys; see claimed_keys.h.

#include "inf/claimed_keys.h"

#include "inf/text.h"

bool claimedKeysHas(const ClaimedKeys &list, const char *key) {
    for (int i = 0; i < list.count; ++i) {
        if (equalsIgnoreCase(list.keys[i], key))
            return true;
    }
    return false;
}

bool claimedKeysFull(const ClaimedKeys &list) {
    return list.count == CLAIMED_KEY_CAPACITY;
}

void claimedKeysAdd(ClaimedKeys *list, char *key) {
    list->keys[list->count++] = key;
}
