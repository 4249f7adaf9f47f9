// The run sequence; see run.h. The start, the checks and the end are the
// session's (session/session.h), which the uninstaller shares; the
// installation pass copies each file and writes each value through the
// actions of src/install/.

#include "run/run.h"

#include "common/say.h"
#include "common/shortfall.h"
#include "inf/inf_passes.h"
#include "install/addreg_section.h"
#include "install/copy_section.h"
#include "run/infinst_messages.h"
#include "run/overwrite.h"
#include "session/session.h"
#include "session/session_messages.h"

// Every table of the installer back to the state of a fresh process: at
// the start of a run, and at its end, which releases what the run took.
static void resetInstaller() {
    sessionReset();
    resetOverwriteAnswer();
    clearClaimedKeys();
}

// The end of every run after the INF file was opened.
static int endRun(InfSession *session, const char *message, int exitCode) {
    sessionEnd(session, message, nullptr, exitCode);
    resetInstaller();
    return exitCode;
}

int runInstaller(int argc, char **argv) {
    resetInstaller();
    say(INST_MSG_BANNER);
    InfSession session;
    if (!sessionBegin(&session, argc, argv, INST_MSG_OS_REFUSED_1 INST_MSG_OS_REFUSED_2))
        return 1;
    say(INST_MSG_NOTICES);
    if (!sessionAgrees())
        return 1;
    if (!sessionOpen(&session)) {
        resetInstaller();
        return 1;
    }
    static const InfInstallActions INSTALL = {installFile, installRegValue, nullptr};
    if (!sessionWalk(&session, &INSTALL))
        return endRun(&session, SESSION_MSG_READ_FAILED, 1);
    if (shortfallCount() > 0)
        say(INST_MSG_NOT_INSTALLED, shortfallCount());
    return endRun(&session, INST_MSG_FINISHED, 0);
}
