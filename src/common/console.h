// What every program of the project does with the console around a run:
// the operating-system gate, the key wait before the window closes, the
// one-character agreement, and a refusal that says why and waits. The
// installer and the uninstaller start and end their runs through these,
// so that both behave alike on the same system.

#ifndef INFINST_CONSOLE_H
#define INFINST_CONSOLE_H

// True when this system must not be installed on: the version cannot be
// had, or it is Windows NT 4.0 or later.
bool osIsRefused();

// Prints the key-wait text and waits for one key, or for none when no key
// can be read.
void waitForKey();

// Reads the agreement from standard input: true only when the first
// character typed is '1'. The rest of the typed line is never read.
bool readAgreement();

// Prints `message`, waits for a key and answers the exit code 1.
int refuseAndWait(const char *message);

#endif
