// Converting what the install section of a driver INF file of the NT 4.0
// kind asks for into the installer's form (conv_output.h): its CopyFiles
// into copy sections, the AddService lines of its services section and
// its AddReg sections into registry values below the services key.
// Everything it cannot carry over is counted as left out
// (common/shortfall.h), dropped, and reported after the conversion with its
// input line number and the reason;
// what NT 3.x does not need is listed apart and not counted.

#ifndef INFCONV_CONV_CONVERT_H
#define INFCONV_CONV_CONVERT_H

// The install section: the first of [DefaultInstall.NTx86],
// [DefaultInstall.NT] and [DefaultInstall]; null when there is none.
const char *convFindInstallSection();

// Says why a file without an install section cannot be converted: it is
// already in the installer's form, an NT setup script, a template not yet
// made for a machine, for other machines only, or for Plug and Play.
void convSayWhyNoInstallSection();

// Converts the install section and its services section.
void convConvertInstallSection(const char *section);

// Says what was left out, in the order of the input's lines, then the
// grouped list of what NT 3.x does not need, when there is any.
void convSayLeftOut();

#endif
