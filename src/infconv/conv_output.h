// The INF file the converter writes, in the installer's own form: the
// class line, [DestinationDirs] with DefaultDestDir and an entry for every
// copy section, the copy sections, and exactly one AddReg section whose
// lines have the installer's exact format. Everything is kept in fixed
// buffers until the conversion is done and written at once.
//
// Each add checks that what it writes will read back as meant: names
// within the installer's capacities, no line longer than its line buffer,
// no text that would end a quoted field or hold the AddReg mark
// (inf/names.h). An add that cannot be made answers why (one of the
// CONV_WHY_ texts) and writes nothing; a successful one answers null.

#ifndef INFCONV_CONV_OUTPUT_H
#define INFCONV_CONV_OUTPUT_H

#include <cstddef>
#include <cstdint>

// Back to an empty file.
void convOutputReset();

// True when a copy section of that name (ASCII case not mattering) was
// added; its files then go where the first one said.
bool convHasCopySection(const char *name);

// Starts a copy section going to directory 10, 11 or 12; the files added
// next belong to it.
const char *convAddCopySection(const char *name, unsigned long directoryId);

// Why `name` cannot be written as a file of a copy section, which the
// installer joins to the section's folder; null when it can.
const char *convCheckFileName(const char *name);

// Adds a file to the copy section started last.
const char *convAddFile(const char *name);

// Adds a file to the section that holds the files the install section
// names itself ("CopyFiles = @name"), going to `directoryId`.
const char *convAddOwnFile(const char *name, unsigned long directoryId);

// Adds a registry value below HKEY_LOCAL_MACHINE\`key` and says so: with
// ADDREG_FLAGS_DWORD the number, with ADDREG_FLAGS_SZ or
// ADDREG_FLAGS_EXPAND_SZ the text (inf/addreg_line.h writes the line).
const char *convAddValue(const char *key, const char *name, uint32_t flags, const char *text,
                         uint32_t number);

// A value as convAddValue takes it.
struct ConvValue {
    const char *key;
    const char *name;
    const char *text;
    uint32_t flags;
    uint32_t number;
};

// Why not every one of the values could be added with convAddValue (the
// first that could not), or null when all of them could; adds nothing.
const char *convCheckValues(const ConvValue *values, int count);

// What was added: files of every copy section, and registry values.
int convFileCount();
int convValueCount();

// The whole file, CR LF line ends, its head naming `sourcePath`: the text
// and its length (0 when it would not fit, which the capacities rule out).
size_t convComposeOutput(const char *sourcePath, const char **text);

#endif
