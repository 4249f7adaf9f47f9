// The AddReg section's values, written below
// HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services as strings,
// expandable strings or 32-bit numbers, one line at a time as the
// installation pass hands them on (inf/addreg_line.h reads them). Keys
// that existed when the run began are guarded by the overwrite question
// before their first value comes; the keys this run has taken over (those
// it was let write below, and those it made itself as the parents of
// deeper keys) are remembered in the claimed-key list, so that their later
// values go in without a second look.
//
// Each key made and each value written is noted in the installation
// record (record/record.h) before the change, with the value it replaces.

#ifndef INFINST_ADDREG_SECTION_H
#define INFINST_ADDREG_SECTION_H

struct AddRegLine;

// Writes the value of one line that passed every check; reports and counts
// in the shortfall what it could not write. False when the record could
// not be written: the run must stop. `context` is not used.
bool installRegValue(const AddRegLine *line, void *context);

// After the section's last line: the warnings about drivers the kernel
// cannot load (install/driver_image_path.h).
void installAddRegSectionEnd(void *context);

// Back to no claimed key and no key made, as at the start of a run,
// releasing the heap copies.
void clearClaimedKeys();

#endif
