// The gate every service passes before any of its values reaches the file
// written, so that infinst never registers a service NT 3.x cannot run.
//
// A service's values can come from three places: the entries of its
// service section (AddService), the HKR lines of that section's AddReg,
// and the HKLM lines of the install section's AddReg below its key. They
// are all gathered first, in that order (conv_services.h walks them);
// then each service is checked once, on the values it would finally have
// (convGateDecide), and a service that passes has its Type, Start,
// ErrorControl and ImagePath written together (convGateWrite) before its
// other values. A key below the services key that no AddService names is
// a service when a line writes one of those four values on it.
//
// Which line holds: the first Type and the first ImagePath, which say
// what the service is and which file it loads; a later line that
// disagrees is left out, or the whole service is when the lines disagree
// on whether it is a driver or a Win32 service. Start and ErrorControl
// say when the service starts, not whether it loads: the last line holds,
// and the warnings are given on that value (convGateWarn).

#ifndef INFCONV_CONV_GATE_H
#define INFCONV_CONV_GATE_H

#include <cstdint>

// What a line gives a service: one of its four values, its load order
// group or one service it depends on (both looked at for the filter
// manager), or something else.
enum ConvServiceValue {
    CONV_VALUE_TYPE,
    CONV_VALUE_START,
    CONV_VALUE_ERROR_CONTROL,
    CONV_VALUE_IMAGE_PATH,
    CONV_VALUE_GROUP,
    CONV_VALUE_DEPENDENCY,
    CONV_VALUE_OTHER
};

// Forgets every service.
void convGateReset();

// A service an AddService line at the input's line `line` names: its
// index, or -1 when an earlier AddService line named it or no more
// services fit.
int convGateAddService(const char *name, unsigned long line);

// The service with that name or whose key `key` is (or lies below), or
// -1.
int convGateFindService(const char *name);
int convGateServiceOfKey(const char *key);

// Leaves the service out whole for a reason found while gathering.
void convGateRefuse(int service, const char *why);

// Notes what a line of the service's section gives it: a number for
// Type, Start and ErrorControl, a text for the others.
void convGateNote(int service, ConvServiceValue value, uint32_t number, const char *text,
                  unsigned long line);

// Notes what an AddReg line that the converter can read writes below the
// key (a value of `flags`' type, `number` for REG_DWORD, `text` for a
// string); a line that writes one of the four values on a key below the
// services key that no service has yet makes that key a service.
void convGateNoteLine(const char *key, const char *name, uint32_t flags, uint32_t number,
                      const char *text, unsigned long line);

// Checks every service once every line has been noted.
void convGateDecide();

// Whether the service passed (and, once convGateWrite ran, was written);
// why not.
bool convGatePassed(int service);
const char *convGateWhy(int service);

// The AddService line that names the service, or 0.
unsigned long convGateAddServiceLine(int service);

// Writes a service that passed: says it, and its Type, Start, ErrorControl
// and ImagePath; null, or why they could not be written (the service is
// then left out whole, and nothing was written).
const char *convGateWrite(int service);

// Writes every service that passed and that no AddService line names.
void convGateWriteOthers();

// What becomes of an AddReg line's value, which convGateNoteLine saw when
// gathering: written as any value (CONV_GATE_WRITE), already written by
// convGateWrite or the same as what was (CONV_GATE_DONE), or left out,
// `why` then its reason (filled into `reason`, CONV_REASON_SIZE bytes,
// when it names something).
enum ConvGateLine { CONV_GATE_WRITE, CONV_GATE_DONE, CONV_GATE_LEFT_OUT };
ConvGateLine convGateLine(const char *key, const char *name, uint32_t flags, uint32_t number,
                          const char *text, unsigned long line, char *reason, const char **why);

// The start warnings of every service written, on its final values.
void convGateWarn();

#endif
