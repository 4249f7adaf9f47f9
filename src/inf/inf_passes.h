// The passes over an INF file, as the installer reads it. Pass 1 reads
// [DestinationDirs] and looks for the class line; after the checks, pass 2
// counts the AddReg and copy section headers; only a file with exactly one
// AddReg section and at least one copy section reaches pass 3, the
// installation pass, which walks the sections in the order of the file and
// hands every copy line and every AddReg line that passed its checks to a
// program's own actions. The installer copies and writes; the uninstaller
// compares and takes back. Because both read the file through here, they
// cannot read one line two ways.
//
// A header is a normalised line that begins with '[' and names its section
// by the text up to its first ']', which must end it. Section readers
// leave the stream at the next header, indented or not, so every header
// line of the file passes through the loops here. A seek or a read that
// fails stops the run at once: the stream no longer knows what the file
// holds from there on.

#ifndef INFINST_INF_PASSES_H
#define INFINST_INF_PASSES_H

struct AddRegLine;
struct InfStream;

// How the checks of passes 1 and 2 ended.
enum InfCheck {
    INF_CHECK_PASSED,
    INF_CHECK_READ_FAILED,
    INF_CHECK_NOT_LEGACY_DRIVER,
    INF_CHECK_NO_DESTINATION_DIRS,
    INF_CHECK_NO_DEFAULT_DEST_DIR,
    INF_CHECK_TOO_COMPLEX,
    INF_CHECK_NO_COPY_SECTION,
    INF_CHECK_UTF16,
    INF_CHECK_UTF8
};

// Passes 1 and 2 with the checks after each, on a stream just opened (a
// file saved as UTF-16, or as UTF-8 with its byte-order mark, is refused
// before them); the destination table is
// filled on the way. Which messages end a refused run is the caller's.
InfCheck infCheckFile(InfStream *stream);

// What a program does with the lines of the installation pass. Each
// answers false when the run must end at once (the installer could not
// extend its record): the pass then stops reading.
struct InfInstallActions {
    // A copy line whose name stays inside the directories and whose two
    // paths fit PATH_SIZE: the file's source path (INF folder and line)
    // and destination path (the section's directory and line).
    bool (*file)(const char *source, const char *destination, void *context);
    // An AddReg line that passed every check.
    bool (*value)(const AddRegLine *line, void *context);
    // After the last line of the AddReg section; may be null.
    void (*addRegSectionEnd)(void *context);
    void *context;
};

// How the installation pass ended.
enum InfWalk { INF_WALK_DONE, INF_WALK_READ_FAILED, INF_WALK_STOPPED };

// Pass 3: reads the file once more and hands each line on, in the order of
// the file. Whatever cannot be handed on (a refused file name, a section
// without a supported destination, an AddReg line that does not read, an
// AddService line, a header without its ']' or with text after it, a
// section name that matches an AddReg or copy section only when letter
// case is ignored) is reported and counted in the shortfall. A seek or
// read that failed loses the stream's place, and the run must stop.
InfWalk infWalkInstallation(InfStream *stream, const char *infDirectory,
                            const InfInstallActions *actions);

#endif
