// What the uninstaller takes back, in two steps around the one agreement.
// The installation pass of the INF file hands every copy line and every
// AddReg line to the collectors; the plan then looks at the machine and
// prints, for each file, value and key, whether it goes or stays and why;
// after the agreement the removal carries out exactly that plan.
//
// The rules: a file goes only when it is byte for byte the file beside the
// INF that the installer copies; a value only when its type and bytes are
// those its last writing line gives; a key the AddReg section writes into,
// or a parent of one below the services key, only when it then holds
// nothing (a service key may still hold NT's own Enum and Security keys,
// which go with it).

#ifndef INFUNDO_PLAN_H
#define INFUNDO_PLAN_H

struct AddRegLine;

// How many items the plan removes, and how many it keeps, each reported.
struct UndoCount {
    int toRemove;
    int kept;
};

// Back to empty tables, as at the start of a process.
void undoResetFiles();
void undoResetRegistry();

// The collectors, as the installation pass's actions (InfInstallActions).
void undoCollectFile(const char *source, const char *destination, void *context);
void undoCollectValue(const AddRegLine *line, void *context);

// Looks at the machine and prints the plan: files, then values, then keys.
void undoPlanFiles(UndoCount *count);
void undoPlanRegistry(UndoCount *count);

// Carries out the plan; what cannot be removed is reported and counted as
// kept.
void undoRemoveFiles(UndoCount *count);
void undoRemoveRegistry(UndoCount *count);

#endif
