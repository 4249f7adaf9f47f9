// The uninstaller's run sequence; see undo_run.h. The start, the checks
// and the end are the session's (session/session.h), which the installer
// shares, so that both read an INF file the same way.

#include "infundo/undo_run.h"

#include "common/say.h"
#include "inf/inf_passes.h"
#include "infundo/infundo_messages.h"
#include "infundo/undo_plan.h"
#include "session/session.h"
#include "session/session_messages.h"

// Every table of the uninstaller back to the state of a fresh process: at
// the start of a run, and at its end, which releases what the run took.
static void resetUninstaller() {
    sessionReset();
    undoResetFiles();
    undoResetRegistry();
}

// The closing words of a run that reached its end.
static int finish(InfSession *session, const UndoCount &count, const char *message) {
    if (count.kept > 0)
        say(UNDO_MSG_KEPT, count.kept);
    sessionEnd(session, message, nullptr, 0);
    resetUninstaller();
    return 0;
}

int runUninstaller(int argc, char **argv) {
    resetUninstaller();
    say(UNDO_MSG_BANNER);
    InfSession session;
    if (!sessionBegin(&session, argc, argv, UNDO_MSG_OS_REFUSED_1 UNDO_MSG_OS_REFUSED_2))
        return 1;
    if (!sessionOpen(&session)) {
        resetUninstaller();
        return 1;
    }
    say(UNDO_MSG_PLAN);
    UndoCount count = {0, 0};
    const InfInstallActions COLLECT = {undoCollectFile, undoCollectValue, &count};
    if (!sessionWalk(&session, &COLLECT)) {
        sessionEnd(&session, SESSION_MSG_READ_FAILED, nullptr, 1);
        resetUninstaller();
        return 1;
    }
    sessionCloseFile(&session);
    undoPlanFiles(&count);
    undoPlanRegistry(&count);
    if (count.toRemove == 0)
        return finish(&session, count, UNDO_MSG_NOTHING_TO_REMOVE);
    say(UNDO_MSG_CONSENT);
    if (!sessionAgrees()) {
        resetUninstaller();
        return 1;
    }
    say("\n");
    undoRemoveFiles(&count);
    undoRemoveRegistry(&count);
    return finish(&session, count, UNDO_MSG_FINISHED);
}
