// The warning about a driver the kernel cannot load. NT's kernel loads a
// driver (a service whose Type is 1, 2 or 8) from its ImagePath as a path
// relative to the Windows folder, or from \SystemRoot\...; it expands no
// %SystemRoot% and knows no drive letters. An AddReg section that writes
// such a Type and an ImagePath beginning with '%' or a drive writes what
// it asks for, and the installer warns, once for each such key, after the
// section's last line, in the order the keys were first written.

#ifndef INFINST_DRIVER_IMAGE_PATH_H
#define INFINST_DRIVER_IMAGE_PATH_H

struct AddRegLine;
struct AddRegValue;

// Forgets every key, as at the start of a run.
void imagePathReset();

// Tells what a line wrote: its value, as written (or found already so).
void imagePathWritten(const AddRegLine &line, const AddRegValue &value);

// Tells that a line's value was not written.
void imagePathNotWritten(const AddRegLine &line);

// Prints the warnings, after the AddReg section.
void imagePathSayWarnings();

#endif
