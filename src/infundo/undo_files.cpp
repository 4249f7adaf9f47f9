// The files the uninstaller takes back; see undo_plan.h. A destination is
// compared in full with its source beside the INF file; a file that the
// system keeps loaded is marked for deletion at the next restart.

#include <cstring>

#include "common/files.h"
#include "common/say.h"
#include "inf/text.h"
#include "infundo/infundo_capacity.h"
#include "infundo/infundo_messages.h"
#include "infundo/undo_plan.h"
#include "platform/platform.h"

namespace {

enum FileVerdict {
    FILE_ABSENT,
    FILE_REMOVE,
    FILE_CHANGED,
    FILE_NO_SOURCE,
    FILE_UNREADABLE,
    FILE_IS_SOURCE
};

struct UndoFile {
    char source[PATH_SIZE];
    char destination[PATH_SIZE];
    FileVerdict verdict;
};

UndoFile g_files[UNDO_FILE_CAPACITY];
int g_fileCount = 0;

// A source that is the destination itself (an INF file unpacked into
// System32\Drivers, or run from there) always compares the same, yet the
// installer, whose copy onto itself fails, never put it there: it may be
// another program's.
FileVerdict judge(const UndoFile &file) {
    if (!isExistingFile(file.destination))
        return FILE_ABSENT;
    if (platformSameFile(file.source, file.destination))
        return FILE_IS_SOURCE;
    switch (compareFiles(file.source, file.destination)) {
    case FILES_SAME: return FILE_REMOVE;
    case FILES_DIFFERENT: return FILE_CHANGED;
    case FIRST_UNREADABLE: return FILE_NO_SOURCE;
    case SECOND_UNREADABLE: return FILE_UNREADABLE;
    }
    return FILE_UNREADABLE;
}

void sayWhyKept(const UndoFile &file) {
    if (file.verdict == FILE_CHANGED)
        say(UNDO_MSG_REASON_CHANGED);
    else if (file.verdict == FILE_NO_SOURCE)
        say(UNDO_MSG_REASON_NO_SOURCE, file.source);
    else if (file.verdict == FILE_IS_SOURCE)
        say(UNDO_MSG_REASON_IS_SOURCE);
    else
        say(UNDO_MSG_REASON_UNREADABLE);
}

} // namespace

void undoResetFiles() {
    g_fileCount = 0;
}

// A file that several lines copy is taken back once, compared with the
// source of the last of them, whose copy the installer leaves there.
void undoCollectFile(const char *source, const char *destination, void *context) {
    UndoCount *count = static_cast<UndoCount *>(context);
    for (int i = 0; i < g_fileCount; ++i) {
        if (equalsIgnoreCase(g_files[i].destination, destination)) {
            strcpy(g_files[i].source, source);
            return;
        }
    }
    if (g_fileCount == UNDO_FILE_CAPACITY) {
        say(UNDO_MSG_KEEP_FILE, destination);
        say(UNDO_MSG_REASON_TOO_MANY);
        ++count->kept;
        return;
    }
    UndoFile &file = g_files[g_fileCount++];
    strcpy(file.source, source);
    strcpy(file.destination, destination);
    file.verdict = FILE_ABSENT;
}

void undoPlanFiles(UndoCount *count) {
    for (int i = 0; i < g_fileCount; ++i) {
        UndoFile &file = g_files[i];
        file.verdict = judge(file);
        if (file.verdict == FILE_ABSENT)
            continue;
        if (file.verdict == FILE_REMOVE) {
            say(UNDO_MSG_PLAN_FILE, file.destination);
            ++count->toRemove;
            continue;
        }
        say(UNDO_MSG_KEEP_FILE, file.destination);
        sayWhyKept(file);
        ++count->kept;
    }
}

// Each file is compared once more: the agreement may have waited long
// enough for it to change.
void undoRemoveFiles(UndoCount *count) {
    for (int i = 0; i < g_fileCount; ++i) {
        UndoFile &file = g_files[i];
        const char *path = file.destination;
        if (file.verdict != FILE_REMOVE || (file.verdict = judge(file)) == FILE_ABSENT)
            continue;
        if (file.verdict != FILE_REMOVE) {
            say(UNDO_MSG_FILE_NOT_DELETED, path);
            sayWhyKept(file);
            ++count->kept;
            continue;
        }
        // The installer's own file goes even when made read-only since.
        clearReadOnly(path);
        switch (platformDeleteFile(path)) {
        case PLATFORM_DELETED: say(UNDO_MSG_FILE_DELETED, path); continue;
        case PLATFORM_DELETE_IN_USE:
            if (platformDeleteFileAtRestart(path)) {
                say(UNDO_MSG_FILE_AT_RESTART, path);
                continue;
            }
            break;
        case PLATFORM_DELETE_FAILED: break;
        }
        say(UNDO_MSG_FILE_NOT_DELETED, path);
        ++count->kept;
    }
}
