// One run over an INF file, as the installer and the uninstaller both make
// it: the operating-system gate, the INF path from the command line or the
// search of the current folder, the one-character agreement, opening the
// file with the checks of passes 1 and 2, and the end of the run with its
// messages, its key wait and the release of what reading the file took.
// Both programs go through here, so that they start, refuse and end alike;
// each adds only what it does with the lines of the installation pass
// (inf/inf_passes.h) and its own texts.
//
// The messages of this layer are in session/session_messages.h.

#ifndef INFINST_SESSION_H
#define INFINST_SESSION_H

#include "common/capacity.h"
#include "inf/inf_passes.h"
#include "inf/inf_stream.h"

// The INF file of a run and where its driver's files lie.
struct InfSession {
    char composedPath[PATH_SIZE]; // the search's path, when no argument
    const char *infPath;          // the argument, or composedPath
    char infDirectory[PATH_SIZE]; // the INF path up to its last separator
    InfStream stream;
    bool fileOpen;
};

// Back to the reading state of a fresh process: the destination table and
// the shortfall count. Each program calls it from its own reset.
void sessionReset();

// The start of a run after the program's banner: the system gate, then
// the INF path from the command line. False when the run ends here with
// exit code 1, its message printed and a key waited for: a refused system
// (`osRefused`, the program's own text), more than one argument, a path
// too long or a name not an INF file's, nor one ending in `alsoTaken` (an
// extension, or null). Else prints the path.
bool sessionBegin(InfSession *session, int argc, char **argv, const char *osRefused,
                  const char *alsoTaken);

// Reads the agreement from standard input: true only when the first
// character typed is '1'. The rest of the typed line is never read.
bool sessionAgrees();

// Opens the INF file and runs the checks of passes 1 and 2, the
// destination table filled on the way. False when the run ends here with
// exit code 1: the file could not be opened (reported on standard error)
// or a check failed; its messages are printed, a key waited for and the
// table released.
bool sessionOpen(InfSession *session);

// Pass 3 over the open file (infWalkInstallation). After a read or a seek
// that failed, the run must end with SESSION_MSG_READ_FAILED.
InfWalk sessionWalk(InfSession *session, const InfInstallActions *actions);

// The end of reading: closes the file and releases the destination table.
// Nothing when the file is no longer open.
void sessionCloseFile(InfSession *session);

// The end of every run after the INF file was opened: the reading ended,
// `first` and `second` printed (`second` may be null), a key waited for.
// Answers `exitCode`.
int sessionEnd(InfSession *session, const char *first, const char *second, int exitCode);

// Prints `message`, waits for a key and answers the exit code 1: a run
// that ends before its INF file was opened.
int sessionRefuse(const char *message);

// Prints the key-wait text and waits for one key, or for none when no key
// can be read.
void sessionWaitForKey();

#endif
