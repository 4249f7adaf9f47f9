// The passes over an INF file; see inf_passes.h.

#include "inf/inf_passes.h"

#include <cstring>

#include "common/capacity.h"
#include "common/say.h"
#include "common/shortfall.h"
#include "inf/addreg_line.h"
#include "inf/destinations.h"
#include "inf/inf_messages.h"
#include "inf/inf_stream.h"
#include "inf/names.h"
#include "inf/text.h"
#include "platform/platform.h"

// A header is a normalised line that begins with '['. It names its
// section by the text up to its first ']', which must end the line: a
// header without one, or with text after it ("[Drv.Copy] x"), names no
// section anyone could be sure of. In code page 932 the trail byte of a
// double-byte character can be 0x5D ("ゾ" is 0x83 0x5D), and then it is no
// ']'.
enum HeaderKind { NOT_A_HEADER, HEADER_MALFORMED, HEADER_ADDREG, HEADER_COPY, HEADER_OTHER };

// What a normalised line is as written. Only a well-formed header is an
// AddReg or copy header, so that a value such as Desc = "Disk Copy] tool"
// is neither.
static HeaderKind headerKind(const char *line) {
    if (line[0] != '[')
        return NOT_A_HEADER;
    const char *close = textFindChar(line, ']');
    if (*close != ']' || close[1] != '\0')
        return HEADER_MALFORMED;
    SectionMark mark = sectionMark(line);
    if (mark == SECTION_MARK_ADDREG)
        return HEADER_ADDREG;
    if (mark == SECTION_MARK_COPY || isListedSectionHeader(line))
        return HEADER_COPY;
    return HEADER_OTHER;
}

// True when a well-formed header of `kind` naming `name` was meant for an
// AddReg or copy section but differs from one in ASCII letter case only:
// "[drv.copy]", "[X.addreg]", or a name whose [DestinationDirs] entry is
// written in another case. Installing it, or sending its files to the
// default directory, could not be what the file asked for.
static bool differsOnlyInCase(HeaderKind kind, const char *name) {
    if (destinationNameMatch(name) == DESTINATION_MATCH_IGNORING_CASE)
        return true;
    return kind == HEADER_OTHER &&
           (endsWithIgnoreCase(name, "AddReg") || endsWithIgnoreCase(name, "Copy") ||
            endsWithIgnoreCase(name, "CopyFiles"));
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
            say(INF_MSG_DESTINATION_DIRS_FOUND, line);
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
        HeaderKind kind = headerKind(line);
        if (kind == HEADER_ADDREG) {
            say(INF_MSG_ADDREG_FOUND, line);
            ++*addRegCount;
        } else if (kind == HEADER_COPY) {
            say(INF_MSG_COPY_FOUND, line);
            ++*copyCount;
        }
    }
}

InfCheck infCheckFile(InfStream *stream) {
    if (infHasUtf16Mark(stream))
        return INF_CHECK_UTF16;
    if (infHasUtf8Mark(stream))
        return INF_CHECK_UTF8;
    bool classSeen = false;
    bool destinationDirsSeen = false;
    findDestinationsAndClass(stream, &classSeen, &destinationDirsSeen);
    if (stream->failed)
        return INF_CHECK_READ_FAILED;
    if (!classSeen)
        return INF_CHECK_NOT_LEGACY_DRIVER;
    if (!destinationDirsSeen)
        return INF_CHECK_NO_DESTINATION_DIRS;
    if (!hasDefaultDestDir())
        return INF_CHECK_NO_DEFAULT_DEST_DIR;

    int addRegCount = 0;
    int copyCount = 0;
    countSections(stream, &addRegCount, &copyCount);
    if (stream->failed)
        return INF_CHECK_READ_FAILED;
    if (addRegCount != 1)
        return INF_CHECK_TOO_COMPLEX;
    if (copyCount == 0)
        return INF_CHECK_NO_COPY_SECTION;
    return INF_CHECK_PASSED;
}

struct CopyContext {
    InfStream *stream;
    const char *infDirectory;
    const char *destinationDirectory;
    const InfInstallActions *actions;
};

struct AddRegContext {
    InfStream *stream;
    const InfInstallActions *actions;
};

// A copy line is taken exactly as it stands: no trimming, no cutting at
// ';', no splitting at commas. Only the three system directories may be
// written, so a line that could reach outside them is refused before any
// path is composed.
static void copyLine(char *line, void *context) {
    const CopyContext *copy = static_cast<const CopyContext *>(context);
    if (isUnsafeFileName(line)) {
        say(INF_MSG_BAD_FILE_NAME, line);
        shortfallAdd();
        return;
    }
    char source[PATH_SIZE];
    char destination[PATH_SIZE];
    if (!composePath(source, copy->infDirectory, line) ||
        !composePath(destination, copy->destinationDirectory, line)) {
        say(INF_MSG_PATH_TOO_LONG, line);
        shortfallAdd();
        return;
    }
    if (!copy->actions->file(source, destination, copy->actions->context))
        copy->stream->stopped = true;
}

static void addRegLine(char *text, void *context) {
    const AddRegContext *addReg = static_cast<const AddRegContext *>(context);
    AddRegLine line;
    if (readAddRegLine(text, &line) && !addReg->actions->value(&line, addReg->actions->context))
        addReg->stream->stopped = true;
}

// Pass 3 at a header line: hands the body of an AddReg or copy section to
// its reader, or reports a header that cannot be taken as written. Any
// other section's lines pass through the caller's loop.
static void walkHeader(InfStream *stream, const char *line, HeaderKind kind,
                       const char *infDirectory, const InfInstallActions *actions) {
    if (kind == HEADER_MALFORMED) {
        say(INF_MSG_HEADER_UNREADABLE, line);
        shortfallAdd();
        return;
    }
    if (kind == HEADER_ADDREG) {
        AddRegContext context = {stream, actions};
        readSectionBody(stream, addRegLine, &context);
        if (!stream->stopped && actions->addRegSectionEnd)
            actions->addRegSectionEnd(actions->context);
        return;
    }
    char name[LINE_SIZE]; // between the brackets
    strcpy(name, line + 1);
    name[strlen(name) - 1] = '\0';
    if (differsOnlyInCase(kind, name)) {
        say(INF_MSG_HEADER_CASE_MISMATCH, line);
        shortfallAdd();
        return;
    }
    if (kind != HEADER_COPY)
        return;
    char destination[PATH_SIZE];
    if (destinationForSection(name, destination)) {
        CopyContext context = {stream, infDirectory, destination, actions};
        readSectionBody(stream, copyLine, &context);
    } else {
        say(INF_MSG_UNSUPPORTED_DESTINATION, name);
        shortfallAdd();
    }
}

InfWalk infWalkInstallation(InfStream *stream, const char *infDirectory,
                            const InfInstallActions *actions) {
    char line[LINE_SIZE];
    infRewind(stream);
    while (readLine(stream, line)) {
        normaliseLine(line);
        HeaderKind kind = headerKind(line);
        if (kind != NOT_A_HEADER) {
            walkHeader(stream, line, kind, infDirectory, actions);
        } else if (isAddServiceLine(line)) {
            say(INF_MSG_ADDSERVICE_UNSUPPORTED, line);
            shortfallAdd();
        }
    }
    if (stream->stopped)
        return INF_WALK_STOPPED;
    return stream->failed ? INF_WALK_READ_FAILED : INF_WALK_DONE;
}
