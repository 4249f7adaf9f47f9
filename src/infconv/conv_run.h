// One run of the converter: the command line, reading the INF file,
// converting its install section, the closing count of what was left out,
// and writing the new INF file where the installer finds the driver's
// files beside it. Exit code 0 when a file was written, 1 otherwise.

#ifndef INFCONV_CONV_RUN_H
#define INFCONV_CONV_RUN_H

// The name the converter gives the file it writes when no output is named.
extern const char CONV_OUTPUT_NAME[];

int runConverter(int argc, char **argv);

#endif
