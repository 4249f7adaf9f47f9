// Converting the install section; see conv_convert.h.
//
// INF section names, keys and directives compare without regard to ASCII
// case, as the setup engine compares them. The output keeps each name as
// the directive that named it first wrote it, so that the installer,
// which compares names exactly, finds every section it lists.

#include "infconv/conv_convert.h"

#include <cstring>

#include "common/say.h"
#include "inf/text.h"
#include "infconv/conv_addreg.h"
#include "infconv/conv_copy.h"
#include "infconv/conv_reader.h"
#include "infconv/conv_report.h"
#include "infconv/conv_services.h"
#include "infconv/infconv_capacity.h"
#include "infconv/infconv_messages.h"

namespace {

// The first section whose name begins with "DefaultInstall" and then
// holds `part` (ASCII case ignored) right after it, or anywhere when
// `anywhere`; null when none does.
const char *installSectionWith(const char *part, bool anywhere) {
    const size_t length = strlen("DefaultInstall");
    for (int i = 0; convSectionName(i); ++i) {
        const char *name = convSectionName(i);
        if (!startsWithIgnoreCase(name, "DefaultInstall"))
            continue;
        for (const char *p = name + length; *p; p = anywhere ? textNextChar(p) : "") {
            if (startsWithIgnoreCase(p, part))
                return name;
        }
    }
    return nullptr;
}

} // namespace

const char *convFindInstallSection() {
    static const char *const NAMES[] = {"DefaultInstall.NTx86", "DefaultInstall.NT",
                                        "DefaultInstall"};
    for (int i = 0; i < 3; ++i) {
        if (convHasSection(NAMES[i]))
            return NAMES[i];
    }
    return nullptr;
}

void convSayWhyNoInstallSection() {
    static const char *const OTHER_MACHINES[] = {".NTAMD64", ".NTIA64", ".NTARM"};
    if (convHasLegacyDriverClass()) {
        say(CONV_MSG_ALREADY_CONVERTED);
        return;
    }
    if (convFindEntry("Identification", "OptionType")) {
        say(CONV_MSG_SETUP_SCRIPT);
        return;
    }
    const char *section = installSectionWith("$ARCH$", true);
    if (section) {
        say(CONV_MSG_TEMPLATE, section);
        return;
    }
    for (const char *machine : OTHER_MACHINES) {
        section = installSectionWith(machine, false);
        if (section) {
            say(CONV_MSG_OTHER_MACHINE, section);
            return;
        }
    }
    say(CONV_MSG_NO_INSTALL_SECTION_1 CONV_MSG_NO_INSTALL_SECTION_2);
}

// The files first, as a service needs its file carried over; then the
// services, so that the install section's AddReg lines know which were
// left out; then the rest of the install section.
void convConvertInstallSection(const char *section) {
    convReportReset();
    ConvCursor cursor = {0, 0};
    const char *line;
    unsigned long number;
    char key[CONV_FIELD_SIZE];
    const char *rest;
    while (convNextEntry(section, "CopyFiles", &cursor, &line, &number, &rest))
        convConvertCopyFiles(rest, line, number);
    convConvertServices(section);
    cursor = ConvCursor{0, 0};
    while (convNextLine(section, &cursor, &line, &number)) {
        bool entry = convSplitEntry(line, key, &rest);
        if (entry && equalsIgnoreCase(key, "CopyFiles"))
            continue;
        if (entry && equalsIgnoreCase(key, "AddReg"))
            convConvertAddRegSections(nullptr, rest, line, number);
        else if (entry && equalsIgnoreCase(key, "CopyINF"))
            convNotNeeded(number, line);
        else
            convLeftOut(number, CONV_WHY_DIRECTIVE, line);
    }
}
