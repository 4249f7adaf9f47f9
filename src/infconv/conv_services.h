// The services section of the install section, "[<install
// section>.Services]": each AddService line whose service has a type the
// system registers and a ServiceBinary carried over becomes the values
// of that service's key (conv_output.h), the AddReg lines of its service
// section among them (conv_addreg.h). A service left out takes every
// value below its key with it, whatever AddReg line writes one, so that
// infinst never registers a service without its file.

#ifndef INFCONV_CONV_SERVICES_H
#define INFCONV_CONV_SERVICES_H

#include <cstddef>
#include <cstdint>

#include "inf/names.h"
#include "infconv/infconv_capacity.h"

// Converts the services section of the install section `installSection`;
// every other directive in it is left out.
void convConvertServices(const char *installSection);

// True when the key lies below a service that AddService lines of the
// services section name and none of them converts.
bool convBelowRefusedService(const char *key);

// A key below the services key: that prefix, a service and a subkey,
// each within a field.
const size_t CONV_KEY_SIZE = SERVICES_KEY_PREFIX_LENGTH + 1 + 2 * CONV_FIELD_SIZE;

// Writes "System\CurrentControlSet\Services\<service>[\<subkey>]" into a
// CONV_KEY_SIZE buffer.
void convServiceKey(char *key, const char *service, const char *subkey);

// Warns when `start` is boot (0) or system (1) start: the service is then
// loaded while the system starts, before anything can be undone from
// within it.
void convWarnIfStartedWithSystem(const char *service, uint32_t start);

#endif
