// One run over an INF file; see session.h.

#include "session/session.h"

#include <cstring>

#include "common/say.h"
#include "common/shortfall.h"
#include "inf/destinations.h"
#include "inf/inf_passes.h"
#include "inf/inf_path.h"
#include "inf/text.h"
#include "platform/platform.h"
#include "session/session_messages.h"

static const unsigned long NT_PLATFORM_ID = 2;

// True when this system must not be installed on: the version cannot be
// had, or it is Windows NT 4.0 or later.
static bool osIsRefused() {
    unsigned long platformId = 0;
    unsigned long majorVersion = 0;
    if (!platformGetVersion(&platformId, &majorVersion))
        return true;
    return platformId == NT_PLATFORM_ID && majorVersion >= 4;
}

void sessionReset() {
    resetDestinations();
    shortfallReset();
}

void sessionWaitForKey() {
    say(SESSION_MSG_PRESS_ANY_KEY);
    platformReadKey();
}

int sessionRefuse(const char *message) {
    say("%s", message);
    sessionWaitForKey();
    return 1;
}

bool sessionAgrees() {
    return platformReadInputChar() == '1';
}

// The INF path of a run from its command line: the one argument, or with
// none the first INF file of the current folder, composed into
// `session->composedPath`. Null, the refusal said, when there is none.
static const char *infPathFromArguments(InfSession *session, int argc, char **argv,
                                        const char *alsoTaken) {
    session->composedPath[0] = '\0';
    const char *infPath = session->composedPath;
    if (argc == 2) {
        infPath = argv[1];
        if (strlen(infPath) >= PATH_SIZE) {
            sessionRefuse(SESSION_MSG_INF_PATH_TOO_LONG);
            return nullptr;
        }
    } else if (argc == 1) {
        if (findInfInCurrentDirectory(session->composedPath) == INF_PATH_TOO_LONG) {
            sessionRefuse(SESSION_MSG_INF_PATH_TOO_LONG);
            return nullptr;
        }
    } else {
        say(SESSION_MSG_USAGE, argv[0]);
        sessionWaitForKey();
        return nullptr;
    }
    if (!hasInfExtension(infPath) && !(alsoTaken && hasExtension(infPath, alsoTaken))) {
        sessionRefuse(SESSION_MSG_NOT_INF);
        return nullptr;
    }
    return infPath;
}

bool sessionBegin(InfSession *session, int argc, char **argv, const char *osRefused,
                  const char *alsoTaken) {
    session->fileOpen = false;
    if (osIsRefused()) {
        sessionRefuse(osRefused);
        return false;
    }
    session->infPath = infPathFromArguments(session, argc, argv, alsoTaken);
    if (!session->infPath)
        return false;
    say(SESSION_MSG_INF_FILE, session->infPath);
    return true;
}

// The one or two messages that end a run refused by `check` (the second
// null when there is one only).
static void checkMessages(InfCheck check, const char **first, const char **second) {
    // Set before the switch, so that no value of `check` can leave it unset.
    *first = "";
    *second = nullptr;
    switch (check) {
    case INF_CHECK_PASSED: break;
    case INF_CHECK_READ_FAILED: *first = SESSION_MSG_READ_FAILED; break;
    case INF_CHECK_NOT_LEGACY_DRIVER:
        *first = SESSION_MSG_NOT_LEGACY_DRIVER_1;
        *second = SESSION_MSG_NOT_LEGACY_DRIVER_2;
        break;
    case INF_CHECK_NO_DESTINATION_DIRS:
        *first = SESSION_MSG_NO_DESTINATION_DIRS_1;
        *second = SESSION_MSG_NO_DESTINATION_DIRS_2;
        break;
    case INF_CHECK_NO_DEFAULT_DEST_DIR:
        *first = SESSION_MSG_NO_DEFAULT_DEST_DIR_1;
        *second = SESSION_MSG_NO_DEFAULT_DEST_DIR_2;
        break;
    case INF_CHECK_TOO_COMPLEX:
        *first = SESSION_MSG_TOO_COMPLEX_1;
        *second = SESSION_MSG_TOO_COMPLEX_2;
        break;
    case INF_CHECK_NO_COPY_SECTION: *first = SESSION_MSG_NO_COPY_SECTION; break;
    case INF_CHECK_UTF16:
        *first = SESSION_MSG_UTF16_INF;
        *second = SESSION_MSG_SAVE_AS_SHIFT_JIS;
        break;
    case INF_CHECK_UTF8:
        *first = SESSION_MSG_UTF8_INF;
        *second = SESSION_MSG_SAVE_AS_SHIFT_JIS;
        break;
    }
}

bool sessionOpen(InfSession *session) {
    if (!infOpen(&session->stream, session->infPath)) {
        platformReportError(SESSION_MSG_OPEN_FAILED);
        sessionWaitForKey();
        return false;
    }
    session->fileOpen = true;
    infDirectoryOf(session->infPath, session->infDirectory);
    InfCheck check = infCheckFile(&session->stream);
    if (check == INF_CHECK_PASSED)
        return true;
    const char *first;
    const char *second;
    checkMessages(check, &first, &second);
    sessionEnd(session, first, second, 1);
    return false;
}

InfWalk sessionWalk(InfSession *session, const InfInstallActions *actions) {
    return infWalkInstallation(&session->stream, session->infDirectory, actions);
}

void sessionCloseFile(InfSession *session) {
    if (!session->fileOpen)
        return;
    infClose(&session->stream);
    session->fileOpen = false;
    clearDestinations();
}

int sessionEnd(InfSession *session, const char *first, const char *second, int exitCode) {
    sessionCloseFile(session);
    say("%s", first);
    if (second)
        say("%s", second);
    sessionWaitForKey();
    return exitCode;
}
