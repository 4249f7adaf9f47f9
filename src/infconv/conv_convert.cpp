// Converting the install section; see conv_convert.h.
//
// INF section names, keys and directives compare without regard to ASCII
// case, as the setup engine compares them. The output keeps each name as
// the directive that named it first wrote it, so that the installer,
// which compares names exactly, finds every section it lists.

#include "infconv/conv_convert.h"

#include <cstring>

#include "common/messages.h"
#include "common/shortfall.h"
#include "inf/names.h"
#include "inf/text.h"
#include "infconv/conv_output.h"
#include "infconv/conv_reader.h"
#include "infconv/infconv_messages.h"

namespace {

// A key below the services key: that prefix, a service and a subkey,
// each within a field.
const size_t KEY_BUFFER_SIZE = SERVICES_KEY_PREFIX_LENGTH + 1 + 2 * CONV_FIELD_SIZE;

void leftOut(unsigned long number, const char *why, const char *text) {
    say(CONV_MSG_LEFT_OUT, number, why, text);
    shortfallAdd();
}

const char *directoryName(unsigned long id) {
    return id == 10 ? CONV_MSG_DIR_10 : id == 11 ? CONV_MSG_DIR_11 : CONV_MSG_DIR_12;
}

// The directory id 10, 11 or 12 of a copy section (null: the default's),
// from its [DestinationDirs] entry or else DefaultDestDir; why not, when
// none of those.
const char *destinationOf(const char *section, unsigned long *id) {
    const char *entry = section ? convFindEntry("DestinationDirs", section) : nullptr;
    if (!entry)
        entry = convFindEntry("DestinationDirs", "DefaultDestDir");
    if (!entry)
        return CONV_WHY_NO_DESTINATION;
    ConvFields fields;
    convReadFields(entry, &fields);
    if (fields.tooLong)
        return CONV_WHY_TOO_LONG;
    if (convField(&fields, 1)[0] != '\0')
        return CONV_WHY_SUBFOLDER;
    if (!convReadNumber(convField(&fields, 0), id) || *id < 10 || *id > 12)
        return CONV_WHY_DESTINATION_ID;
    return nullptr;
}

void convertCopySection(const char *name, unsigned long number) {
    if (convHasCopySection(name))
        return;
    unsigned long id = 0;
    const char *why = !convHasSection(name) ? CONV_WHY_NO_SECTION : destinationOf(name, &id);
    if (!why)
        why = convAddCopySection(name, id);
    if (why) {
        leftOut(number, why, name);
        return;
    }
    int before = convFileCount();
    ConvCursor cursor = {0, 0};
    const char *line;
    ConvFields fields;
    while (convNextLine(name, &cursor, &line, &number)) {
        convReadFields(line, &fields);
        // A second field that differs is the name the file has on the
        // disk: the installer copies a file under its own name only.
        const char *target = convField(&fields, 0);
        const char *source = convField(&fields, 1);
        why = fields.tooLong                                           ? CONV_WHY_TOO_LONG
              : source[0] != '\0' && !equalsIgnoreCase(source, target) ? CONV_WHY_RENAME
                                                                       : convAddFile(target);
        if (why)
            leftOut(number, why, line);
    }
    say(CONV_MSG_COPY_SECTION, name, directoryName(id), convFileCount() - before);
}

void convertCopyFiles(const char *list, const char *line, unsigned long number) {
    ConvFields fields;
    convReadFields(list, &fields);
    if (fields.tooLong)
        leftOut(number, CONV_WHY_TOO_LONG, line);
    for (int i = 0; i < fields.count; ++i) {
        const char *name = fields.text[i];
        if (name[0] == '\0')
            continue;
        if (name[0] != '@') {
            convertCopySection(name, number);
            continue;
        }
        unsigned long id = 0;
        const char *why = destinationOf(nullptr, &id);
        if (!why)
            why = convAddOwnFile(name + 1, id);
        if (why)
            leftOut(number, why, name);
        else
            say(CONV_MSG_OWN_FILE, name + 1, directoryName(id));
    }
}

// A number of one or two hexadecimal digits, as INF files write bytes.
bool readByte(const char *text, unsigned long *byte) {
    char hex[8] = "0x";
    return strlen(text) <= 2 && convReadNumber(strcat(hex, text), byte);
}

// The data of a REG_DWORD line: one number, or four bytes, lowest first.
bool readDword(const ConvFields &fields, unsigned long *number) {
    if (fields.count == 5)
        return convReadNumber(fields.text[4], number);
    if (fields.count != 8)
        return false;
    *number = 0;
    for (int i = 7; i >= 4; --i) {
        unsigned long byte;
        if (!readByte(fields.text[i], &byte))
            return false;
        *number = *number << 8 | byte;
    }
    return true;
}

// Builds "System\CurrentControlSet\Services\<service>[\<subkey>]".
void serviceKey(char *key, const char *service, const char *subkey) {
    strcpy(key, SERVICES_KEY_PREFIX);
    strcat(key, service);
    if (subkey[0] != '\0') {
        strcat(key, "\\");
        strcat(key, subkey);
    }
}

// One line of an AddReg section; `service` is the service whose HKR it
// is, or null outside a service.
void convertRegLine(const char *service, const char *line, unsigned long number) {
    ConvFields fields;
    convReadFields(line, &fields);
    if (fields.tooLong) {
        leftOut(number, CONV_WHY_TOO_LONG, line);
        return;
    }
    const char *root = convField(&fields, 0);
    const char *subkey = convField(&fields, 1);
    char key[KEY_BUFFER_SIZE];
    const char *why = nullptr;
    if (equalsIgnoreCase(root, "HKR")) {
        if (service)
            serviceKey(key, service, subkey);
        else
            why = CONV_WHY_HKR;
    } else if (equalsIgnoreCase(root, "HKLM") || equalsIgnoreCase(root, "HKEY_LOCAL_MACHINE")) {
        strcpy(key, subkey);
    } else {
        why = CONV_WHY_ROOT;
    }
    unsigned long flags = 0;
    if (!why && convField(&fields, 2)[0] == '\0')
        why = CONV_WHY_NO_VALUE_NAME;
    if (!why && convField(&fields, 3)[0] != '\0' && !convReadNumber(fields.text[3], &flags))
        why = CONV_WHY_NUMBER;
    if (!why) {
        const char *data = convField(&fields, 4);
        unsigned long number32 = 0;
        switch (flags) {
        case 0x00000000ul: why = convAddValue(key, fields.text[2], CONV_REG_SZ, data, 0); break;
        case 0x00020000ul:
            why = convAddValue(key, fields.text[2], CONV_REG_EXPAND_SZ, data, 0);
            break;
        case 0x00010001ul:
            why = readDword(fields, &number32)
                      ? convAddValue(key, fields.text[2], CONV_REG_DWORD, "", number32)
                      : CONV_WHY_NUMBER;
            break;
        default: why = CONV_WHY_FLAGS; break;
        }
    }
    if (why)
        leftOut(number, why, line);
}

void convertAddRegSections(const char *service, const char *list, const char *line,
                           unsigned long number) {
    ConvFields fields;
    convReadFields(list, &fields);
    if (fields.tooLong)
        leftOut(number, CONV_WHY_TOO_LONG, line);
    for (int i = 0; i < fields.count; ++i) {
        const char *section = fields.text[i];
        if (section[0] == '\0')
            continue;
        if (!convHasSection(section)) {
            leftOut(number, CONV_WHY_NO_SECTION, section);
            continue;
        }
        ConvCursor cursor = {0, 0};
        const char *regLine;
        unsigned long regNumber;
        while (convNextLine(section, &cursor, &regLine, &regNumber))
            convertRegLine(service, regLine, regNumber);
    }
}

// ServiceBinary's %dirid%\name as the ImagePath the system reads: drivers
// relative to the system root, anything else through %SystemRoot%.
bool imagePath(const char *binary, char *path) {
    static const char *const FORMS[][2] = {{"%12%\\", "System32\\drivers\\"},
                                           {"%11%\\", "%SystemRoot%\\System32\\"},
                                           {"%10%\\", "%SystemRoot%\\"}};
    for (const auto &form : FORMS) {
        size_t length = strlen(form[0]);
        if (strncmp(binary, form[0], length) == 0 && binary[length] != '\0') {
            strcpy(path, form[1]);
            strcat(path, binary + length);
            return true;
        }
    }
    return false;
}

// The value a line of a service section gives the service's key; why
// not, when it gives none.
const char *convertServiceEntry(const char *service, const char *key, const char *entry,
                                const ConvFields &fields) {
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
        unsigned long number;
        if (!convReadNumber(value, &number))
            return CONV_WHY_NUMBER;
        const char *why = convAddValue(key, DWORDS[i][1], CONV_REG_DWORD, "", number);
        // Boot (0) and system (1) start: loaded before anything can be
        // undone from within the system.
        if (!why && i == 1 && number <= 1)
            say(CONV_MSG_BOOT_START, service, number);
        return why;
    }
    for (int i = 0; i < 2; ++i) {
        if (equalsIgnoreCase(entry, STRINGS[i][0]))
            return convAddValue(key, STRINGS[i][1], CONV_REG_SZ, value, 0);
    }
    if (equalsIgnoreCase(entry, "ServiceBinary")) {
        char path[CONV_FIELD_SIZE + 32];
        return imagePath(value, path) ? convAddValue(key, "ImagePath", CONV_REG_EXPAND_SZ, path, 0)
                                      : CONV_WHY_BINARY_DIR;
    }
    return equalsIgnoreCase(entry, "Dependencies") ? CONV_WHY_DEPENDENCIES : CONV_WHY_SERVICE_KEY;
}

// One line of a service section.
void convertServiceLine(const char *service, const char *key, const char *line,
                        unsigned long number) {
    char entry[CONV_FIELD_SIZE];
    const char *rest;
    if (!convSplitEntry(line, entry, &rest)) {
        leftOut(number, CONV_WHY_SERVICE_KEY, line);
        return;
    }
    if (equalsIgnoreCase(entry, "AddReg")) {
        convertAddRegSections(service, rest, line, number);
        return;
    }
    ConvFields fields;
    convReadFields(rest, &fields);
    const char *why = convertServiceEntry(service, key, entry, fields);
    if (why)
        leftOut(number, why, line);
}

// "AddService = name, flags, section[, event log section]".
void convertService(const char *list, const char *line, unsigned long number) {
    ConvFields fields;
    convReadFields(list, &fields);
    const char *name = convField(&fields, 0);
    const char *section = convField(&fields, 2);
    const char *why = fields.tooLong ? CONV_WHY_TOO_LONG : nullptr;
    if (!why && (name[0] == '\0' || strpbrk(name, "\\/\"") || strstr(name, "AddReg]")))
        why = CONV_WHY_SERVICE_NAME;
    if (!why && !convHasSection(section))
        why = CONV_WHY_NO_SECTION;
    if (why) {
        leftOut(number, why, line);
        return;
    }
    say(CONV_MSG_SERVICE, name);
    if (convField(&fields, 3)[0] != '\0')
        leftOut(number, CONV_WHY_EVENT_LOG, convField(&fields, 3));
    char key[KEY_BUFFER_SIZE];
    serviceKey(key, name, "");
    ConvCursor cursor = {0, 0};
    const char *text;
    unsigned long textNumber;
    while (convNextLine(section, &cursor, &text, &textNumber))
        convertServiceLine(name, key, text, textNumber);
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

void convConvertInstallSection(const char *section) {
    ConvCursor cursor = {0, 0};
    const char *line;
    unsigned long number;
    char key[CONV_FIELD_SIZE];
    const char *rest;
    while (convNextLine(section, &cursor, &line, &number)) {
        bool entry = convSplitEntry(line, key, &rest);
        if (entry && equalsIgnoreCase(key, "CopyFiles"))
            convertCopyFiles(rest, line, number);
        else if (entry && equalsIgnoreCase(key, "AddReg"))
            convertAddRegSections(nullptr, rest, line, number);
        else
            leftOut(number, CONV_WHY_DIRECTIVE, line);
    }
    char services[CONV_FIELD_SIZE];
    strcpy(services, section);
    strcat(services, ".Services");
    cursor = ConvCursor{0, 0};
    while (convNextLine(services, &cursor, &line, &number)) {
        if (convSplitEntry(line, key, &rest) && equalsIgnoreCase(key, "AddService"))
            convertService(rest, line, number);
        else
            leftOut(number, CONV_WHY_DIRECTIVE, line);
    }
}

bool convSourceFolder(char *folder, size_t size, char separator) {
    const char *files =
        convHasSection("SourceDisksFiles.x86") ? "SourceDisksFiles.x86" : "SourceDisksFiles";
    const char *names =
        convHasSection("SourceDisksNames.x86") ? "SourceDisksNames.x86" : "SourceDisksNames";
    folder[0] = '\0';
    ConvCursor cursor = {0, 0};
    const char *line;
    unsigned long number;
    char key[CONV_FIELD_SIZE];
    const char *rest;
    if (!convNextLine(files, &cursor, &line, &number) || !convSplitEntry(line, key, &rest))
        return true;
    ConvFields fields;
    convReadFields(rest, &fields);
    if (fields.tooLong)
        return true;
    // The disk's own folder, then the file's subfolder on it.
    char path[2 * CONV_FIELD_SIZE + 2] = "";
    const char *disk = convFindEntry(names, convField(&fields, 0));
    if (disk) {
        ConvFields diskFields;
        convReadFields(disk, &diskFields);
        strcpy(path, convField(&diskFields, 3));
    }
    strcat(path, "\\");
    strcat(path, convField(&fields, 1));
    size_t length = 0;
    for (char *part = path;;) {
        char *end = const_cast<char *>(textFindSeparator(part));
        char next = *end;
        *end = '\0';
        if (strcmp(part, "..") == 0 || strchr(part, ':')) {
            say(CONV_MSG_SOURCE_FOLDER, number, line);
            folder[0] = '\0';
            return true;
        }
        size_t partLength = strlen(part);
        if (partLength > 0 && strcmp(part, ".") != 0) {
            if (length + partLength + 1 >= size)
                return false;
            memcpy(folder + length, part, partLength);
            folder[length + partLength] = separator;
            length += partLength + 1;
            folder[length] = '\0';
        }
        if (next == '\0')
            return true;
        part = end + 1;
    }
}
