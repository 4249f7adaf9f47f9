// Converting what the install section of a driver INF file of the NT 4.0
// kind asks for into the installer's form (conv_output.h): its CopyFiles
// into copy sections, the AddService lines of its services section and
// its AddReg sections into registry values below the services key.
// Everything it cannot carry over is reported with its input line number
// and the reason, counted as left out (common/shortfall.h), and dropped.

#ifndef INFCONV_CONV_CONVERT_H
#define INFCONV_CONV_CONVERT_H

#include <cstddef>

// The install section: the first of [DefaultInstall.NTx86],
// [DefaultInstall.NT] and [DefaultInstall]; null when there is none.
const char *convFindInstallSection();

// Converts the install section and its services section.
void convConvertInstallSection(const char *section);

// The folder that holds the driver's x86 files, relative to the INF
// file's folder, as [SourceDisksFiles.x86] (else [SourceDisksFiles]) and
// [SourceDisksNames.x86] (else [SourceDisksNames]) name it for the first
// file: its parts followed by `separator`, or the empty text when no
// folder is named. A name that could lead out of the INF file's folder is
// reported and taken as none. False when the folder does not fit `size`.
bool convSourceFolder(char *folder, size_t size, char separator);

#endif
