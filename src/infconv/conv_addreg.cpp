// The AddReg lines; see conv_addreg.h.

#include "infconv/conv_addreg.h"

#include <cstdint>
#include <cstring>

#include "common/capacity.h"
#include "inf/addreg_line.h"
#include "inf/directory_ids.h"
#include "inf/names.h"
#include "inf/text.h"
#include "infconv/conv_gate.h"
#include "infconv/conv_output.h"
#include "infconv/conv_reader.h"
#include "infconv/conv_report.h"
#include "infconv/conv_services.h"
#include "infconv/infconv_capacity.h"
#include "infconv/infconv_messages.h"

namespace {

// Where uninstall entries go: nothing on NT 3.x reads them.
const char UNINSTALL_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// A number of one or two hexadecimal digits, as INF files write bytes.
bool readByte(const char *text, uint32_t *byte) {
    char hex[8] = "0x";
    return strlen(text) <= 2 && readStrictNumber(strcat(hex, text), byte);
}

// The data of a REG_DWORD line: one number, or four bytes, lowest first.
bool readDword(const ConvFields &fields, uint32_t *number) {
    if (fields.count == 5)
        return readStrictNumber(fields.text[4], number);
    if (fields.count != 8)
        return false;
    *number = 0;
    for (int i = 7; i >= 4; --i) {
        uint32_t byte;
        if (!readByte(fields.text[i], &byte))
            return false;
        *number = *number << 8 | byte;
    }
    return true;
}

// Why a line of this AddReg type is not converted; null for REG_SZ,
// REG_EXPAND_SZ and REG_DWORD.
const char *typeWhy(uint32_t flags) {
    if (flags == ADDREG_FLAGS_SZ || flags == ADDREG_FLAGS_EXPAND_SZ || flags == ADDREG_FLAGS_DWORD)
        return nullptr;
    if ((flags & ADDREG_FLAGS_TYPE_MASK) == ADDREG_FLAGS_BINARY)
        return CONV_WHY_BINARY;
    if ((flags & ADDREG_FLAGS_TYPE_MASK) == ADDREG_FLAGS_MULTI_SZ)
        return CONV_WHY_MULTI_SZ;
    return CONV_WHY_FLAGS;
}

// Adds a value of the type `flags` names; why not.
const char *addRegValue(const char *key, const char *name, uint32_t flags, uint32_t number,
                        const char *data) {
    if (flags == ADDREG_FLAGS_DWORD)
        return convAddValue(key, name, ADDREG_FLAGS_DWORD, "", number);
    char text[CONV_FIELD_SIZE];
    const char *why = convPutDirectoryIds(data, flags == ADDREG_FLAGS_EXPAND_SZ, text, sizeof text);
    return why ? why : convAddValue(key, name, flags, text, 0);
}

// An AddReg line as the converter reads it: the key below
// HKEY_LOCAL_MACHINE it writes, the value's name, type and number (for
// REG_DWORD), or why it cannot be converted.
struct ConvRegLine {
    const char *why;
    bool notNeeded; // below the uninstall key
    char key[CONV_KEY_SIZE];
    const char *name;
    uint32_t flags;
    uint32_t number;
    ConvFields fields;
};

// Reads one line of an AddReg section; `service` is the service whose HKR
// it is, or null outside a service. Both passes over the file read each
// line here, so that they cannot take it differently.
void readRegLine(const char *service, const char *line, ConvRegLine *reg) {
    ConvFields &fields = reg->fields;
    convReadFields(line, &fields);
    const char *root = convField(&fields, 0);
    const char *subkey = convField(&fields, 1);
    reg->why = nullptr;
    reg->key[0] = '\0';
    reg->name = convField(&fields, 2);
    reg->flags = 0;
    reg->number = 0;
    bool machine = equalsIgnoreCase(root, "HKLM") || equalsIgnoreCase(root, "HKEY_LOCAL_MACHINE");
    size_t uninstallLength = strlen(UNINSTALL_KEY);
    reg->notNeeded = machine && startsWithIgnoreCase(subkey, UNINSTALL_KEY) &&
                     (subkey[uninstallLength] == '\0' || subkey[uninstallLength] == '\\');
    const char *flagsText = convField(&fields, 3);
    const char *why = nullptr;
    if (flagsText[0] != '\0' && !readStrictNumber(flagsText, &reg->flags))
        why = CONV_WHY_NUMBER;
    if (!why)
        why = typeWhy(reg->flags);
    if (!why && fields.tooLong)
        why = CONV_WHY_TOO_LONG;
    if (!why && equalsIgnoreCase(root, "HKR")) {
        if (service)
            convServiceKey(reg->key, service, subkey);
        else
            why = CONV_WHY_HKR;
    } else if (!why && machine) {
        strcpy(reg->key, subkey);
    }
    if (!why && !isServiceKey(reg->key))
        why = CONV_WHY_ROOT;
    char unused[CONV_FIELD_SIZE];
    if (!why && (convPutDirectoryIds(subkey, false, unused, sizeof unused) ||
                 convPutDirectoryIds(reg->name, false, unused, sizeof unused)))
        why = CONV_WHY_DIRECTORY_ID;
    // No name: the key alone, or with data its default value.
    if (!why && reg->name[0] == '\0')
        why = fields.count > 3 ? CONV_WHY_DEFAULT_VALUE : CONV_WHY_NO_VALUE_NAME;
    if (!why && reg->flags == ADDREG_FLAGS_DWORD && !readDword(fields, &reg->number))
        why = CONV_WHY_NUMBER;
    reg->why = why;
}

// True when a line of the service's own AddReg writes below another key
// than that service's.
bool belowOtherService(const char *service, const char *key) {
    return service && convGateServiceOfKey(key) != convGateFindService(service);
}

// Gathers one line for the gate (conv_gate.h).
void gatherRegLine(const char *service, const char *line, unsigned long number) {
    ConvRegLine reg;
    readRegLine(service, line, &reg);
    if (!reg.notNeeded && !reg.why && !belowOtherService(service, reg.key))
        convGateNoteLine(reg.key, reg.name, reg.flags, reg.number, convField(&reg.fields, 4),
                         number);
}

// Converts one line: a service's values go through its gate.
void convertRegLine(const char *service, const char *line, unsigned long number) {
    ConvRegLine reg;
    readRegLine(service, line, &reg);
    if (reg.notNeeded) {
        convNotNeeded(number, line);
        return;
    }
    char reason[CONV_REASON_SIZE];
    const char *why = reg.why;
    if (!why && belowOtherService(service, reg.key))
        why = convReason(reason, CONV_WHY_OTHER_SERVICE, service);
    const char *data = convField(&reg.fields, 4);
    if (!why) {
        switch (
            convGateLine(reg.key, reg.name, reg.flags, reg.number, data, number, reason, &why)) {
        case CONV_GATE_DONE: return;
        case CONV_GATE_WRITE:
            why = addRegValue(reg.key, reg.name, reg.flags, reg.number, data);
            break;
        case CONV_GATE_LEFT_OUT: break;
        }
    }
    if (why)
        convLeftOut(number, why, line);
}

// Walks the lines of each section of an AddReg list, reporting the
// sections that are not there when `report`.
void walkAddRegSections(const char *service, const char *list, const char *line,
                        unsigned long number, bool report,
                        void (*visit)(const char *, const char *, unsigned long)) {
    ConvFields fields;
    convReadFields(list, &fields);
    if (fields.tooLong && report)
        convLeftOut(number, CONV_WHY_TOO_LONG, line);
    for (int i = 0; i < fields.count; ++i) {
        const char *section = fields.text[i];
        if (section[0] == '\0')
            continue;
        if (!convHasSection(section)) {
            if (report)
                convLeftOut(number, CONV_WHY_NO_SECTION, section);
            continue;
        }
        ConvCursor cursor = {0, 0};
        const char *regLine;
        unsigned long regNumber;
        while (convNextLine(section, &cursor, &regLine, &regNumber))
            visit(service, regLine, regNumber);
    }
}

} // namespace

void convConvertAddRegSections(const char *service, const char *list, const char *line,
                               unsigned long number) {
    walkAddRegSections(service, list, line, number, true, convertRegLine);
}

void convGatherAddRegSections(const char *service, const char *list) {
    walkAddRegSections(service, list, "", 0, false, gatherRegLine);
}

const char *convPutDirectoryIds(const char *text, bool expand, char *out, size_t size) {
    size_t length = 0;
    char expanded[sizeof CONV_SYSTEM_ROOT + PATH_SIZE];
    for (const char *p = text; *p;) {
        const char *close = *p == '%' ? strchr(p + 1, '%') : nullptr;
        size_t count = close ? static_cast<size_t>(close - p) + 1 : 1;
        const char *piece = p;
        size_t digits = close ? strspn(p + 1, "0123456789") : 0;
        if (close && digits > 0 && p + 1 + digits == close) {
            int id = digits == 2 ? (p[1] - '0') * 10 + (p[2] - '0') : 0;
            const DirectoryIdFolder *folder = directoryIdFolder(static_cast<unsigned long>(id));
            if (!expand || !folder)
                return CONV_WHY_DIRECTORY_ID;
            // The folder without its last '\' ("%SystemRoot%" for id 10).
            strcpy(expanded, CONV_SYSTEM_ROOT);
            strcat(expanded, folder->registryFolder);
            count = strlen(expanded) - 1;
            piece = expanded;
        }
        if (length + count >= size)
            return CONV_WHY_TOO_LONG;
        memcpy(out + length, piece, count);
        length += count;
        p += close ? static_cast<size_t>(close - p) + 1 : 1;
    }
    out[length] = '\0';
    return nullptr;
}
