// The run sequence; see run.h. The INF file is read three times, by the
// passes of inf/inf_passes.h; the installation pass copies each file and
// writes each value through the actions of src/install/.

#include "run/run.h"

#include "common/capacity.h"
#include "common/console.h"
#include "common/messages.h"
#include "common/shortfall.h"
#include "inf/destinations.h"
#include "inf/inf_passes.h"
#include "inf/inf_path.h"
#include "inf/inf_stream.h"
#include "install/addreg_section.h"
#include "install/copy_section.h"
#include "run/overwrite.h"

// The end of every run after the INF file was opened.
static int endRun(InfStream *stream, const char *message1, const char *message2, int exitCode) {
    infEndRun(stream, message1, message2);
    clearClaimedKeys();
    return exitCode;
}

// Shows the notices and reads the agreement.
static bool userAgrees() {
    say(MSG_NOTICES);
    return readAgreement();
}

int runInstaller(int argc, char **argv) {
    // Every run starts from the state of a fresh process.
    resetOverwriteAnswer();
    resetDestinations();
    clearClaimedKeys();
    shortfallReset();

    say(MSG_BANNER);
    if (osIsRefused())
        return refuseAndWait(MSG_OS_REFUSED_1 MSG_OS_REFUSED_2);

    char composedPath[PATH_SIZE];
    const char *infPath = infPathFromArguments(argc, argv, composedPath);
    if (!infPath)
        return 1;
    say(MSG_INF_FILE, infPath);
    if (!userAgrees())
        return 1;

    InfStream stream;
    char infDirectory[PATH_SIZE];
    if (!infOpenForRun(infPath, &stream, infDirectory))
        return 1;
    static const InfInstallActions INSTALL = {installFile, installRegValue, nullptr};
    if (!infWalkInstallation(&stream, infDirectory, &INSTALL))
        return endRun(&stream, MSG_READ_FAILED, nullptr, 1);
    if (shortfallCount() > 0)
        say(MSG_NOT_INSTALLED, shortfallCount());
    return endRun(&stream, MSG_FINISHED, nullptr, 0);
}
