// The AddReg section's values, written below
// HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services as strings,
// expandable strings or 32-bit numbers, one line at a time as the
// installation pass hands them on (inf/addreg_line.h reads them). Keys
// that exist before their first value comes are guarded by the overwrite
// question; the keys this run has taken over are remembered in the
// claimed-key list so that their later values go in without a second look.

#ifndef INFINST_ADDREG_SECTION_H
#define INFINST_ADDREG_SECTION_H

struct AddRegLine;

// Writes the value of one line that passed every check; reports and counts
// in the shortfall what it could not write. `context` is not used.
void installRegValue(const AddRegLine *line, void *context);

// The claimed-key list (inf/claimed_keys.h), which holds heap copies.
enum ClaimResult { CLAIMED, CLAIM_LIST_FULL, CLAIM_NO_MEMORY };
bool isClaimed(const char *key);
ClaimResult addClaimedKey(const char *key); // appends a heap copy of the key
void clearClaimedKeys();

#endif
