// One run of the converter; see conv_run.h.
//
// Nothing is written until the whole conversion is done, and then only
// into a file that does not exist yet: a run that refuses, or that finds
// its output already there, leaves the disk as it was.

#include "infconv/conv_run.h"

#include <cstring>

#include "common/capacity.h"
#include "common/messages.h"
#include "common/shortfall.h"
#include "inf/text.h"
#include "infconv/conv_convert.h"
#include "infconv/conv_output.h"
#include "infconv/conv_reader.h"
#include "infconv/infconv_messages.h"
#include "platform/platform.h"

const char CONV_OUTPUT_NAME[] = "INFINST.INF";

namespace {

// False, with the reason said, when the file could not be read.
bool load(const char *path) {
    switch (convLoad(path)) {
    case CONV_LOADED: return true;
    case CONV_OPEN_FAILED: platformReportError(CONV_MSG_OPEN_FAILED); return false;
    case CONV_TOO_LARGE:
        say(CONV_MSG_INPUT_TOO_LARGE, static_cast<unsigned long>(CONV_INPUT_SIZE));
        return false;
    case CONV_UTF16_NOT_ASCII:
        say(CONV_MSG_UTF16_NOT_ASCII_1 CONV_MSG_UTF16_NOT_ASCII_2);
        return false;
    }
    return false;
}

// The output's path when none was given: CONV_OUTPUT_NAME in the folder
// of the driver's x86 files, below the INF file's own folder. False when
// it does not fit PATH_SIZE.
bool defaultOutputPath(const char *inputPath, char *path) {
    char directory[PATH_SIZE];
    strcpy(directory, inputPath);
    const char *separator = textLastSeparator(directory);
    directory[separator ? separator - directory + 1 : 0] = '\0';
    char folder[PATH_SIZE];
    char withFolder[PATH_SIZE];
    return convSourceFolder(folder, sizeof folder, platformPathSeparator()) &&
           composePath(withFolder, directory, folder) &&
           composePath(path, withFolder, CONV_OUTPUT_NAME);
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

} // namespace

int runConverter(int argc, char **argv) {
    // Every run starts from the state of a fresh process.
    shortfallReset();
    convOutputReset();

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
    if (!load(inputPath))
        return 1;
    const char *section = convFindInstallSection();
    if (!section) {
        say("%s", convHasLegacyDriverClass()
                      ? CONV_MSG_ALREADY_CONVERTED
                      : CONV_MSG_NO_INSTALL_SECTION_1 CONV_MSG_NO_INSTALL_SECTION_2);
        return 1;
    }
    say(CONV_MSG_INSTALL_SECTION, section);
    convConvertInstallSection(section);
    if (shortfallCount() > 0)
        say(CONV_MSG_LEFT_OUT_COUNT, shortfallCount());
    else
        say(CONV_MSG_ALL_CONVERTED);
    if (convFileCount() + convValueCount() == 0) {
        say(CONV_MSG_NOTHING_CONVERTED);
        return 1;
    }

    char composed[PATH_SIZE];
    if (!outputPath) {
        if (!defaultOutputPath(inputPath, composed)) {
            say(CONV_MSG_PATH_TOO_LONG, inputPath);
            return 1;
        }
        outputPath = composed;
    }
    if (!writeOutput(inputPath, outputPath))
        return 1;
    say(CONV_MSG_WRITTEN, outputPath);
    // A path with a space goes in quotes, or it would be two arguments.
    if (strchr(outputPath, ' '))
        say(CONV_MSG_COMMAND_QUOTED, outputPath);
    else
        say(CONV_MSG_COMMAND, outputPath);
    return 0;
}
