// The run sequence; see run.h. The start, the checks and the end are the
// session's (session/session.h), which the uninstaller shares; the
// installation pass copies each file and writes each value through the
// actions of src/install/, each noted first in the installation record
// (record/record.h).

#include "run/run.h"

#include "common/say.h"
#include "common/shortfall.h"
#include "inf/inf_passes.h"
#include "install/addreg_section.h"
#include "install/copy_section.h"
#include "record/record.h"
#include "run/infinst_messages.h"
#include "run/overwrite.h"
#include "session/session.h"
#include "session/session_messages.h"

namespace {

// Every table of the installer back to the state of a fresh process: at
// the start of a run, and at its end, which releases what the run took.
void resetInstaller() {
    sessionReset();
    resetOverwriteAnswer();
    clearClaimedKeys();
    recordReset();
}

// The end of every run after the INF file was opened: the record when the
// run changed something, then the end message, and a key wait.
int endRun(InfSession *session, const char *message, int exitCode) {
    if (recordFinish())
        say(INST_MSG_RECORD, recordPath());
    sessionEnd(session, message, nullptr, exitCode);
    resetInstaller();
    return exitCode;
}

// The record's failure: the run stops, and says where what it did so far
// was noted.
int stopForRecord(InfSession *session) {
    if (recordFinish())
        say(INST_MSG_RECORD, recordPath());
    say(INST_MSG_RECORD_FAILED_1, recordPath());
    sessionEnd(session, INST_MSG_RECORD_FAILED_2, nullptr, 1);
    resetInstaller();
    return 1;
}

} // namespace

int runInstaller(int argc, char **argv) {
    resetInstaller();
    say(INST_MSG_BANNER);
    InfSession session;
    if (!sessionBegin(&session, argc, argv, INST_MSG_OS_REFUSED_1 INST_MSG_OS_REFUSED_2, nullptr))
        return 1;
    say(INST_MSG_NOTICES);
    if (!sessionAgrees())
        return 1;
    if (!sessionOpen(&session)) {
        resetInstaller();
        return 1;
    }
    switch (recordPrepare(session.infPath)) {
    case RECORD_READY: break;
    case RECORD_INF_UNREADABLE: return endRun(&session, SESSION_MSG_READ_FAILED, 1);
    case RECORD_UNAVAILABLE: return endRun(&session, INST_MSG_RECORD_UNAVAILABLE, 1);
    }
    static const InfInstallActions INSTALL = {installFile, installRegValue, installAddRegSectionEnd,
                                              nullptr};
    switch (sessionWalk(&session, &INSTALL)) {
    case INF_WALK_DONE: break;
    case INF_WALK_READ_FAILED: return endRun(&session, SESSION_MSG_READ_FAILED, 1);
    case INF_WALK_STOPPED: return stopForRecord(&session);
    }
    if (shortfallCount() > 0)
        say(INST_MSG_NOT_INSTALLED, shortfallCount());
    return endRun(&session, INST_MSG_FINISHED, 0);
}
