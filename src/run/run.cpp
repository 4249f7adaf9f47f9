// The run sequence; see run.h. The INF file is read three times, by the
// passes of inf/inf_passes.h; the installation pass copies each file and
// writes each value through the actions of src/install/.

#include "run/run.h"

#include <cstring>

#include "common/capacity.h"
#include "common/messages.h"
#include "common/shortfall.h"
#include "inf/destinations.h"
#include "inf/inf_passes.h"
#include "inf/inf_path.h"
#include "inf/inf_stream.h"
#include "inf/text.h"
#include "install/addreg_section.h"
#include "install/copy_section.h"
#include "platform/platform.h"
#include "run/overwrite.h"

static const unsigned long NT_PLATFORM_ID = 2;

bool osIsRefused() {
    unsigned long platformId = 0;
    unsigned long majorVersion = 0;
    if (!platformGetVersion(&platformId, &majorVersion))
        return true;
    return platformId == NT_PLATFORM_ID && majorVersion >= 4;
}

void waitForKey() {
    say(MSG_PRESS_ANY_KEY);
    platformReadKey();
}

// The end of every run after the INF file was opened.
static int endRun(InfStream *stream, const char *message1, const char *message2, int exitCode) {
    infClose(stream);
    say("%s", message1);
    if (message2)
        say("%s", message2);
    waitForKey();
    clearDestinations();
    clearClaimedKeys();
    return exitCode;
}

// Reads the agreement: the first character typed must be '1'.
static bool userAgrees() {
    say(MSG_NOTICES);
    return platformReadInputChar() == '1';
}

static int refuse(const char *message) {
    say("%s", message);
    waitForKey();
    return 1;
}

int runInstaller(int argc, char **argv) {
    // Every run starts from the state of a fresh process.
    resetOverwriteAnswer();
    resetDestinations();
    clearClaimedKeys();
    shortfallReset();

    say(MSG_BANNER);
    if (osIsRefused())
        return refuse(MSG_OS_REFUSED_1 MSG_OS_REFUSED_2);

    char composedPath[PATH_SIZE] = {0};
    const char *infPath = composedPath;
    if (argc == 2) {
        infPath = argv[1];
        if (strlen(infPath) >= PATH_SIZE)
            return refuse(MSG_INF_PATH_TOO_LONG);
    } else if (argc == 1) {
        if (findInfInCurrentDirectory(composedPath) == INF_PATH_TOO_LONG)
            return refuse(MSG_INF_PATH_TOO_LONG);
    } else {
        say(MSG_USAGE, argv[0]);
        waitForKey();
        return 1;
    }
    if (!hasInfExtension(infPath))
        return refuse(MSG_NOT_INF);

    say(MSG_INF_FILE, infPath);
    if (!userAgrees())
        return 1;

    InfStream stream;
    if (!infOpen(&stream, infPath)) {
        platformReportError(MSG_OPEN_FAILED);
        waitForKey();
        return 1;
    }
    if (infHasUtf16Mark(&stream))
        return endRun(&stream, MSG_UTF16_INF_1, MSG_UTF16_INF_2, 1);
    char infDirectory[PATH_SIZE];
    infDirectoryOf(infPath, infDirectory);

    InfCheck check = infCheckFile(&stream);
    if (check != INF_CHECK_PASSED) {
        const char *first;
        const char *second;
        infCheckMessages(check, &first, &second);
        return endRun(&stream, first, second, 1);
    }
    static const InfInstallActions INSTALL = {installFile, installRegValue, nullptr};
    if (!infWalkInstallation(&stream, infDirectory, &INSTALL))
        return endRun(&stream, MSG_READ_FAILED, nullptr, 1);
    if (shortfallCount() > 0)
        say(MSG_NOT_INSTALLED, shortfallCount());
    return endRun(&stream, MSG_FINISHED, nullptr, 0);
}
