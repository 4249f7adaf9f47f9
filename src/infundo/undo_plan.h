// What the uninstaller takes back, in steps around the one agreement. It
// reads the record of the INF file it is given (and the other records of
// the folder, for what they name too); the plan then looks at the machine
// and prints, for each file, value and key the record names, whether it is
// removed, put back or kept, and why; after the agreement the removal
// carries out exactly that plan, looking once more at each thing before it
// touches it; last, the records are brought up to date.
//
// The rules: a file or value goes, or gets back what it was before the
// first installation that changed it, only while it is still what the
// last one left, and no live record names it; a key the installations
// made goes when nothing is left in it (a service key may still hold NT's
// own Enum and Security keys, which go with it unless the plan keeps
// something in them). Whatever no record names is never touched.

#ifndef INFUNDO_PLAN_H
#define INFUNDO_PLAN_H

#include "infundo/undo_table.h"

// Back to empty tables, as at the start of a process.
void undoResetTables();

// Reads the record at `recordPath` and the other records of its folder.
enum UndoCollected { UNDO_COLLECTED, UNDO_NO_RECORD, UNDO_RECORD_UNREADABLE };
UndoCollected undoCollect(const char *recordPath, UndoCount *count);

// True when some item of the record did not fit the tables: the record is
// then left as it is, whatever was taken back.
bool undoOverflowed();

// Looks at the machine and prints the plan: files, then values, then keys.
void undoPlanFiles(UndoCount *count);
void undoPlanValues(UndoCount *count);
void undoPlanKeys(UndoCount *count);

// Carries out the plan; what cannot be done is reported and counted as
// kept.
void undoCarryOutFiles(UndoCount *count);
void undoCarryOutRegistry(UndoCount *count);

// Brings the records up to date: a record none of whose items is left on
// the machine goes, with the copies saved beside it; one that keeps some
// gets a take-back that lists them. False when a record that had to be
// written could not be.
bool undoSettleRecords();

#endif
