// The uninstaller's tables, shared by its files: the records it reads,
// the items they hold, and the things on the machine those items are
// about, each with what the plan does with it.
//
// A thing (a file, a value, a key) may be named by several records: by
// the record taken back, by records taken back before whose installations
// changed it too and kept it then because another record still named it,
// and by live records (installed and not taken back). The items of the
// first two kinds form its history, ordered by their run numbers: it is
// put back as the first of them found it, but only when it is still what
// the last of them left. A thing a live record names stays as it is.

#ifndef INFUNDO_TABLE_H
#define INFUNDO_TABLE_H

#include "infundo/infundo_capacity.h"
#include "record/record_item.h"

struct UndoCount {
    int toRemove; // things the plan removes or puts back
    int kept;     // things it keeps, each reported
};

struct UndoRecord {
    char path[PATH_SIZE];
    char infPath[PATH_SIZE];
    bool live;
};

enum UndoKind { UNDO_FILE, UNDO_VALUE, UNDO_KEY };

enum UndoVerdict {
    UNDO_NOTHING, // nothing to do: already as before, or none of this record's doing
    UNDO_REMOVE,
    UNDO_RESTORE,
    UNDO_KEEP
};

enum UndoReason {
    UNDO_REASON_NONE,
    UNDO_REASON_CHANGED,
    UNDO_REASON_UNREADABLE,
    UNDO_REASON_OTHER_INF, // `namedBy` names it
    UNDO_REASON_NO_COPY,   // the saved copy cannot be read
    UNDO_REASON_VALUE,     // a key holds the value `holder`
    UNDO_REASON_SUBKEY     // a key holds the subkey `holder`
};

struct UndoThing {
    const RecordItem *named; // an entry naming it: its path, or key and name
    UndoKind kind;
    int namedBy; // a live record naming it, or -1
    int first;   // its history, by run number: entries
    int last;
    int saved; // the first entry of the history that saved a copy of the file, or -1
    UndoVerdict verdict;
    UndoReason reason;
    bool changedByRecord; // the record taken back changed it (not only found it)
    bool earlierHistory;  // records taken back before have items about it
    bool settled;         // its history is over: as before, or taken back now
    char holder[REG_NAME_FIELD_SIZE];
};

struct UndoEntry {
    RecordItem item;
    int record; // 0 is the record taken back
    int thing;
};

extern UndoRecord g_undoRecords[UNDO_RECORD_CAPACITY];
extern int g_undoRecordCount;
extern UndoEntry g_undoEntries[UNDO_ENTRY_CAPACITY];
extern int g_undoEntryCount;
extern UndoThing g_undoThings[UNDO_ENTRY_CAPACITY];
extern int g_undoThingCount;

// The kind of thing an item is about.
UndoKind undoKindOf(RecordItemKind kind);

// True when the two items are about one thing (a path, a key and value
// name, or a key, compared as Windows does).
bool undoSameThing(const RecordItem &a, const RecordItem &b);

// True when `key` is `above` or lies below it, compared as Windows does.
bool undoIsAtOrBelow(const char *key, const char *above);

// The thing's history: its last entry by run number, and the first of
// those that lead up to it, each leaving what the next found.
void undoSetHistory(UndoThing *thing);

// What a history's first entry found, and what its last left: for a file,
// its state (`present` false when absent); likewise for a value.
struct UndoFileState {
    bool present;
    RecordFile file;
};
struct UndoValueState {
    bool present;
    const RecordValue *value;
};
UndoFileState undoFileBefore(const RecordItem &first);
UndoFileState undoFileAfter(const RecordItem &last);
UndoValueState undoValueBefore(const RecordItem &first);
UndoValueState undoValueAfter(const RecordItem &last);

// True when the two states are the same: both absent, or both present with
// the same size and CRC-32, or the same type and bytes.
bool undoSameFile(const UndoFileState &a, const UndoFileState &b);
bool undoSameValue(const UndoValueState &a, const UndoValueState &b);

// The first steps of every verdict on a file or value: nothing to do for
// a thing the record only found there, unless earlier installations
// changed it; kept while a live record names it. True when the verdict
// depends on the machine, which the caller looks at next.
bool undoJudgeByRecords(UndoThing *thing);

// Prints the reason a thing is kept.
void undoSayReason(const UndoThing &thing);

// Prints what the plan does with a thing and counts it: removed or put
// back, or kept with its reason. A key's texts name the key alone.
void undoSayPlan(const UndoThing &thing, UndoCount *count);

// Judges each file or value (`kind`) and prints the plan for it.
void undoPlanThings(UndoKind kind, void (*judge)(UndoThing *thing), UndoCount *count);

// Carries out the plan for each file or value (`kind`) it removes or puts
// back, judged once more: the agreement may have waited long enough for it
// to change. `carryOut` removes it or puts it back and says so; what
// changed since, or could not be done, `sayNotDone` says for the verdict
// planned, and it is kept and counted.
void undoCarryOutThings(UndoKind kind, void (*judge)(UndoThing *thing),
                        bool (*carryOut)(const UndoThing &thing),
                        void (*sayNotDone)(const UndoThing &thing, UndoVerdict planned),
                        UndoCount *count);

#endif
