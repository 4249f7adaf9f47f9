// The services section; see conv_services.h.

#include "infconv/conv_services.h"

#include <cstring>

#include "common/say.h"
#include "inf/addreg_line.h"
#include "inf/directory_ids.h"
#include "inf/text.h"
#include "infconv/conv_addreg.h"
#include "infconv/conv_files.h"
#include "infconv/conv_output.h"
#include "infconv/conv_reader.h"
#include "infconv/conv_report.h"
#include "infconv/infconv_messages.h"

namespace {

// The install section's services: "[<install section>.Services]".
char g_servicesSection[CONV_FIELD_SIZE];

// True for boot (0) and system (1) start.
bool startedWithSystem(uint32_t start) {
    return start <= 1;
}

// What a service needs before any of its values is written: its type and
// start, and the ImagePath its ServiceBinary gives.
struct ConvService {
    uint32_t type;
    uint32_t start;        // 0xFFFFFFFF when not given
    uint32_t errorControl; // 0 when not given
    char imagePath[CONV_FIELD_SIZE + 32];
};

// The number of the first entry `key` of the section, or `otherwise`;
// false when it is there and no number.
bool serviceNumber(const char *section, const char *key, uint32_t otherwise, uint32_t *number) {
    *number = otherwise;
    const char *rest = convFindEntry(section, key);
    if (!rest)
        return true;
    ConvFields fields;
    convReadFields(rest, &fields);
    return !fields.tooLong && readStrictNumber(convField(&fields, 0), number);
}

// The directory a ServiceBinary names as "%10%\", "%11%\" or "%12%\" with
// a file name after it, and where that name begins; null for any other.
const DirectoryIdFolder *binaryFolder(const char *binary, const char **name) {
    if (binary[0] != '%' || strspn(binary + 1, "0123456789") != 2 || binary[3] != '%' ||
        binary[4] != '\\' || binary[5] == '\0')
        return nullptr;
    *name = binary + 5;
    return directoryIdFolder(static_cast<unsigned long>((binary[1] - '0') * 10 + binary[2] - '0'));
}

// ServiceBinary's %dirid%\name as the ImagePath the system reads: a driver
// (types 1, 2, 8) is loaded by the kernel, which takes a path relative to
// the Windows folder and expands nothing; a Win32 service (0x10, 0x20,
// with or without 0x100) is started by the service controller, which
// expands %SystemRoot%. Why the service is left out, when it is.
const char *examineService(const char *section, ConvService *service) {
    bool typed = convFindEntry(section, "ServiceType") &&
                 serviceNumber(section, "ServiceType", 0, &service->type);
    uint32_t own = service->type & ~0x100u;
    bool driver = service->type == 1 || service->type == 2 || service->type == 8;
    if (!typed || (!driver && own != 0x10 && own != 0x20))
        return CONV_WHY_SERVICE_TYPE;
    serviceNumber(section, "StartType", 0xFFFFFFFFu, &service->start);
    serviceNumber(section, "ErrorControl", 0, &service->errorControl);
    const char *rest = convFindEntry(section, "ServiceBinary");
    if (!rest)
        return CONV_WHY_NO_BINARY;
    ConvFields fields;
    convReadFields(rest, &fields);
    if (fields.tooLong)
        return CONV_WHY_TOO_LONG;
    const char *name = nullptr;
    const DirectoryIdFolder *folder = binaryFolder(convField(&fields, 0), &name);
    if (!folder)
        return CONV_WHY_BINARY_DIR;
    if (!convCarriesFile(name, folder->id))
        return CONV_WHY_BINARY_NOT_COPIED;
    strcpy(service->imagePath, driver ? "" : CONV_SYSTEM_ROOT);
    strcat(service->imagePath, folder->registryFolder);
    strcat(service->imagePath, name);
    return nullptr;
}

// The value a line of a service section gives the service's key; why
// not, when it gives none.
const char *convertServiceEntry(const char *name, const char *key, const char *entry,
                                const ConvFields &fields, const ConvService &service) {
    static const char *const DWORDS[][2] = {
        {"ServiceType", "Type"}, {"StartType", "Start"}, {"ErrorControl", "ErrorControl"}};
    static const char *const STRINGS[][2] = {{"LoadOrderGroup", "Group"},
                                             {"DisplayName", "DisplayName"}};
    if (fields.tooLong)
        return CONV_WHY_TOO_LONG;
    const char *value = convField(&fields, 0);
    for (int i = 0; i < 3; ++i) {
        if (!equalsIgnoreCase(entry, DWORDS[i][0]))
            continue;
        uint32_t number;
        if (!readStrictNumber(value, &number))
            return CONV_WHY_NUMBER;
        const char *why = convAddValue(key, DWORDS[i][1], ADDREG_FLAGS_DWORD, "", number);
        if (!why && i == 1)
            convWarnIfStartedWithSystem(name, number);
        return why;
    }
    for (int i = 0; i < 2; ++i) {
        if (!equalsIgnoreCase(entry, STRINGS[i][0]))
            continue;
        // REG_SZ: a directory id would be written as it stands.
        char text[CONV_FIELD_SIZE];
        const char *why = convPutDirectoryIds(value, false, text, sizeof text);
        return why ? why : convAddValue(key, STRINGS[i][1], ADDREG_FLAGS_SZ, text, 0);
    }
    if (equalsIgnoreCase(entry, "ServiceBinary"))
        return convAddValue(key, "ImagePath", ADDREG_FLAGS_EXPAND_SZ, service.imagePath, 0);
    return equalsIgnoreCase(entry, "Dependencies") ? CONV_WHY_DEPENDENCIES : CONV_WHY_SERVICE_KEY;
}

// One line of a service section.
void convertServiceLine(const char *name, const char *key, const ConvService &service,
                        const char *line, unsigned long number) {
    char entry[CONV_FIELD_SIZE];
    const char *rest;
    if (!convSplitEntry(line, entry, &rest)) {
        convLeftOut(number, CONV_WHY_SERVICE_KEY, line);
        return;
    }
    if (equalsIgnoreCase(entry, "AddReg")) {
        convConvertAddRegSections(name, rest, line, number);
        return;
    }
    if (equalsIgnoreCase(entry, "Description")) {
        convNotNeeded(number, line);
        return;
    }
    ConvFields fields;
    convReadFields(rest, &fields);
    const char *why = convertServiceEntry(name, key, entry, fields, service);
    if (why)
        convLeftOut(number, why, line);
}

// A service name the installer writes as one key below the services key.
bool isServiceName(const char *name) {
    return name[0] != '\0' && *textFindSeparator(name) == '\0' && !strchr(name, '"') &&
           sectionMark(name) != SECTION_MARK_ADDREG;
}

// Why the service an AddService line's `fields` name is left out whole;
// null when it is converted.
const char *serviceWhy(const ConvFields &fields, ConvService *service) {
    const char *section = convField(&fields, 2);
    if (fields.tooLong)
        return CONV_WHY_TOO_LONG;
    if (!isServiceName(convField(&fields, 0)))
        return CONV_WHY_SERVICE_NAME;
    if (!convHasSection(section))
        return CONV_WHY_NO_SECTION;
    return examineService(section, service);
}

// "AddService = name, flags, section[, event log section]".
void convertService(const char *list, const char *line, unsigned long number) {
    ConvFields fields;
    convReadFields(list, &fields);
    const char *name = convField(&fields, 0);
    const char *section = convField(&fields, 2);
    ConvService service = {};
    const char *why = serviceWhy(fields, &service);
    if (why) {
        convLeftOut(number, why, line);
        return;
    }
    say(CONV_MSG_SERVICE, name);
    if (convField(&fields, 3)[0] != '\0')
        convLeftOut(number, CONV_WHY_EVENT_LOG, convField(&fields, 3));
    char key[CONV_KEY_SIZE];
    convServiceKey(key, name, "");
    ConvCursor cursor = {0, 0};
    const char *text;
    unsigned long textNumber;
    while (convNextLine(section, &cursor, &text, &textNumber))
        convertServiceLine(name, key, service, text, textNumber);
    // Severe (2) and critical (3) error control on a service started with
    // the system: a failed load restarts NT or stops it.
    if (startedWithSystem(service.start) &&
        (service.errorControl == 2 || service.errorControl == 3))
        say(CONV_MSG_ERROR_CONTROL, name, static_cast<unsigned long>(service.errorControl));
}

} // namespace

void convConvertServices(const char *installSection) {
    strcpy(g_servicesSection, installSection);
    strcat(g_servicesSection, ".Services");
    ConvCursor cursor = {0, 0};
    const char *line;
    unsigned long number;
    char key[CONV_FIELD_SIZE];
    const char *rest;
    while (convNextLine(g_servicesSection, &cursor, &line, &number)) {
        if (convSplitEntry(line, key, &rest) && equalsIgnoreCase(key, "AddService"))
            convertService(rest, line, number);
        else
            convLeftOut(number, CONV_WHY_DIRECTIVE, line);
    }
}

// Whatever AddReg line writes the key: infinst must not register a
// service without its file.
bool convBelowRefusedService(const char *key) {
    if (!isServiceKey(key))
        return false;
    const char *name = key + SERVICES_KEY_PREFIX_LENGTH;
    size_t length = static_cast<size_t>(textFindSeparator(name) - name);
    bool refused = false;
    ConvCursor cursor = {0, 0};
    const char *line;
    unsigned long number;
    const char *rest;
    while (convNextEntry(g_servicesSection, "AddService", &cursor, &line, &number, &rest)) {
        ConvFields fields;
        convReadFields(rest, &fields);
        const char *service = convField(&fields, 0);
        if (strlen(service) != length || !startsWithIgnoreCase(name, service))
            continue;
        ConvService unused = {};
        if (!serviceWhy(fields, &unused))
            return false;
        refused = true;
    }
    return refused;
}

void convServiceKey(char *key, const char *service, const char *subkey) {
    strcpy(key, SERVICES_KEY_PREFIX);
    strcat(key, service);
    if (subkey[0] != '\0') {
        strcat(key, "\\");
        strcat(key, subkey);
    }
}

void convWarnIfStartedWithSystem(const char *service, uint32_t start) {
    if (startedWithSystem(start))
        say(CONV_MSG_BOOT_START, service, static_cast<unsigned long>(start));
}
