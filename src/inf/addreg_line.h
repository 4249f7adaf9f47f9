// One line of the AddReg section as the installer reads it, and the value
// it asks for. The installer writes that value; the uninstaller compares a
// value in the registry with it, so both read each line through here and
// cannot disagree on what a line means.
//
// A line reads HKLM,"key path","value name",flags,data, with no space or
// tab at either end of the flags or the data, and data that is one quoted
// string or holds no quote and no ';'. The flags field is one number and
// nothing else, and so is the data of a REG_DWORD line (flags 0x00010001),
// which may stand in one pair of quotes: decimal, 0x hexadecimal or 0
// octal ("010" is 8), an optional sign, at most 32 bits. Any other line
// that asks for something is reported and skipped, and so is a key
// outside the services key: a value the file did not plainly ask for is
// never written.

#ifndef INFINST_ADDREG_LINE_H
#define INFINST_ADDREG_LINE_H

#include <cstdint>

#include "common/capacity.h"

struct AddRegLine {
    char key[REG_KEY_FIELD_SIZE];
    char name[REG_NAME_FIELD_SIZE];
    char flags[REG_FLAGS_FIELD_SIZE];
    char data[REG_DATA_FIELD_SIZE];
    uint32_t flagsValue; // the flags field read as a number
    uint32_t dwordValue; // the data read as a number when the flags say REG_DWORD, else 0
};

// Parses and checks one body line; false, with the reason said and counted
// in the shortfall, when it is skipped. Blank lines and indented comments
// are skipped without a word.
bool readAddRegLine(const char *text, AddRegLine *line);

// The value a line writes: its registry type and bytes (a string with its
// terminating NUL, a number as 4 little-endian bytes).
struct AddRegValue {
    unsigned long type;
    unsigned long size;
    unsigned char bytes[REG_DATA_FIELD_SIZE];
};

// False for flags that name no supported type: such a line writes nothing.
bool addRegValueOf(const AddRegLine &line, AddRegValue *value);

#endif
