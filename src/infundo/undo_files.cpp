// The files the uninstaller takes back; see undo_plan.h. A file is
// compared by its size and CRC-32 with what the record says; a file the
// system keeps loaded is marked for deletion at the next restart.

#include <cstring>

#include "common/files.h"
#include "common/say.h"
#include "inf/inf_path.h"
#include "inf/text.h"
#include "infundo/infundo_messages.h"
#include "infundo/undo_plan.h"
#include "infundo/undo_table.h"
#include "platform/platform.h"
#include "record/record_file.h"

namespace {

// The path of a saved copy: beside the record of the entry that saved it.
bool savedCopyPath(const UndoEntry &entry, char *path) {
    char folder[PATH_SIZE];
    infDirectoryOf(g_undoRecords[entry.record].path, folder);
    return composePath(path, folder, entry.item.saved);
}

// The verdict on a file, from the machine as it is now.
void judge(UndoThing *thing) {
    if (!undoJudgeByRecords(thing))
        return;
    const UndoEntry &first = g_undoEntries[thing->first];
    const char *path = thing->named->path;
    UndoFileState now = {isExistingFile(path), RecordFile{0, 0}};
    if (now.present && !recordFileOf(path, &now.file)) {
        thing->verdict = UNDO_KEEP;
        thing->reason = UNDO_REASON_UNREADABLE;
        return;
    }
    UndoFileState before = undoFileBefore(first.item);
    if (undoSameFile(now, before)) {
        thing->settled = true; // as before: the change was never made, or is undone
        return;
    }
    if (!undoSameFile(now, undoFileAfter(g_undoEntries[thing->last].item))) {
        thing->verdict = UNDO_KEEP;
        thing->reason = UNDO_REASON_CHANGED;
        return;
    }
    if (!before.present) {
        thing->verdict = UNDO_REMOVE;
        return;
    }
    char saved[PATH_SIZE];
    UndoFileState copy = {true, RecordFile{0, 0}};
    bool readable = thing->saved >= 0 && savedCopyPath(g_undoEntries[thing->saved], saved) &&
                    recordFileOf(saved, &copy.file) && undoSameFile(copy, before);
    thing->verdict = readable ? UNDO_RESTORE : UNDO_KEEP;
    thing->reason = readable ? UNDO_REASON_NONE : UNDO_REASON_NO_COPY;
}

// Deletes the file, or marks it for deletion at the restart when in use,
// and says which.
bool removeFile(const char *path) {
    // The installer's own file goes even when made read-only since.
    clearReadOnly(path);
    switch (platformDeleteFile(path)) {
    case PLATFORM_DELETED: say(UNDO_MSG_FILE_DELETED, path); return true;
    case PLATFORM_DELETE_IN_USE:
        if (platformDeleteFileAtRestart(path)) {
            say(UNDO_MSG_FILE_AT_RESTART, path);
            return true;
        }
        break;
    case PLATFORM_DELETE_FAILED: break;
    }
    return false;
}

// Puts the saved copy back in the file's place.
bool restore(const UndoThing &thing) {
    const char *path = thing.named->path;
    char saved[PATH_SIZE];
    clearReadOnly(path);
    if (!savedCopyPath(g_undoEntries[thing.saved], saved) || !platformCopyFile(saved, path))
        return false;
    say(UNDO_MSG_FILE_RESTORED, path);
    return true;
}

// For undoCarryOutThings: the file removed or put back as planned, and
// what could not be done said.
bool carryOutFile(const UndoThing &thing) {
    return thing.verdict == UNDO_REMOVE ? removeFile(thing.named->path) : restore(thing);
}

void sayFileNotDone(const UndoThing &thing, UndoVerdict planned) {
    say(planned == UNDO_REMOVE ? UNDO_MSG_FILE_NOT_DELETED : UNDO_MSG_FILE_NOT_RESTORED,
        thing.named->path);
}

} // namespace

void undoPlanFiles(UndoCount *count) {
    undoPlanThings(UNDO_FILE, judge, count);
}

void undoCarryOutFiles(UndoCount *count) {
    undoCarryOutThings(UNDO_FILE, judge, carryOutFile, sayFileNotDone, count);
}
