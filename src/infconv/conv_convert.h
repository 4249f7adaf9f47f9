// Converting what the install section of a driver INF file of the NT 4.0
// kind asks for into the installer's form (conv_output.h): which section
// that is, whether the file is one the converter takes at all, and the
// order of the parts of the conversion. Its CopyFiles become copy sections
// (conv_copy.h); the AddService lines of its services section and its
// AddReg sections become registry values below the services key, each
// service's only once it passed its gate (conv_services.h, conv_gate.h,
// conv_addreg.h). Everything it cannot carry over is dropped and reported
// after the conversion, and what NT 3.x does not need is listed apart
// (conv_report.h).

#ifndef INFCONV_CONV_CONVERT_H
#define INFCONV_CONV_CONVERT_H

// The install section: the first of [DefaultInstall.NTx86],
// [DefaultInstall.NT] and [DefaultInstall]. Null, with the reason said,
// when there is none or the file is one the converter refuses: already in
// the installer's form, an NT or Windows 3.1 setup script, no driver INF
// file, a template not yet made for a machine, for other machines or
// Windows 9x only, a class filter, or for Plug and Play.
const char *convChooseInstallSection();

// True when the file is in the installer's own form: none of the install
// sections, and the class line Class=LegacyDriver. Its files are then
// checked, not converted (convCheckFilesBeside).
bool convInstallerForm();

// Converts the install section and its services section; stops at an
// image for another machine (convImageRefused).
void convConvertInstallSection(const char *section);

#endif
