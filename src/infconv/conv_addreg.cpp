// The AddReg lines; see conv_addreg.h.

#include "infconv/conv_addreg.h"

#include <cstdint>
#include <cstring>

#include "common/capacity.h"
#include "inf/addreg_line.h"
#include "inf/directory_ids.h"
#include "inf/names.h"
#include "inf/text.h"
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

// The service whose own key `key` is, or null for any other key.
const char *serviceOfKey(const char *key) {
    if (!isServiceKey(key))
        return nullptr;
    const char *service = key + SERVICES_KEY_PREFIX_LENGTH;
    return *textFindSeparator(service) == '\0' ? service : nullptr;
}

// Adds a value of the type `flags` names; why not.
const char *addRegValue(const char *key, const char *name, uint32_t flags,
                        const ConvFields &fields) {
    const char *data = convField(&fields, 4);
    char text[CONV_FIELD_SIZE];
    if (flags == ADDREG_FLAGS_DWORD) {
        uint32_t number = 0;
        if (!readDword(fields, &number))
            return CONV_WHY_NUMBER;
        const char *why = convAddValue(key, name, ADDREG_FLAGS_DWORD, "", number);
        // A start type set directly, as StartType sets it.
        const char *service = serviceOfKey(key);
        if (!why && service && equalsIgnoreCase(name, "Start"))
            convWarnIfStartedWithSystem(service, number);
        return why;
    }
    const char *why = convPutDirectoryIds(data, flags == ADDREG_FLAGS_EXPAND_SZ, text, sizeof text);
    return why ? why : convAddValue(key, name, flags, text, 0);
}

// One line of an AddReg section; `service` is the service whose HKR it
// is, or null outside a service.
void convertRegLine(const char *service, const char *line, unsigned long number) {
    ConvFields fields;
    convReadFields(line, &fields);
    const char *root = convField(&fields, 0);
    const char *subkey = convField(&fields, 1);
    bool machine = equalsIgnoreCase(root, "HKLM") || equalsIgnoreCase(root, "HKEY_LOCAL_MACHINE");
    size_t uninstallLength = strlen(UNINSTALL_KEY);
    if (machine && startsWithIgnoreCase(subkey, UNINSTALL_KEY) &&
        (subkey[uninstallLength] == '\0' || subkey[uninstallLength] == '\\')) {
        convNotNeeded(number, line);
        return;
    }
    uint32_t flags = 0;
    const char *flagsText = convField(&fields, 3);
    const char *why = nullptr;
    if (flagsText[0] != '\0' && !readStrictNumber(flagsText, &flags))
        why = CONV_WHY_NUMBER;
    if (!why)
        why = typeWhy(flags);
    if (!why && fields.tooLong)
        why = CONV_WHY_TOO_LONG;
    char key[CONV_KEY_SIZE];
    if (!why && equalsIgnoreCase(root, "HKR")) {
        if (service)
            convServiceKey(key, service, subkey);
        else
            why = CONV_WHY_HKR;
    } else if (!why && machine) {
        strcpy(key, subkey);
    } else if (!why) {
        why = CONV_WHY_ROOT;
    }
    if (!why && machine && convBelowRefusedService(key))
        why = CONV_WHY_SERVICE_LEFT_OUT;
    char unused[CONV_FIELD_SIZE];
    if (!why && (convPutDirectoryIds(subkey, false, unused, sizeof unused) ||
                 convPutDirectoryIds(convField(&fields, 2), false, unused, sizeof unused)))
        why = CONV_WHY_DIRECTORY_ID;
    if (!why && convField(&fields, 2)[0] == '\0')
        why = CONV_WHY_NO_VALUE_NAME;
    if (!why)
        why = addRegValue(key, fields.text[2], flags, fields);
    if (why)
        convLeftOut(number, why, line);
}

} // namespace

void convConvertAddRegSections(const char *service, const char *list, const char *line,
                               unsigned long number) {
    ConvFields fields;
    convReadFields(list, &fields);
    if (fields.tooLong)
        convLeftOut(number, CONV_WHY_TOO_LONG, line);
    for (int i = 0; i < fields.count; ++i) {
        const char *section = fields.text[i];
        if (section[0] == '\0')
            continue;
        if (!convHasSection(section)) {
            convLeftOut(number, CONV_WHY_NO_SECTION, section);
            continue;
        }
        ConvCursor cursor = {0, 0};
        const char *regLine;
        unsigned long regNumber;
        while (convNextLine(section, &cursor, &regLine, &regNumber))
            convertRegLine(service, regLine, regNumber);
    }
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
