// The uninstaller's run sequence; see undo_run.h. The start and the end
// are the session's (session/session.h), which the installer shares.

#include "infundo/undo_run.h"

#include <cstring>

#include "common/say.h"
#include "inf/text.h"
#include "infundo/infundo_messages.h"
#include "infundo/undo_plan.h"
#include "platform/platform.h"
#include "record/record_file.h"
#include "session/session.h"
#include "session/session_messages.h"

namespace {

// Every table of the uninstaller back to the state of a fresh process: at
// the start of a run, and at its end.
void resetUninstaller() {
    sessionReset();
    undoResetTables();
}

int end(const char *first, const char *second, int exitCode) {
    say("%s", first);
    if (second)
        say("%s", second);
    sessionWaitForKey();
    resetUninstaller();
    return exitCode;
}

// The record the path names: itself, or the record of the INF file's
// bytes. False, with the reason said, when there is none to read.
bool findRecord(const char *path, char *recordPath, bool *exists) {
    if (hasExtension(path, RECORD_EXTENSION)) {
        if (!platformGetFullPath(path, recordPath))
            strcpy(recordPath, path);
        *exists = platformGetFileAttributes(recordPath) != PLATFORM_NO_ATTRIBUTES;
        return true;
    }
    RecordFile inf;
    char folder[PATH_SIZE];
    if (!recordFileOf(path, &inf)) {
        platformReportError(SESSION_MSG_OPEN_FAILED);
        return false;
    }
    if (!recordFolder(folder) || !recordPathOf(folder, inf, recordPath, exists)) {
        recordPath[0] = '\0';
        *exists = false;
    }
    return true;
}

// Whether the record must take note of this run when it removes nothing:
// when a thing was settled, or the record was never taken back before.
bool recordNeedsNote() {
    for (int i = 0; i < g_undoThingCount; ++i) {
        if (g_undoThings[i].settled)
            return true;
    }
    return g_undoRecords[0].live;
}

int finish(const UndoCount &count, const char *message) {
    if (count.kept > 0)
        say(UNDO_MSG_KEPT, count.kept);
    return end(message, nullptr, 0);
}

} // namespace

int runUninstaller(int argc, char **argv) {
    resetUninstaller();
    say(UNDO_MSG_BANNER);
    InfSession session;
    if (!sessionBegin(&session, argc, argv, UNDO_MSG_OS_REFUSED_1 UNDO_MSG_OS_REFUSED_2,
                      RECORD_EXTENSION))
        return 1;
    char recordPath[PATH_SIZE];
    bool exists = false;
    if (!findRecord(session.infPath, recordPath, &exists)) {
        sessionWaitForKey();
        return 1;
    }
    if (!exists)
        return end(UNDO_MSG_NO_RECORD_1, UNDO_MSG_NO_RECORD_2, 1);
    say(UNDO_MSG_RECORD, recordPath);
    UndoCount count = {0, 0};
    switch (undoCollect(recordPath, &count)) {
    case UNDO_COLLECTED: break;
    case UNDO_NO_RECORD: return end(UNDO_MSG_NO_RECORD_1, UNDO_MSG_NO_RECORD_2, 1);
    case UNDO_RECORD_UNREADABLE: return end(UNDO_MSG_RECORD_UNREADABLE, nullptr, 1);
    }
    say(UNDO_MSG_PLAN);
    undoPlanFiles(&count);
    undoPlanValues(&count);
    undoPlanKeys(&count);
    if (count.toRemove == 0) {
        if (recordNeedsNote())
            undoSettleRecords();
        return finish(count, UNDO_MSG_NOTHING_TO_REMOVE);
    }
    say(UNDO_MSG_CONSENT);
    if (!sessionAgrees()) {
        resetUninstaller();
        return 1;
    }
    say("\n");
    undoCarryOutFiles(&count);
    undoCarryOutRegistry(&count);
    undoSettleRecords();
    return finish(count, UNDO_MSG_FINISHED);
}
