// One run of the converter; see conv_run.h.
//
// Nothing is written until the whole conversion is done, and then only
// into a file that does not exist yet: a run that refuses, or that finds
// its output already there, leaves the disk as it was.

#include "infconv/conv_run.h"

#include <cstring>

#include "common/capacity.h"
#include "common/say.h"
#include "common/shortfall.h"
#include "inf/text.h"
#include "infconv/conv_convert.h"
#include "infconv/conv_files.h"
#include "infconv/conv_gate.h"
#include "infconv/conv_output.h"
#include "infconv/conv_reader.h"
#include "infconv/conv_report.h"
#include "infconv/infconv_messages.h"
#include "platform/platform.h"

const char CONV_OUTPUT_NAME[] = "INFINST.INF";

namespace {

// The folder made beside the input INF file when the driver's files lie
// in several folders.
const char DEFAULT_FOLDER[] = "INFINST";

// False, with the reason said, when the file could not be read; the path
// as found (its letter case matched on POSIX systems) into `found`.
bool load(const char *path, char *found) {
    unsigned long attributes = platformFindPath(path, found);
    if (attributes == PLATFORM_NO_ATTRIBUTES) {
        say(CONV_MSG_INPUT_MISSING, path);
        return false;
    }
    if (attributes & PLATFORM_ATTRIBUTE_DIRECTORY) {
        say(CONV_MSG_INPUT_IS_FOLDER, path);
        return false;
    }
    switch (convLoad(found)) {
    case CONV_LOADED: return true;
    case CONV_OPEN_FAILED: say(CONV_MSG_OPEN_FAILED, path); return false;
    case CONV_READ_FAILED: say(CONV_MSG_READ_FAILED, path); return false;
    case CONV_TOO_LARGE:
        say(CONV_MSG_INPUT_TOO_LARGE, static_cast<unsigned long>(CONV_INPUT_SIZE));
        return false;
    case CONV_UTF16_NOT_ASCII:
        say(CONV_MSG_UTF16_NOT_ASCII_1 CONV_MSG_UTF16_NOT_ASCII_2);
        return false;
    }
    return false;
}

// Where the file goes and its files with it: the output named, else
// CONV_OUTPUT_NAME in the one folder that holds the driver's files, else
// in a new folder beside the input INF file, which then receives copies
// of them all, as an output named does. False, with the reason said, when
// the file cannot go there; nothing is written here, copies come later.
bool placeOutput(const char *outputPath, char *path) {
    char folder[PATH_SIZE];
    bool copies = true;
    bool makeFolder = false;
    if (outputPath) {
        strcpy(path, outputPath);
        convFolderOf(outputPath, folder);
    } else {
        char separator[2] = {platformPathSeparator(), '\0'};
        char named[PATH_SIZE];
        copies = !convFilesInOneFolder(folder);
        if (copies && !(composePath(named, convInputFolder(), DEFAULT_FOLDER) &&
                        composePath(folder, named, separator))) {
            say(CONV_MSG_PATH_TOO_LONG, convInputFolder());
            return false;
        }
        if (!composePath(path, folder, CONV_OUTPUT_NAME)) {
            say(CONV_MSG_PATH_TOO_LONG, folder);
            return false;
        }
        char found[PATH_SIZE];
        if (copies && platformFindPath(named, found) != PLATFORM_NO_ATTRIBUTES) {
            say(CONV_MSG_FOLDER_EXISTS, found);
            return false;
        }
        makeFolder = copies;
    }
    char found[PATH_SIZE];
    if (platformFindPath(path, found) != PLATFORM_NO_ATTRIBUTES) {
        say(CONV_MSG_OUTPUT_EXISTS, path);
        return false;
    }
    return !copies || convCheckPlace(folder, makeFolder);
}

// Writes the file; false, with the reason said, when it was not written.
bool writeOutput(const char *inputPath, const char *outputPath) {
    const char *text;
    size_t length = convComposeOutput(inputPath, &text);
    switch (length ? platformWriteNewFile(outputPath, text, length) : PLATFORM_NEW_FILE_FAILED) {
    case PLATFORM_NEW_FILE_WRITTEN: return true;
    case PLATFORM_NEW_FILE_EXISTS: say(CONV_MSG_OUTPUT_EXISTS, outputPath); return false;
    case PLATFORM_NEW_FILE_FAILED: say(CONV_MSG_OUTPUT_FAILED, outputPath); return false;
    }
    return false;
}

// Every table of the converter back to the state of a fresh process, at
// the start of a run.
void resetConverter() {
    shortfallReset();
    convOutputReset();
    convReportReset();
    convGateReset();
    convFilesReset();
}

} // namespace

int runConverter(int argc, char **argv) {
    resetConverter();

    say(CONV_MSG_BANNER);
    if (argc != 2 && argc != 3) {
        say(CONV_MSG_USAGE, argv[0]);
        return 1;
    }
    const char *inputPath = argv[1];
    const char *outputPath = argc == 3 ? argv[2] : nullptr;
    for (int i = 1; i < argc; ++i) {
        if (strlen(argv[i]) >= PATH_SIZE) {
            say(CONV_MSG_PATH_TOO_LONG, argv[i]);
            return 1;
        }
    }
    if (outputPath && !hasInfExtension(outputPath)) {
        say(CONV_MSG_OUTPUT_NOT_INF, outputPath);
        return 1;
    }

    say(CONV_MSG_INPUT, inputPath);
    char found[PATH_SIZE];
    if (!load(inputPath, found))
        return 1;
    convFilesSetInput(found);
    const char *section = convChooseInstallSection();
    if (!section)
        return convInstallerForm() ? convCheckFilesBeside() : 1;
    say(CONV_MSG_INSTALL_SECTION, section);
    convConvertInstallSection(section);
    // A stop is a stop: nothing more is said about the conversion.
    if (convImageRefused()) {
        say(CONV_MSG_STOPPED);
        return 1;
    }
    convSayLeftOut();
    // What refuses the output's place is said before the closing count, so
    // that a run that writes nothing never ends in "all converted".
    bool nothing = convFileCount() + convValueCount() == 0;
    char path[PATH_SIZE];
    if (!nothing && !placeOutput(outputPath, path))
        return 1;
    if (shortfallCount() > 0)
        say(CONV_MSG_LEFT_OUT_COUNT, shortfallCount());
    else
        say(CONV_MSG_ALL_CONVERTED);
    if (nothing) {
        say(CONV_MSG_NOTHING_CONVERTED);
        return 1;
    }
    if (!convPlaceFiles())
        return 1;
    if (!writeOutput(inputPath, path)) {
        convTakeBackFiles(); // no file without the INF file that installs it
        return 1;
    }
    say(CONV_MSG_WRITTEN, path);
    // A path with a space goes in quotes, or it would be two arguments.
    if (strchr(path, ' '))
        say(CONV_MSG_COMMAND_QUOTED, path);
    else
        say(CONV_MSG_COMMAND, path);
    return 0;
}
