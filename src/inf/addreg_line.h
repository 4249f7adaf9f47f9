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
//
// The converter writes its lines through writeAddRegLine, beside the
// reader here, so that what it writes is what the installer reads.

#ifndef INFINST_ADDREG_LINE_H
#define INFINST_ADDREG_LINE_H

#include <cstdint>

#include "common/capacity.h"

// The flags of the three value types the installer writes.
const uint32_t ADDREG_FLAGS_SZ = 0x00000000u;
const uint32_t ADDREG_FLAGS_EXPAND_SZ = 0x00020000u;
const uint32_t ADDREG_FLAGS_DWORD = 0x00010001u;

// The bits of the flags that give the type, and two types the installer
// does not write: binary data and lists of strings.
const uint32_t ADDREG_FLAGS_TYPE_MASK = 0xFFFF0001u;
const uint32_t ADDREG_FLAGS_BINARY = 0x00000001u;
const uint32_t ADDREG_FLAGS_MULTI_SZ = 0x00010000u;

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

// Why a value has no line that reads back as it is, in the order the
// writer looks: the key, the value name, then the data and the whole line.
enum AddRegWriteResult {
    ADDREG_WRITTEN,
    ADDREG_WRITE_NOT_SERVICE_KEY, // the key is not one isServiceKey accepts
    ADDREG_WRITE_QUOTE,           // a '"' would end its quoted field
    ADDREG_WRITE_TOO_LONG,        // a field, or the line, does not fit
    ADDREG_WRITE_NO_NAME          // an empty value name names no value
};

// Writes into `line` (a LINE_SIZE buffer) the line that asks for the value
// `name` below HKEY_LOCAL_MACHINE\`key`: HKLM,"key","name",flags,data,
// the flags "0" or 0x and eight hexadecimal digits, the data `number` in
// decimal for ADDREG_FLAGS_DWORD and `text` in quotes for any other flags.
// readAddRegLine reads it back as exactly that key, name, flags and data;
// when it would not, `line` is left alone and the result says why. The
// texts hold no line end and no Ctrl-Z, which would end the line or the
// file.
AddRegWriteResult writeAddRegLine(const char *key, const char *name, uint32_t flags,
                                  const char *text, uint32_t number, char *line);

#endif
