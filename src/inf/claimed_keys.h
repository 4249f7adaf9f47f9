// The registry keys one run of the installer takes over, as a list: at
// most CLAIMED_KEY_CAPACITY keys, compared without regard to ASCII case
// (the bytes of double-byte characters exactly). The installer keeps the
// keys it claimed in one, so that their later values go in without a
// second look; the converter keeps the distinct keys of the file it
// writes in another, so that the installer never runs out of room for
// them.

#ifndef INFINST_CLAIMED_KEYS_H
#define INFINST_CLAIMED_KEYS_H

#include "common/capacity.h"

struct ClaimedKeys {
    char *keys[CLAIMED_KEY_CAPACITY]; // the texts, which the list's keeper owns
    int count;
};

bool claimedKeysHas(const ClaimedKeys &list, const char *key);
bool claimedKeysFull(const ClaimedKeys &list);

// Appends a key; only while the list is not full.
void claimedKeysAdd(ClaimedKeys *list, char *key);

#endif
