// Converting what the install section of a driver INF file of the NT 4.0
// kind asks for into the installer's form (conv_output.h): which section
// that is, and the order of the parts of the conversion. Its CopyFiles
// become copy sections (conv_copy.h), the AddService lines of its
// services section and its AddReg sections registry values below the
// services key (conv_services.h, conv_addreg.h). Everything it cannot
// carry over is dropped and reported after the conversion, and what NT
// 3.x does not need is listed apart (conv_report.h).

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

#endif
