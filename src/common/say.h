// The one way every program's texts reach standard output. Each program
// and layer keeps its texts in a message header of its own, beside the
// code that prints them; INF text reaches say() only as an argument,
// never as the format.

#ifndef INFINST_SAY_H
#define INFINST_SAY_H

// Prints a text of a message header to standard output.
void say(const char *format, ...) __attribute__((format(printf, 1, 2)));

#endif
