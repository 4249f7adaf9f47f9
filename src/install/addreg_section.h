// The AddReg section: the driver's service values, written below
// HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services as strings,
// expandable strings or 32-bit numbers.
//
// A line reads HKLM,"key path","value name",flags,data, with no space or
// tab at either end of the flags or the data, and data that is one quoted
// string or holds no quote and no ';'; any other line that asks for
// something is reported and skipped. Keys that exist
// before their first value comes are guarded by the overwrite question;
// the keys this run has taken over are remembered in the claimed-key list
// so that their later values go in without a second look.

#ifndef INFINST_ADDREG_SECTION_H
#define INFINST_ADDREG_SECTION_H

struct InfStream;

// Writes every value the section lists; `infDirectory` is not used.
// Leaves the stream at the next header.
void processAddRegSection(InfStream *stream, const char *infDirectory);

// The claimed-key list, keys compared without regard to ASCII case (the
// bytes of double-byte characters exactly).
enum ClaimResult { CLAIMED, CLAIM_LIST_FULL, CLAIM_NO_MEMORY };
bool isClaimed(const char *key);
ClaimResult claimKey(const char *key); // appends a heap copy of the key
void clearClaimedKeys();

#endif
