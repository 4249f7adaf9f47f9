// Converting the install section; see conv_convert.h.
//
// INF section names, keys and directives compare without regard to ASCII
// case, as the setup engine compares them. The output keeps each name as
// the directive that named it first wrote it, so that the installer,
// which compares names exactly, finds every section it lists.

#include "infconv/conv_convert.h"

#include <cstdint>
#include <cstring>

#include "common/capacity.h"
#include "common/say.h"
#include "common/shortfall.h"
#include "inf/names.h"
#include "inf/text.h"
#include "infconv/conv_files.h"
#include "infconv/conv_output.h"
#include "infconv/conv_reader.h"
#include "infconv/infconv_messages.h"

namespace {

// A key below the services key: that prefix, a service and a subkey,
// each within a field.
const size_t KEY_BUFFER_SIZE = SERVICES_KEY_PREFIX_LENGTH + 1 + 2 * CONV_FIELD_SIZE;

// Where uninstall entries go: nothing on NT 3.x reads them.
const char UNINSTALL_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// The lines NT 3.x does not need, for the grouped list at the end.
struct ConvNotNeeded {
    unsigned long number;
    const char *text; // the line, in the reader's buffer
};
ConvNotNeeded g_notNeeded[CONV_NOT_NEEDED_CAPACITY];
int g_notNeededCount;

// What was left out, said together after the conversion in the order of
// the input's lines, whichever section the conversion reached first.
struct ConvLeftOut {
    unsigned long number;
    const char *why;
    char text[LINE_SIZE];
};
ConvLeftOut g_leftOut[CONV_LEFT_OUT_CAPACITY];
int g_leftOutCount;

void leftOut(unsigned long number, const char *why, const char *text) {
    shortfallAdd();
    if (g_leftOutCount == CONV_LEFT_OUT_CAPACITY || strlen(text) >= LINE_SIZE) {
        say(CONV_MSG_LEFT_OUT, number, why, text); // at once, rather than never
        return;
    }
    ConvLeftOut &item = g_leftOut[g_leftOutCount++];
    item.number = number;
    item.why = why;
    strcpy(item.text, text);
}

// Kept in the order of the input's lines, as the conversion reaches the
// services before the install section's AddReg lines.
void notNeeded(unsigned long number, const char *text) {
    int at = g_notNeededCount < CONV_NOT_NEEDED_CAPACITY ? g_notNeededCount
                                                         : CONV_NOT_NEEDED_CAPACITY - 1;
    for (; at > 0 && g_notNeeded[at - 1].number > number; --at)
        g_notNeeded[at] = g_notNeeded[at - 1];
    if (at < CONV_NOT_NEEDED_CAPACITY - 1 || g_notNeededCount < CONV_NOT_NEEDED_CAPACITY)
        g_notNeeded[at] = ConvNotNeeded{number, text};
    ++g_notNeededCount;
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
    uint32_t number = 0;
    if (!readStrictNumber(convField(&fields, 0), &number) || number < 10 || number > 12)
        return CONV_WHY_DESTINATION_ID;
    *id = number;
    return nullptr;
}

// Carries one file over into directory `id`: found where the INF file's
// source disk tables say, then written into the copy section started
// last, or among the files the install section names itself. Says the
// file, or why it was left out.
void carryFile(const char *name, unsigned long id, bool own, const char *line,
               unsigned long number) {
    char where[PATH_SIZE];
    const char *why = convCarryFile(name, id, where);
    if (why) {
        // The path looked at, once it is known.
        leftOut(number, why, where[0] != '\0' ? where : line);
        return;
    }
    why = own ? convAddOwnFile(name, id) : convAddFile(name);
    if (why) {
        convDropLastFile();
        leftOut(number, why, line);
    } else {
        say(CONV_MSG_FILE, where + strlen(convInputFolder()), directoryName(id));
    }
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
    say(CONV_MSG_COPY_SECTION, name, directoryName(id));
    ConvCursor cursor = {0, 0};
    const char *line;
    ConvFields fields;
    while (convNextLine(name, &cursor, &line, &number)) {
        convReadFields(line, &fields);
        // A second field that differs is the name the file has on the
        // disk: the installer copies a file under its own name only.
        const char *target = convField(&fields, 0);
        const char *source = convField(&fields, 1);
        if (fields.tooLong)
            leftOut(number, CONV_WHY_TOO_LONG, line);
        else if (source[0] != '\0' && !equalsIgnoreCase(source, target))
            leftOut(number, CONV_WHY_RENAME, line);
        else
            carryFile(target, id, false, line, number);
    }
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
        if (why)
            leftOut(number, why, name);
        else
            carryFile(name + 1, id, true, name, number);
    }
}

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

// Builds "System\CurrentControlSet\Services\<service>[\<subkey>]".
void serviceKey(char *key, const char *service, const char *subkey) {
    strcpy(key, SERVICES_KEY_PREFIX);
    strcat(key, service);
    if (subkey[0] != '\0') {
        strcat(key, "\\");
        strcat(key, subkey);
    }
}

// The folders the directory ids stand for in REG_EXPAND_SZ data.
const char *const EXPANDED_IDS[] = {"%SystemRoot%", "%SystemRoot%\\System32",
                                    "%SystemRoot%\\System32\\drivers"};

// Copies `text` into `out` (`size` bytes), each %10%, %11%, %12% put in as
// the folder it stands for when `expand`; why not, for any other directory
// id (a %number%), or for any id when not `expand`. Other %names% (such as
// %SystemRoot%) pass as they are.
const char *putDirectoryIds(const char *text, bool expand, char *out, size_t size) {
    size_t length = 0;
    for (const char *p = text; *p;) {
        const char *close = *p == '%' ? strchr(p + 1, '%') : nullptr;
        size_t count = close ? static_cast<size_t>(close - p) + 1 : 1;
        const char *piece = p;
        size_t digits = close ? strspn(p + 1, "0123456789") : 0;
        if (close && digits > 0 && p + 1 + digits == close) {
            int id = digits == 2 ? (p[1] - '0') * 10 + (p[2] - '0') : 0;
            if (!expand || id < 10 || id > 12)
                return CONV_WHY_DIRECTORY_ID;
            piece = EXPANDED_IDS[id - 10];
            count = strlen(piece);
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

// Why a line of this AddReg type is not converted; null for REG_SZ,
// REG_EXPAND_SZ and REG_DWORD.
const char *typeWhy(unsigned long flags) {
    if (flags == 0x00000000ul || flags == 0x00020000ul || flags == 0x00010001ul)
        return nullptr;
    if ((flags & 0xFFFF0001ul) == 0x00000001ul)
        return CONV_WHY_BINARY;
    if ((flags & 0xFFFF0001ul) == 0x00010000ul)
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
const char *addRegValue(const char *key, const char *name, unsigned long flags,
                        const ConvFields &fields) {
    const char *data = convField(&fields, 4);
    char text[CONV_FIELD_SIZE];
    if (flags == 0x00010001ul) {
        uint32_t number = 0;
        if (!readDword(fields, &number))
            return CONV_WHY_NUMBER;
        const char *why = convAddValue(key, name, CONV_REG_DWORD, "", number);
        // A start type set directly: as StartType, boot and system start
        // are loaded before anything can be undone.
        const char *service = serviceOfKey(key);
        if (!why && service && equalsIgnoreCase(name, "Start") && number <= 1)
            say(CONV_MSG_BOOT_START, service, static_cast<unsigned long>(number));
        return why;
    }
    bool expand = flags == 0x00020000ul;
    const char *why = putDirectoryIds(data, expand, text, sizeof text);
    if (why)
        return why;
    return convAddValue(key, name, expand ? CONV_REG_EXPAND_SZ : CONV_REG_SZ, text, 0);
}

bool belowRefusedService(const char *key); // with the services, below

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
        notNeeded(number, line);
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
    char key[KEY_BUFFER_SIZE];
    if (!why && equalsIgnoreCase(root, "HKR")) {
        if (service)
            serviceKey(key, service, subkey);
        else
            why = CONV_WHY_HKR;
    } else if (!why && machine) {
        strcpy(key, subkey);
    } else if (!why) {
        why = CONV_WHY_ROOT;
    }
    if (!why && machine && belowRefusedService(key))
        why = CONV_WHY_SERVICE_LEFT_OUT;
    char unused[CONV_FIELD_SIZE];
    if (!why && (putDirectoryIds(subkey, false, unused, sizeof unused) ||
                 putDirectoryIds(convField(&fields, 2), false, unused, sizeof unused)))
        why = CONV_WHY_DIRECTORY_ID;
    if (!why && convField(&fields, 2)[0] == '\0')
        why = CONV_WHY_NO_VALUE_NAME;
    if (!why)
        why = addRegValue(key, fields.text[2], flags, fields);
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

// ServiceBinary's %dirid%\name as the ImagePath the system reads: a driver
// (types 1, 2, 8) is loaded by the kernel, which takes a path relative to
// the Windows folder and expands nothing; a Win32 service (0x10, 0x20,
// with or without 0x100) is started by the service controller, which
// expands %SystemRoot%. Why the service is left out, when it is.
const char *examineService(const char *section, ConvService *service) {
    static const struct {
        const char *form;
        unsigned long id;
        const char *driver;
        const char *win32;
    } FORMS[] = {{"%10%\\", 10, "", "%SystemRoot%\\"},
                 {"%11%\\", 11, "System32\\", "%SystemRoot%\\System32\\"},
                 {"%12%\\", 12, "System32\\drivers\\", "%SystemRoot%\\System32\\drivers\\"}};
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
    const char *binary = convField(&fields, 0);
    for (const auto &form : FORMS) {
        size_t length = strlen(form.form);
        if (strncmp(binary, form.form, length) != 0 || binary[length] == '\0')
            continue;
        if (!convCarriesFile(binary + length, form.id))
            return CONV_WHY_BINARY_NOT_COPIED;
        strcpy(service->imagePath, driver ? form.driver : form.win32);
        strcat(service->imagePath, binary + length);
        return nullptr;
    }
    return CONV_WHY_BINARY_DIR;
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
        const char *why = convAddValue(key, DWORDS[i][1], CONV_REG_DWORD, "", number);
        // Boot (0) and system (1) start: loaded before anything can be
        // undone from within the system.
        if (!why && i == 1 && number <= 1)
            say(CONV_MSG_BOOT_START, name, static_cast<unsigned long>(number));
        return why;
    }
    for (int i = 0; i < 2; ++i) {
        if (!equalsIgnoreCase(entry, STRINGS[i][0]))
            continue;
        // REG_SZ: a directory id would be written as it stands.
        char text[CONV_FIELD_SIZE];
        const char *why = putDirectoryIds(value, false, text, sizeof text);
        return why ? why : convAddValue(key, STRINGS[i][1], CONV_REG_SZ, text, 0);
    }
    if (equalsIgnoreCase(entry, "ServiceBinary"))
        return convAddValue(key, "ImagePath", CONV_REG_EXPAND_SZ, service.imagePath, 0);
    return equalsIgnoreCase(entry, "Dependencies") ? CONV_WHY_DEPENDENCIES : CONV_WHY_SERVICE_KEY;
}

// One line of a service section.
void convertServiceLine(const char *name, const char *key, const ConvService &service,
                        const char *line, unsigned long number) {
    char entry[CONV_FIELD_SIZE];
    const char *rest;
    if (!convSplitEntry(line, entry, &rest)) {
        leftOut(number, CONV_WHY_SERVICE_KEY, line);
        return;
    }
    if (equalsIgnoreCase(entry, "AddReg")) {
        convertAddRegSections(name, rest, line, number);
        return;
    }
    if (equalsIgnoreCase(entry, "Description")) {
        notNeeded(number, line);
        return;
    }
    ConvFields fields;
    convReadFields(rest, &fields);
    const char *why = convertServiceEntry(name, key, entry, fields, service);
    if (why)
        leftOut(number, why, line);
}

// A service name the installer writes as one key below the services key.
bool isServiceName(const char *name) {
    return name[0] != '\0' && *textFindSeparator(name) == '\0' && !strchr(name, '"') &&
           !strstr(name, "AddReg]");
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

// The install section's services: "[<install section>.Services]".
char g_servicesSection[CONV_FIELD_SIZE];

// True when the key lies below a service that AddService lines name and
// none of them converts: infinst must not register a service without its
// file, whatever AddReg line writes its key.
bool belowRefusedService(const char *key) {
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

// "AddService = name, flags, section[, event log section]".
void convertService(const char *list, const char *line, unsigned long number) {
    ConvFields fields;
    convReadFields(list, &fields);
    const char *name = convField(&fields, 0);
    const char *section = convField(&fields, 2);
    ConvService service = {};
    const char *why = serviceWhy(fields, &service);
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
        convertServiceLine(name, key, service, text, textNumber);
    // Severe (2) and critical (3) error control on a service started with
    // the system: a failed load restarts NT or stops it.
    if (service.start <= 1 && (service.errorControl == 2 || service.errorControl == 3))
        say(CONV_MSG_ERROR_CONTROL, name, static_cast<unsigned long>(service.errorControl));
}

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
    g_notNeededCount = 0;
    g_leftOutCount = 0;
    strcpy(g_servicesSection, section);
    strcat(g_servicesSection, ".Services");
    ConvCursor cursor = {0, 0};
    const char *line;
    unsigned long number;
    char key[CONV_FIELD_SIZE];
    const char *rest;
    while (convNextEntry(section, "CopyFiles", &cursor, &line, &number, &rest))
        convertCopyFiles(rest, line, number);
    cursor = ConvCursor{0, 0};
    while (convNextLine(g_servicesSection, &cursor, &line, &number)) {
        if (convSplitEntry(line, key, &rest) && equalsIgnoreCase(key, "AddService"))
            convertService(rest, line, number);
        else
            leftOut(number, CONV_WHY_DIRECTIVE, line);
    }
    cursor = ConvCursor{0, 0};
    while (convNextLine(section, &cursor, &line, &number)) {
        bool entry = convSplitEntry(line, key, &rest);
        if (entry && equalsIgnoreCase(key, "CopyFiles"))
            continue;
        if (entry && equalsIgnoreCase(key, "AddReg"))
            convertAddRegSections(nullptr, rest, line, number);
        else if (entry && equalsIgnoreCase(key, "CopyINF"))
            notNeeded(number, line);
        else
            leftOut(number, CONV_WHY_DIRECTIVE, line);
    }
}

void convSayLeftOut() {
    // Sorted by line, those of one line in the order they were found.
    int order[CONV_LEFT_OUT_CAPACITY] = {};
    for (int i = 0; i < g_leftOutCount; ++i) {
        int at = i;
        for (; at > 0 && g_leftOut[order[at - 1]].number > g_leftOut[i].number; --at)
            order[at] = order[at - 1];
        order[at] = i;
    }
    for (int i = 0; i < g_leftOutCount; ++i) {
        const ConvLeftOut &item = g_leftOut[order[i]];
        say(CONV_MSG_LEFT_OUT, item.number, item.why, item.text);
    }
    if (g_notNeededCount == 0)
        return;
    say(CONV_MSG_NOT_NEEDED);
    int listed =
        g_notNeededCount < CONV_NOT_NEEDED_CAPACITY ? g_notNeededCount : CONV_NOT_NEEDED_CAPACITY;
    for (int i = 0; i < listed; ++i)
        say(CONV_MSG_NOT_NEEDED_LINE, g_notNeeded[i].number, g_notNeeded[i].text);
    if (g_notNeededCount > listed)
        say(CONV_MSG_NOT_NEEDED_MORE, g_notNeededCount - listed);
}
