// The uninstaller's run sequence; see undo_run.h.

#include "infundo/undo_run.h"

#include "common/capacity.h"
#include "common/console.h"
#include "common/messages.h"
#include "common/shortfall.h"
#include "inf/destinations.h"
#include "inf/inf_passes.h"
#include "inf/inf_path.h"
#include "inf/inf_stream.h"
#include "infundo/infundo_messages.h"
#include "infundo/undo_plan.h"

// The closing words of a run that reached its end.
static int finish(const UndoCount &count, const char *message) {
    if (count.kept > 0)
        say(UNDO_MSG_KEPT, count.kept);
    say("%s", message);
    waitForKey();
    return 0;
}

int runUninstaller(int argc, char **argv) {
    // Every run starts from the state of a fresh process.
    resetDestinations();
    shortfallReset();
    undoResetFiles();
    undoResetRegistry();

    say(UNDO_MSG_BANNER);
    if (osIsRefused())
        return refuseAndWait(UNDO_MSG_OS_REFUSED_1 UNDO_MSG_OS_REFUSED_2);
    char composedPath[PATH_SIZE];
    const char *infPath = infPathFromArguments(argc, argv, composedPath);
    if (!infPath)
        return 1;
    say(MSG_INF_FILE, infPath);

    InfStream stream;
    char infDirectory[PATH_SIZE];
    if (!infOpenForRun(infPath, &stream, infDirectory))
        return 1;
    say(UNDO_MSG_PLAN);
    UndoCount count = {0, 0};
    const InfInstallActions COLLECT = {undoCollectFile, undoCollectValue, &count};
    if (!infWalkInstallation(&stream, infDirectory, &COLLECT)) {
        infEndRun(&stream, MSG_READ_FAILED, nullptr);
        return 1;
    }
    infClose(&stream);
    clearDestinations();
    undoPlanFiles(&count);
    undoPlanRegistry(&count);
    if (count.toRemove == 0)
        return finish(count, UNDO_MSG_NOTHING_TO_REMOVE);
    say(UNDO_MSG_CONSENT);
    if (!readAgreement())
        return 1;
    say("\n");
    undoRemoveFiles(&count);
    undoRemoveRegistry(&count);
    return finish(count, UNDO_MSG_FINISHED);
}
