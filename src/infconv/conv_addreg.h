// The AddReg lines the install section and each service section name,
// converted into values of the file's one AddReg section (conv_output.h):
// HKLM keys below the services key, and HKR lines of a service below that
// service's key; REG_SZ, REG_EXPAND_SZ (its %10%, %11%, %12% put in as
// the folders they stand for) and REG_DWORD, written as one number or as
// four bytes. Uninstall entries are listed as not needed; everything else
// is left out with its reason (conv_report.h).

#ifndef INFCONV_CONV_ADDREG_H
#define INFCONV_CONV_ADDREG_H

#include <cstddef>

// The Windows directory as REG_EXPAND_SZ data names it.
const char CONV_SYSTEM_ROOT[] = "%SystemRoot%\\";

// "AddReg = <list>" at the input's line `number`; `service` is the
// service whose section holds the line (its HKR), or null. A line that
// writes below a service's key goes through the service's gate
// (conv_gate.h); a service's own AddReg writes below its key only.
void convConvertAddRegSections(const char *service, const char *list, const char *line,
                               unsigned long number);

// Notes for the gate what each line of the sections writes, reporting
// nothing: the pass before convConvertAddRegSections.
void convGatherAddRegSections(const char *service, const char *list);

// Copies `text` into `out` (`size` bytes), each %10%, %11%, %12% put in as
// the folder it stands for when `expand`; why not, for any other directory
// id (a %number%), or for any id when not `expand`. Other %names% (such as
// %SystemRoot%) pass as they are.
const char *convPutDirectoryIds(const char *text, bool expand, char *out, size_t size);

#endif
