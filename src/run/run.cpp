// The run sequence; see run.h.
//
// The INF file is read three times. Pass 1 reads [DestinationDirs] and
// looks for the class line; after the checks, pass 2 counts the AddReg
// and copy section headers; only a file with exactly one AddReg section
// and at least one copy section reaches pass 3, which installs. Section
// readers leave the stream at the next header, so every header line of the
// file passes through the loops here. Over-long lines are skipped by every
// pass and reported by the first. A seek that fails stops the run at
// once: the stream no longer knows where it stands.

#include "run/run.h"

#include <cstring>

#include "common/capacity.h"
#include "common/messages.h"
#include "common/shortfall.h"
#include "inf/destinations.h"
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

// The search also gives folders, and names that only match through their
// short name ("a.info" is "A~1.INF" on NT), so each match is checked.
static bool findFirstInfName(char *name) {
    bool directory = false;
    PlatformSearch *search = platformFindFirstFile("*.inf", name, &directory);
    if (!search)
        return false;
    bool found = !directory && hasInfExtension(name);
    while (!found && platformFindNextFile(search, name, &directory))
        found = !directory && hasInfExtension(name);
    platformFindClose(search);
    return found;
}

InfSearch findInfInCurrentDirectory(char *path) {
    char name[PATH_SIZE];
    if (!findFirstInfName(name))
        return INF_NOT_FOUND;
    char directory[PATH_SIZE];
    unsigned long length = platformGetCurrentDirectory(directory, PATH_SIZE);
    if (length == 0)
        return INF_NOT_FOUND;
    if (length >= PATH_SIZE)
        return INF_PATH_TOO_LONG;
    const char *separator = textLastSeparator(directory);
    if (separator && *separator == '\\' && separator[1] == '\0')
        directory[length - 1] = '\0'; // a drive's root
    char separated[PATH_SIZE];
    if (!composePath(separated, directory, "\\") || !composePath(path, separated, name))
        return INF_PATH_TOO_LONG;
    return INF_FOUND;
}

void waitForKey() {
    say(MSG_PRESS_ANY_KEY);
    platformReadKey();
}

// Only a line that begins with '[' is a header: a value such as
// Desc = "Disk Copy] tool" is not.
static bool isAddRegHeader(const char *line) {
    return line[0] == '[' && strstr(line, "AddReg]") != nullptr;
}

static bool isCopyHeader(const char *line) {
    return line[0] == '[' &&
           (strstr(line, "Copy]") || strstr(line, "CopyFiles]") || isListedSectionHeader(line));
}

// A line whose key (the text before '=') is AddService, in any case: it
// asks for a service that this installer, which writes services only
// through AddReg lines, would never register.
static bool isAddServiceLine(const char *line) {
    const char *equals = strchr(line, '=');
    if (!equals)
        return false;
    size_t length = static_cast<size_t>(equals - line);
    while (length > 0 && isAsciiSpace(line[length - 1]))
        --length;
    return length == strlen("AddService") && startsWithIgnoreCase(line, "AddService");
}

// Pass 1: reads [DestinationDirs] bodies and looks for the class line.
static void findDestinationsAndClass(InfStream *stream, bool *classSeen,
                                     bool *destinationDirsSeen) {
    char line[LINE_SIZE];
    infRewind(stream);
    stream->reportLongLines = true;
    while (readLine(stream, line)) {
        normaliseLine(line);
        if (equalsIgnoreCase(line, "[DestinationDirs]")) {
            say(MSG_DESTINATION_DIRS_FOUND, line);
            readDestinationDirs(stream);
            *destinationDirsSeen = true;
        } else if (looseEquals(line, "Class=LegacyDriver")) {
            *classSeen = true;
        }
    }
    stream->reportLongLines = false;
}

// Pass 2: counts the AddReg and copy headers of the whole file.
static void countSections(InfStream *stream, int *addRegCount, int *copyCount) {
    char line[LINE_SIZE];
    infRewind(stream);
    while (readLine(stream, line)) {
        normaliseLine(line);
        if (isAddRegHeader(line)) {
            say(MSG_ADDREG_FOUND, line);
            ++*addRegCount;
        } else if (isCopyHeader(line)) {
            say(MSG_COPY_FOUND, line);
            ++*copyCount;
        }
    }
}

// Pass 3: carries out the sections in the order of the file.
static void install(InfStream *stream, const char *infDirectory) {
    char line[LINE_SIZE];
    char destination[PATH_SIZE];
    infRewind(stream);
    while (readLine(stream, line)) {
        normaliseLine(line);
        if (isAddRegHeader(line)) {
            processAddRegSection(stream, infDirectory);
        } else if (isCopyHeader(line)) {
            // The name between the brackets of a well-formed header.
            char *name = line + 1;
            name[strlen(name) - 1] = '\0';
            if (destinationForSection(name, destination)) {
                processCopySection(stream, infDirectory, destination);
            } else {
                say(MSG_UNSUPPORTED_DESTINATION, name);
                shortfallAdd();
            }
        } else if (isAddServiceLine(line)) {
            say(MSG_ADDSERVICE_UNSUPPORTED, line);
            shortfallAdd();
        }
    }
}

static bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The INF file's directory, its last separator included: a forward slash
// separates as well as a backslash. A path with a drive and no separator
// at all ("A:SAMPLE.INF") names a file in that drive's current folder,
// which "A:" names as well.
static void findInfDirectory(const char *infPath, char *infDirectory) {
    strcpy(infDirectory, infPath);
    const char *separator = textLastSeparator(infDirectory);
    size_t length = 0;
    if (separator)
        length = static_cast<size_t>(separator - infDirectory) + 1;
    else if (isAsciiLetter(infPath[0]) && infPath[1] == ':')
        length = 2;
    infDirectory[length] = '\0';
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
    findInfDirectory(infPath, infDirectory);

    bool classSeen = false;
    bool destinationDirsSeen = false;
    findDestinationsAndClass(&stream, &classSeen, &destinationDirsSeen);
    if (stream.seekFailed)
        return endRun(&stream, MSG_READ_FAILED, nullptr, 1);
    if (!classSeen)
        return endRun(&stream, MSG_NOT_LEGACY_DRIVER_1, MSG_NOT_LEGACY_DRIVER_2, 1);
    if (!destinationDirsSeen)
        return endRun(&stream, MSG_NO_DESTINATION_DIRS_1, MSG_NO_DESTINATION_DIRS_2, 1);
    if (defaultDirectoryId() == -1)
        return endRun(&stream, MSG_NO_DEFAULT_DEST_DIR_1, MSG_NO_DEFAULT_DEST_DIR_2, 1);

    int addRegCount = 0;
    int copyCount = 0;
    countSections(&stream, &addRegCount, &copyCount);
    if (stream.seekFailed)
        return endRun(&stream, MSG_READ_FAILED, nullptr, 1);
    if (addRegCount != 1)
        return endRun(&stream, MSG_TOO_COMPLEX_1, MSG_TOO_COMPLEX_2, 1);
    if (copyCount == 0)
        return endRun(&stream, MSG_NO_COPY_SECTION, nullptr, 1);

    install(&stream, infDirectory);
    if (stream.seekFailed)
        return endRun(&stream, MSG_READ_FAILED, nullptr, 1);
    if (shortfallCount() > 0)
        say(MSG_NOT_INSTALLED, shortfallCount());
    return endRun(&stream, MSG_FINISHED, nullptr, 0);
}
