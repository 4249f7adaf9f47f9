// The services section of the install section, "[<install
// section>.Services]", and the section each of its AddService lines
// names. A first pass gathers what every line gives each service for its
// gate (conv_gate.h), together with the install section's AddReg lines;
// the second writes the services that passed, each line of a service
// section that the gate did not write already becoming a value of the
// service's key (conv_output.h), its AddReg lines among them
// (conv_addreg.h). A service left out takes every value below its key
// with it, whatever line writes one, so that infinst never registers a
// service without its file.

#ifndef INFCONV_CONV_SERVICES_H
#define INFCONV_CONV_SERVICES_H

#include <cstddef>

#include "inf/names.h"
#include "infconv/infconv_capacity.h"

// Gathers the services of the install section `installSection` and
// checks each one (convGateDecide).
void convGatherServices(const char *installSection);

// Converts the services section; every other directive in it is left out.
void convConvertServices();

// A key below the services key: that prefix, a service and a subkey,
// each within a field.
const size_t CONV_KEY_SIZE = SERVICES_KEY_PREFIX_LENGTH + 1 + 2 * CONV_FIELD_SIZE;

// Writes "System\CurrentControlSet\Services\<service>[\<subkey>]" into a
// CONV_KEY_SIZE buffer.
void convServiceKey(char *key, const char *service, const char *subkey);

#endif
