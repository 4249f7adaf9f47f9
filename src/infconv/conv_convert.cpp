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
#include "infconv/conv_files.h"
#include "infconv/conv_gate.h"
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

// True when [Version] carries a signature the setup engine takes; the
// signature into `signature` (a CONV_FIELD_SIZE buffer).
bool hasSignature(char *signature) {
    static const char *const SIGNATURES[] = {"$Windows NT$", "$Chicago$", "$Windows 95$"};
    const char *rest = convFindEntry("Version", "Signature");
    ConvFields fields;
    convReadFields(rest ? rest : "", &fields);
    strcpy(signature, convField(&fields, 0));
    const int count = sizeof SIGNATURES / sizeof SIGNATURES[0];
    int known = 0;
    while (known < count && !equalsIgnoreCase(signature, SIGNATURES[known]))
        ++known;
    return known < count;
}

// True when some section's name holds ".NT" (ASCII case ignored): a
// Windows 9x INF file may carry sections for NT beside its own.
bool hasNTSection() {
    for (int i = 0; convSectionName(i); ++i) {
        for (const char *p = convSectionName(i); *p; p = textNextChar(p)) {
            if (startsWithIgnoreCase(p, ".NT"))
                return true;
        }
    }
    return false;
}

// Says what a file without a [Version] signature is, which no setup
// engine of NT reads.
void sayWhatTheFileIs() {
    if (convHasSection("AutoRun"))
        say(CONV_MSG_AUTORUN);
    else if (convFindEntry("Defines", "INF_VERSION"))
        say(CONV_MSG_BUILD_FILE);
    else if (convHasSection("disks"))
        say(CONV_MSG_WINDOWS_31);
    else
        say(CONV_MSG_NO_SIGNATURE);
}

// The first of the install sections the converter reads, or null.
const char *findInstallSection() {
    static const char *const NAMES[] = {"DefaultInstall.NTx86", "DefaultInstall.NT",
                                        "DefaultInstall"};
    const char *section = nullptr;
    for (int i = 0; i < 3 && !section; ++i) {
        if (convHasSection(NAMES[i]))
            section = NAMES[i];
    }
    return section;
}

// Says why a file without an install section cannot be converted.
void sayWhyNoInstallSection() {
    static const char *const OTHER_MACHINES[] = {".NTAMD64", ".NTIA64", ".NTARM"};
    char signature[CONV_FIELD_SIZE];
    if (convInstallerForm()) {
        say(CONV_MSG_ALREADY_CONVERTED);
        return;
    }
    if (convFindEntry("Identification", "OptionType")) {
        say(CONV_MSG_SETUP_SCRIPT);
        return;
    }
    if (!hasSignature(signature)) {
        sayWhatTheFileIs();
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
    if (!equalsIgnoreCase(signature, "$Windows NT$") && !hasNTSection())
        say(CONV_MSG_WINDOWS_9X, signature);
    else
        say(CONV_MSG_NO_INSTALL_SECTION_1 CONV_MSG_NO_INSTALL_SECTION_2);
}

// What makes the file a class filter's, or null: [Version]'s
// DriverPackageType, or an AddReg line of the install section that writes
// a device class's UpperFilters or LowerFilters.
const char *classFilter(const char *section, char *what) {
    static const char CLASS_KEY[] = "System\\CurrentControlSet\\Control\\Class\\";
    const char *rest = convFindEntry("Version", "DriverPackageType");
    ConvFields fields;
    convReadFields(rest ? rest : "", &fields);
    if (equalsIgnoreCase(convField(&fields, 0), "ClassFilter"))
        return strcpy(what, "DriverPackageType=ClassFilter");
    ConvCursor cursor = {0, 0};
    const char *line;
    unsigned long number;
    while (convNextEntry(section, "AddReg", &cursor, &line, &number, &rest)) {
        convReadFields(rest, &fields);
        for (int i = 0; i < fields.count; ++i) {
            ConvCursor regCursor = {0, 0};
            const char *regLine;
            unsigned long regNumber;
            ConvFields reg;
            while (convNextLine(fields.text[i], &regCursor, &regLine, &regNumber)) {
                convReadFields(regLine, &reg);
                const char *name = convField(&reg, 2);
                if (startsWithIgnoreCase(convField(&reg, 1), CLASS_KEY) &&
                    (equalsIgnoreCase(name, "UpperFilters") ||
                     equalsIgnoreCase(name, "LowerFilters")))
                    return strcpy(what, name);
            }
        }
    }
    return nullptr;
}

} // namespace

bool convInstallerForm() {
    return !findInstallSection() && convHasLegacyDriverClass();
}

const char *convChooseInstallSection() {
    const char *section = findInstallSection();
    if (!section) {
        sayWhyNoInstallSection();
        return nullptr;
    }
    char what[CONV_FIELD_SIZE];
    if (classFilter(section, what)) {
        say(CONV_MSG_CLASS_FILTER, what);
        return nullptr;
    }
    return section;
}

// The files first, as a service needs its file carried over; then what
// every line gives each service, which passes its gate or not as a whole;
// then the services, so that the install section's AddReg lines know
// which were left out; then the rest of the install section, and the
// warnings on the values finally written.
void convConvertInstallSection(const char *section) {
    ConvCursor cursor = {0, 0};
    const char *line;
    unsigned long number;
    char key[CONV_FIELD_SIZE];
    const char *rest;
    while (convNextEntry(section, "CopyFiles", &cursor, &line, &number, &rest)) {
        convConvertCopyFiles(rest, line, number);
        if (convImageRefused())
            return;
    }
    convGatherServices(section);
    convConvertServices();
    cursor = ConvCursor{0, 0};
    while (convNextLine(section, &cursor, &line, &number)) {
        bool entry = convSplitEntry(line, key, &rest);
        if (entry && equalsIgnoreCase(key, "CopyFiles"))
            continue;
        if (entry && equalsIgnoreCase(key, "AddReg"))
            convConvertAddRegSections(nullptr, rest, line, number);
        else if (entry && (equalsIgnoreCase(key, "CopyINF") || equalsIgnoreCase(key, "OptionDesc")))
            convNotNeeded(number, line);
        else
            convLeftOut(number, CONV_WHY_DIRECTIVE, line);
    }
    convGateWarn();
}
