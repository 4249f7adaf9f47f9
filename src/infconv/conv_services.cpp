// The services section; see conv_services.h.
//
// The setup engine reads the first line of each entry of a service
// section; so does the converter, and a later line of the same entry is
// reported. AddReg lines are all read, as the setup engine reads them.

#include "infconv/conv_services.h"

#include <cstdint>
#include <cstring>

#include "common/capacity.h"
#include "inf/addreg_line.h"
#include "inf/text.h"
#include "infconv/conv_addreg.h"
#include "infconv/conv_gate.h"
#include "infconv/conv_output.h"
#include "infconv/conv_reader.h"
#include "infconv/conv_report.h"
#include "infconv/infconv_messages.h"

namespace {

// The install section's services: "[<install section>.Services]".
char g_servicesSection[CONV_FIELD_SIZE];

// The entries of a service section that are read once each.
const char *const ENTRIES[] = {"ServiceType",    "StartType",   "ErrorControl", "ServiceBinary",
                               "LoadOrderGroup", "DisplayName", "Dependencies"};
enum ConvEntry {
    ENTRY_TYPE,
    ENTRY_START,
    ENTRY_ERROR_CONTROL,
    ENTRY_BINARY,
    ENTRY_GROUP,
    ENTRY_DISPLAY_NAME,
    ENTRY_DEPENDENCIES,
    ENTRY_COUNT
};

// The entry a key names, or ENTRY_COUNT for any other.
int entryOf(const char *key) {
    int entry = 0;
    while (entry < ENTRY_COUNT && !equalsIgnoreCase(key, ENTRIES[entry]))
        ++entry;
    return entry;
}

// The number an entry gives; why not.
const char *entryNumber(const ConvFields &fields, uint32_t *number) {
    if (fields.tooLong)
        return CONV_WHY_TOO_LONG;
    return readStrictNumber(convField(&fields, 0), number) ? nullptr : CONV_WHY_NUMBER;
}

// A service name the installer writes as one key below the services key.
bool isServiceName(const char *name) {
    return name[0] != '\0' && *textFindSeparator(name) == '\0' && !strchr(name, '"') &&
           sectionMark(name) != SECTION_MARK_ADDREG;
}

// Notes for the gate what the first line of each entry of the service's
// section gives it, then what the lines of its AddReg sections write.
void gatherSection(int service, const char *name, const char *section) {
    static const ConvServiceValue NUMBERS[] = {CONV_VALUE_TYPE, CONV_VALUE_START,
                                               CONV_VALUE_ERROR_CONTROL};
    unsigned long first[ENTRY_COUNT] = {};
    ConvCursor cursor = {0, 0};
    const char *text;
    unsigned long line;
    char key[CONV_FIELD_SIZE];
    const char *rest;
    while (convNextLine(section, &cursor, &text, &line)) {
        int entry = convSplitEntry(text, key, &rest) ? entryOf(key) : ENTRY_COUNT;
        if (entry == ENTRY_COUNT || first[entry])
            continue;
        first[entry] = line;
        ConvFields fields;
        convReadFields(rest, &fields);
        uint32_t number = 0;
        if (entry <= ENTRY_ERROR_CONTROL && !entryNumber(fields, &number))
            convGateNote(service, NUMBERS[entry], number, "", line);
        if (entry == ENTRY_BINARY && fields.tooLong)
            convGateRefuse(service, CONV_WHY_TOO_LONG);
        else if (entry == ENTRY_BINARY)
            convGateNote(service, CONV_VALUE_IMAGE_PATH, 0, convField(&fields, 0), line);
        if (entry == ENTRY_GROUP)
            convGateNote(service, CONV_VALUE_GROUP, 0, convField(&fields, 0), line);
        for (int i = 0; entry == ENTRY_DEPENDENCIES && i < fields.count; ++i)
            convGateNote(service, CONV_VALUE_DEPENDENCY, 0, fields.text[i], line);
    }
    cursor = ConvCursor{0, 0};
    while (convNextEntry(section, "AddReg", &cursor, &text, &line, &rest))
        convGatherAddRegSections(name, rest);
}

// What an entry gives the service's key that its gate did not write
// already; why it gives nothing.
const char *convertEntry(const char *key, int entry, const ConvFields &fields) {
    uint32_t number;
    switch (entry) {
    case ENTRY_TYPE:
    case ENTRY_START:
    case ENTRY_ERROR_CONTROL: return entryNumber(fields, &number);
    case ENTRY_BINARY: return nullptr;
    case ENTRY_GROUP:
    case ENTRY_DISPLAY_NAME: {
        if (fields.tooLong)
            return CONV_WHY_TOO_LONG;
        // REG_SZ: a directory id would be written as it stands.
        char text[CONV_FIELD_SIZE];
        const char *why = convPutDirectoryIds(convField(&fields, 0), false, text, sizeof text);
        return why ? why
                   : convAddValue(key, entry == ENTRY_GROUP ? "Group" : "DisplayName",
                                  ADDREG_FLAGS_SZ, text, 0);
    }
    case ENTRY_DEPENDENCIES: return CONV_WHY_DEPENDENCIES;
    default: return CONV_WHY_SERVICE_KEY;
    }
}

// One line of the section of a service that passed its gate; `first`
// holds the line of each entry read so far.
void convertServiceLine(const char *name, const char *key, unsigned long *first, const char *line,
                        unsigned long number) {
    char entryKey[CONV_FIELD_SIZE];
    const char *rest;
    if (!convSplitEntry(line, entryKey, &rest)) {
        convLeftOut(number, CONV_WHY_SERVICE_KEY, line);
        return;
    }
    if (equalsIgnoreCase(entryKey, "AddReg")) {
        convConvertAddRegSections(name, rest, line, number);
        return;
    }
    if (equalsIgnoreCase(entryKey, "Description") || equalsIgnoreCase(entryKey, "OptionDesc")) {
        convNotNeeded(number, line);
        return;
    }
    int entry = entryOf(entryKey);
    if (entry < ENTRY_COUNT && first[entry]) {
        char reason[CONV_REASON_SIZE];
        char digits[NUMBER_TEXT_SIZE];
        convLeftOut(number,
                    convReason(reason, CONV_WHY_REPEATED, convLineNumber(first[entry], digits)),
                    line);
        return;
    }
    if (entry < ENTRY_COUNT)
        first[entry] = number;
    ConvFields fields;
    convReadFields(rest, &fields);
    const char *why = convertEntry(key, entry, fields);
    if (why)
        convLeftOut(number, why, line);
}

// Names each flag of an AddService line: the file written honours none.
void reportFlags(const char *flags, const char *line, unsigned long number) {
    static const char *const NAMES[] = {CONV_FLAG_NAMES};
    const unsigned known = sizeof NAMES / sizeof NAMES[0];
    uint32_t value = 0;
    if (flags[0] != '\0' && !readStrictNumber(flags, &value))
        convLeftOut(number, CONV_WHY_NUMBER, line);
    for (unsigned bit = 0; bit < 32; ++bit) {
        if (!(value >> bit & 1))
            continue;
        char digits[NUMBER_TEXT_SIZE];
        writeNumberText(1u << bit, true, digits);
        // "0x00000800" as "0x800".
        size_t zeros = strspn(digits + 2, "0");
        memmove(digits + 2, digits + 2 + zeros, strlen(digits + 2 + zeros) + 1);
        char reason[CONV_REASON_SIZE];
        convLeftOut(number,
                    convReason(reason, CONV_WHY_SERVICE_FLAG, digits,
                               bit < known ? NAMES[bit] : CONV_FLAG_UNKNOWN),
                    line);
    }
}

// Why an AddService line names no service of the gate's.
const char *unnamedWhy(const ConvFields &fields) {
    if (fields.tooLong)
        return CONV_WHY_TOO_LONG;
    return isServiceName(convField(&fields, 0)) ? CONV_WHY_TOO_MANY : CONV_WHY_SERVICE_NAME;
}

// "AddService = name, flags, section[, event log section]".
void convertService(const char *list, const char *line, unsigned long number) {
    ConvFields fields;
    convReadFields(list, &fields);
    const char *name = convField(&fields, 0);
    int service = isServiceName(name) ? convGateFindService(name) : -1;
    char reason[CONV_REASON_SIZE];
    char digits[NUMBER_TEXT_SIZE];
    const char *why;
    if (service < 0)
        why = unnamedWhy(fields);
    else if (convGateAddServiceLine(service) != number)
        why = convReason(reason, CONV_WHY_SERVICE_REPEATED, name,
                         convLineNumber(convGateAddServiceLine(service), digits));
    else if (!convGatePassed(service))
        why = convGateWhy(service);
    else
        why = convGateWrite(service);
    if (why) {
        convLeftOut(number, why, line);
        return;
    }
    reportFlags(convField(&fields, 1), line, number);
    if (convField(&fields, 3)[0] != '\0')
        convLeftOut(number, CONV_WHY_EVENT_LOG, convField(&fields, 3));
    char key[CONV_KEY_SIZE];
    convServiceKey(key, name, "");
    unsigned long first[ENTRY_COUNT] = {};
    ConvCursor cursor = {0, 0};
    const char *text;
    unsigned long textNumber;
    while (convNextLine(convField(&fields, 2), &cursor, &text, &textNumber))
        convertServiceLine(name, key, first, text, textNumber);
}

} // namespace

void convGatherServices(const char *installSection) {
    strcpy(g_servicesSection, installSection);
    strcat(g_servicesSection, ".Services");
    // Every service an AddService line names, before any AddReg line of
    // the install section can make a key a service of its own. A service's
    // own AddReg writes below its key only, and so makes no service: each
    // service's section is gathered as its line is reached.
    ConvCursor cursor = {0, 0};
    const char *line;
    unsigned long number;
    const char *rest;
    ConvFields fields;
    while (convNextEntry(g_servicesSection, "AddService", &cursor, &line, &number, &rest)) {
        convReadFields(rest, &fields);
        const char *name = convField(&fields, 0);
        int service = isServiceName(name) ? convGateAddService(name, number) : -1;
        if (service >= 0 && fields.tooLong)
            convGateRefuse(service, CONV_WHY_TOO_LONG);
        else if (service >= 0 && !convHasSection(convField(&fields, 2)))
            convGateRefuse(service, CONV_WHY_NO_SECTION);
        else if (service >= 0)
            gatherSection(service, name, convField(&fields, 2));
    }
    cursor = ConvCursor{0, 0};
    while (convNextEntry(installSection, "AddReg", &cursor, &line, &number, &rest))
        convGatherAddRegSections(nullptr, rest);
    convGateDecide();
}

void convConvertServices() {
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
    convGateWriteOthers();
}

void convServiceKey(char *key, const char *service, const char *subkey) {
    strcpy(key, SERVICES_KEY_PREFIX);
    strcat(key, service);
    if (subkey[0] != '\0') {
        strcat(key, "\\");
        strcat(key, subkey);
    }
}
