// The gate of a service; see conv_gate.h.
//
// Every check lives in CHECKS, in the order the report gives the first
// that fails; a check a later step needs (what an image imports, say) is
// one more function there.

#include "infconv/conv_gate.h"

#include <cstring>

#include "common/say.h"
#include "inf/addreg_line.h"
#include "inf/directory_ids.h"
#include "inf/names.h"
#include "inf/text.h"
#include "infconv/conv_addreg.h"
#include "infconv/conv_files.h"
#include "infconv/conv_output.h"
#include "infconv/conv_report.h"
#include "infconv/conv_services.h"
#include "infconv/infconv_capacity.h"
#include "infconv/infconv_messages.h"

namespace {

// Where a ServiceBinary or an ImagePath points.
struct ConvImage {
    unsigned long directoryId;
    char name[CONV_FIELD_SIZE];
    const char *arguments; // what follows the path, in the text read
};

// A value a line gave; `line` is 0 while none did.
struct ConvSetting {
    unsigned long line;
    uint32_t value;
};

struct ConvService {
    char name[CONV_FIELD_SIZE]; // as first written
    unsigned long addService;   // the AddService line that names it, or 0
    unsigned long reported;     // where it was said to be left out, or 0
    ConvSetting type;
    ConvSetting start;
    ConvSetting errorControl;
    unsigned long kindClash;     // a later Type of another kind
    unsigned long filterManager; // a line that asks for the filter manager
    unsigned long imageLine;     // the ServiceBinary or ImagePath that holds
    char image[CONV_FIELD_SIZE];
    ConvImage place; // `image` as readImage reads it; directoryId 0 when it refused it
    const char *why; // null while it may pass
    char reason[CONV_REASON_SIZE];
};

ConvService g_services[CONV_SERVICE_CAPACITY];
int g_serviceCount;
bool g_full; // a service did not fit

// The names of the values of CONV_VALUE_TYPE to CONV_VALUE_GROUP on a
// service's own key.
const char *const VALUE_NAMES[] = {"Type", "Start", "ErrorControl", "ImagePath", "Group"};

enum ConvKind { CONV_KIND_NONE, CONV_KIND_DRIVER, CONV_KIND_WIN32 };

// What a Type makes of a service: a driver, which the kernel loads (1,
// 2, 8), a Win32 service, which the service controller starts (0x10,
// 0x20, with or without 0x100), or nothing NT 3.x runs.
ConvKind kindOf(uint32_t type) {
    if (type == 1 || type == 2 || type == 8)
        return CONV_KIND_DRIVER;
    uint32_t own = type & ~0x100u;
    return own == 0x10 || own == 0x20 ? CONV_KIND_WIN32 : CONV_KIND_NONE;
}

const size_t IMAGE_TEXT_SIZE = sizeof CONV_SYSTEM_ROOT + 32 + 2 * CONV_FIELD_SIZE;

// Reads a path, up to the first blank (its arguments after it), that
// begins "%10%\", "%11%\" or "%12%\", "%SystemRoot%\" or "\SystemRoot\",
// or is relative to the Windows directory: false unless the file lies in
// the folder of directory id 10, 11 or 12, however it was written
// ("%10%\System32\drivers\x.sys" is 12's), and its name is one the
// installer copies. A drive or another directory id names a folder only
// the target machine knows.
bool readImage(const char *text, ConvImage *image) {
    size_t length = 0;
    while (text[length] != '\0' && !isBlankChar(text[length]))
        ++length;
    image->arguments = text + length;
    while (isBlankChar(*image->arguments))
        ++image->arguments;
    char path[CONV_FIELD_SIZE];
    if (length >= sizeof path)
        return false;
    memcpy(path, text, length);
    path[length] = '\0';
    const char *base = "";
    const char *rest = path;
    if (path[0] == '%') {
        const char *close = strchr(path + 1, '%');
        size_t inner = close ? static_cast<size_t>(close - path - 1) : 0;
        const DirectoryIdFolder *folder = nullptr;
        if (close && inner == 2 && strspn(path + 1, "0123456789") == 2)
            folder =
                directoryIdFolder(static_cast<unsigned long>((path[1] - '0') * 10 + path[2] - '0'));
        else if (close && inner == 10 && startsWithIgnoreCase(path + 1, "SystemRoot"))
            folder = directoryIdFolder(10);
        if (!folder || close[1] != '\\')
            return false;
        base = folder->folder;
        rest = close + 2;
    } else if (startsWithIgnoreCase(path, "\\SystemRoot\\")) {
        rest = path + strlen("\\SystemRoot\\");
    }
    if (isUnsafeRelativePath(rest))
        return false;
    const char *last = textLastSeparator(rest);
    const char *name = last ? last + 1 : rest;
    char folder[CONV_FIELD_SIZE + 32];
    size_t baseLength = strlen(base);
    memcpy(folder, base, baseLength);
    memcpy(folder + baseLength, rest, static_cast<size_t>(name - rest));
    folder[baseLength + static_cast<size_t>(name - rest)] = '\0';
    for (unsigned long id = 10; id <= 12; ++id) {
        if (equalsIgnoreCase(folder, directoryIdFolder(id)->folder) && !convCheckFileName(name)) {
            image->directoryId = id;
            strcpy(image->name, name);
            return true;
        }
    }
    return false;
}

bool sameImage(const ConvImage &a, const ConvImage &b) {
    return a.directoryId == b.directoryId && equalsIgnoreCase(a.name, b.name) &&
           strcmp(a.arguments, b.arguments) == 0;
}

// The ImagePath in the form the service's type loads: a driver's relative
// to the Windows directory, which the kernel takes and where it expands
// nothing; a Win32 service's below %SystemRoot%, which the service
// controller expands, with its arguments. Into IMAGE_TEXT_SIZE bytes.
void imageText(const ConvImage &image, bool driver, char *text) {
    strcpy(text, driver ? "" : CONV_SYSTEM_ROOT);
    strcat(text, directoryIdFolder(image.directoryId)->registryFolder);
    strcat(text, image.name);
    if (image.arguments[0] != '\0') {
        strcat(text, " ");
        strcat(text, image.arguments);
    }
}

// The checks, each answering why the service fails it, or null.
const char *checkType(const ConvService &service, char *reason) {
    if (!service.type.line || kindOf(service.type.value) == CONV_KIND_NONE)
        return CONV_WHY_SERVICE_TYPE;
    if (!service.kindClash)
        return nullptr;
    char first[NUMBER_TEXT_SIZE];
    char later[NUMBER_TEXT_SIZE];
    return convReason(reason, CONV_WHY_TYPE_CLASH, convLineNumber(service.type.line, first),
                      convLineNumber(service.kindClash, later));
}

// NT 3.x has no filter manager to load a minifilter into.
const char *checkFilterManager(const ConvService &service, char *reason) {
    char line[NUMBER_TEXT_SIZE];
    return service.filterManager ? convReason(reason, CONV_WHY_FILTER_MANAGER,
                                              convLineNumber(service.filterManager, line))
                                 : nullptr;
}

// The values CreateService takes: a Win32 service never starts with the
// kernel (boot or system start).
const char *checkStart(const ConvService &service, char *reason) {
    char line[NUMBER_TEXT_SIZE];
    if (!service.start.line)
        return CONV_WHY_NO_START;
    if (!service.errorControl.line)
        return CONV_WHY_NO_ERROR_CONTROL;
    if (service.start.value > 4 ||
        (kindOf(service.type.value) == CONV_KIND_WIN32 && service.start.value < 2))
        return convReason(reason, CONV_WHY_START_VALUE, convLineNumber(service.start.line, line));
    if (service.errorControl.value > 3)
        return convReason(reason, CONV_WHY_ERROR_CONTROL_VALUE,
                          convLineNumber(service.errorControl.line, line));
    return nullptr;
}

// A file a copy section carries into the folder the ImagePath names, in
// a form the service's type can take.
const char *checkImagePath(const ConvService &service, char *reason) {
    char line[NUMBER_TEXT_SIZE];
    char folder[PATH_SIZE];
    char other[PATH_SIZE];
    if (!service.imageLine)
        return CONV_WHY_NO_BINARY;
    convLineNumber(service.imageLine, line);
    const ConvImage &image = service.place;
    if (!image.directoryId)
        return convReason(reason, CONV_WHY_BINARY_DIR, line, service.image);
    if (kindOf(service.type.value) == CONV_KIND_DRIVER && image.arguments[0] != '\0')
        return convReason(reason, CONV_WHY_DRIVER_ARGUMENTS, line, image.arguments);
    if (convCarriesFile(image.name, image.directoryId))
        return nullptr;
    for (unsigned long id = 10; id <= 12; ++id) {
        if (convCarriesFile(image.name, id))
            return convReason(reason, CONV_WHY_BINARY_ELSEWHERE, line, image.name,
                              convDirectoryName(image.directoryId, folder),
                              convDirectoryName(id, other));
    }
    return convReason(reason, CONV_WHY_BINARY_NOT_COPIED, line, image.name);
}

// The file the ImagePath names loads on NT 3.51: it imports no name that
// NT 3.51 lacks (conv_imports.h).
const char *checkImports(const ConvService &service, char *reason) {
    const ConvImage &image = service.place;
    const char *missing = convCarriedImageMissing(image.name, image.directoryId);
    return missing ? convReason(reason, CONV_WHY_IMAGE_CANNOT_LOAD, image.name, missing) : nullptr;
}

// Every check a service passes, in order.
const char *(*const CHECKS[])(const ConvService &, char *) = {
    checkType, checkFilterManager, checkStart, checkImagePath, checkImports};

// The length of the service's name at the start of the rest of a key
// below the services key: a registry key's parts end at '\' only.
size_t serviceNameLength(const char *name) {
    return static_cast<size_t>(textFindChar(name, '\\') - name);
}

int findService(const char *name, size_t length) {
    for (int i = 0; i < g_serviceCount; ++i) {
        if (strlen(g_services[i].name) == length && startsWithIgnoreCase(name, g_services[i].name))
            return i;
    }
    return -1;
}

int addService(const char *name, size_t length) {
    if (g_serviceCount == CONV_SERVICE_CAPACITY || length >= CONV_FIELD_SIZE) {
        g_full = true;
        return -1;
    }
    ConvService &service = g_services[g_serviceCount];
    memset(&service, 0, sizeof service);
    memcpy(service.name, name, length);
    service.name[length] = '\0';
    return g_serviceCount++;
}

// Which of its values a line writes on a service's own key; why the line
// cannot write it, in `why`, when its type is not the value's.
ConvServiceValue ownValue(const char *key, const char *name, uint32_t flags, const char **why) {
    *why = nullptr;
    if (!isServiceKey(key) || *textFindChar(key + SERVICES_KEY_PREFIX_LENGTH, '\\') != '\0')
        return CONV_VALUE_OTHER;
    int value = 0;
    while (value <= CONV_VALUE_GROUP && !equalsIgnoreCase(name, VALUE_NAMES[value]))
        ++value;
    if (value > CONV_VALUE_GROUP)
        return CONV_VALUE_OTHER;
    if (value < CONV_VALUE_IMAGE_PATH && flags != ADDREG_FLAGS_DWORD)
        *why = CONV_WHY_VALUE_TYPE;
    if (value == CONV_VALUE_IMAGE_PATH && flags != ADDREG_FLAGS_SZ &&
        flags != ADDREG_FLAGS_EXPAND_SZ)
        *why = CONV_WHY_VALUE_TYPE;
    return static_cast<ConvServiceValue>(value);
}

} // namespace

void convGateReset() {
    g_serviceCount = 0;
    g_full = false;
}

int convGateAddService(const char *name, unsigned long line) {
    if (convGateFindService(name) >= 0)
        return -1;
    int service = addService(name, strlen(name));
    if (service >= 0)
        g_services[service].addService = line;
    return service;
}

int convGateFindService(const char *name) {
    return findService(name, strlen(name));
}

int convGateServiceOfKey(const char *key) {
    if (!isServiceKey(key))
        return -1;
    const char *name = key + SERVICES_KEY_PREFIX_LENGTH;
    return findService(name, serviceNameLength(name));
}

void convGateRefuse(int service, const char *why) {
    if (!g_services[service].why)
        g_services[service].why = why;
}

void convGateNote(int service, ConvServiceValue value, uint32_t number, const char *text,
                  unsigned long line) {
    ConvService &s = g_services[service];
    switch (value) {
    case CONV_VALUE_TYPE:
        if (!s.type.line)
            s.type = ConvSetting{line, number};
        else if (kindOf(number) != kindOf(s.type.value) && !s.kindClash)
            s.kindClash = line;
        break;
    case CONV_VALUE_START: s.start = ConvSetting{line, number}; break;
    case CONV_VALUE_ERROR_CONTROL: s.errorControl = ConvSetting{line, number}; break;
    case CONV_VALUE_IMAGE_PATH:
        if (!s.imageLine) {
            s.imageLine = line;
            strcpy(s.image, text);
            readImage(s.image, &s.place);
        }
        break;
    case CONV_VALUE_GROUP:
        if (startsWithIgnoreCase(text, "FSFilter") && !s.filterManager)
            s.filterManager = line;
        break;
    case CONV_VALUE_DEPENDENCY:
        if (equalsIgnoreCase(text, "FltMgr") && !s.filterManager)
            s.filterManager = line;
        break;
    case CONV_VALUE_OTHER: break;
    }
}

void convGateNoteLine(const char *key, const char *name, uint32_t flags, uint32_t number,
                      const char *text, unsigned long line) {
    const char *why;
    ConvServiceValue value = ownValue(key, name, flags, &why);
    if (value == CONV_VALUE_OTHER || why)
        return;
    int service = convGateServiceOfKey(key);
    if (service < 0 && value != CONV_VALUE_GROUP) {
        const char *serviceName = key + SERVICES_KEY_PREFIX_LENGTH;
        service = addService(serviceName, serviceNameLength(serviceName));
    }
    if (service >= 0)
        convGateNote(service, value, number, text, line);
}

void convGateDecide() {
    for (int i = 0; i < g_serviceCount; ++i) {
        ConvService &service = g_services[i];
        for (size_t check = 0; !service.why && check < sizeof CHECKS / sizeof CHECKS[0]; ++check)
            service.why = CHECKS[check](service, service.reason);
    }
}

bool convGatePassed(int service) {
    return !g_services[service].why;
}

const char *convGateWhy(int service) {
    return g_services[service].why;
}

unsigned long convGateAddServiceLine(int service) {
    return g_services[service].addService;
}

const char *convGateWrite(int service) {
    ConvService &s = g_services[service];
    char text[IMAGE_TEXT_SIZE];
    imageText(s.place, kindOf(s.type.value) == CONV_KIND_DRIVER, text);
    char key[CONV_KEY_SIZE];
    convServiceKey(key, s.name, "");
    const ConvValue values[] = {
        {key, "Type", "", ADDREG_FLAGS_DWORD, s.type.value},
        {key, "Start", "", ADDREG_FLAGS_DWORD, s.start.value},
        {key, "ErrorControl", "", ADDREG_FLAGS_DWORD, s.errorControl.value},
        {key, "ImagePath", text, ADDREG_FLAGS_EXPAND_SZ, 0},
    };
    s.why = convCheckValues(values, 4);
    if (s.why)
        return s.why;
    say(CONV_MSG_SERVICE, s.name);
    for (const ConvValue &value : values)
        convAddValue(value.key, value.name, value.flags, value.text, value.number);
    return nullptr;
}

void convGateWriteOthers() {
    for (int i = 0; i < g_serviceCount; ++i) {
        if (!g_services[i].addService && !g_services[i].why)
            convGateWrite(i);
    }
}

ConvGateLine convGateLine(const char *key, const char *name, uint32_t flags, uint32_t number,
                          const char *text, unsigned long line, char *reason, const char **why) {
    char digits[NUMBER_TEXT_SIZE];
    if (!isServiceKey(key))
        return CONV_GATE_WRITE;
    int index = convGateServiceOfKey(key);
    ConvServiceValue value = ownValue(key, name, flags, why);
    if (index < 0) {
        // Past the table no line below the services key can be checked,
        // and none of the four values is written but through the gate.
        if (g_full || (!*why && value < CONV_VALUE_GROUP))
            *why = CONV_WHY_TOO_MANY;
        return *why ? CONV_GATE_LEFT_OUT : CONV_GATE_WRITE;
    }
    ConvService &service = g_services[index];
    if (service.why) {
        unsigned long at = service.addService ? service.addService : service.reported;
        if (!at)
            service.reported = line;
        *why = at ? convReason(reason, CONV_WHY_SERVICE_LEFT_OUT, service.name,
                               convLineNumber(at, digits))
                  : service.why;
        return CONV_GATE_LEFT_OUT;
    }
    if (*why)
        return CONV_GATE_LEFT_OUT;
    ConvImage later = {};
    switch (value) {
    case CONV_VALUE_START:
    case CONV_VALUE_ERROR_CONTROL: return CONV_GATE_DONE;
    case CONV_VALUE_TYPE:
        if (number == service.type.value)
            return CONV_GATE_DONE;
        *why = convReason(reason, CONV_WHY_TYPE_HELD, convLineNumber(service.type.line, digits));
        return CONV_GATE_LEFT_OUT;
    case CONV_VALUE_IMAGE_PATH:
        if (line == service.imageLine ||
            (readImage(text, &later) && sameImage(service.place, later)))
            return CONV_GATE_DONE;
        *why = convReason(reason, CONV_WHY_IMAGE_HELD, convLineNumber(service.imageLine, digits));
        return CONV_GATE_LEFT_OUT;
    default: return CONV_GATE_WRITE;
    }
}

void convGateWarn() {
    for (int i = 0; i < g_serviceCount; ++i) {
        const ConvService &service = g_services[i];
        // Boot (0) and system (1) start load the service while the system
        // starts, before anything can be undone from within it; severe
        // (2) and critical (3) error control then restart NT or stop it.
        if (service.why || service.start.value > 1)
            continue;
        say(CONV_MSG_BOOT_START, service.name, static_cast<unsigned long>(service.start.value));
        if (service.errorControl.value == 2 || service.errorControl.value == 3)
            say(CONV_MSG_ERROR_CONTROL, service.name,
                static_cast<unsigned long>(service.errorControl.value));
    }
}
