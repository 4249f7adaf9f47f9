// The names NT 3.5 and 3.51 export from the modules whose imports the
// converter checks (ntoskrnl.exe, hal.dll, kernel32.dll, advapi32.dll,
// crtdll.dll), and what a name needs: NT 3.5, NT 3.51, or a service pack
// of 3.51.
//
// The lists (tools/nt35-exports) hold about 2,400 names, too many for the
// program as text: tools/export_sets.py turns them at build time into the
// tables below, one coded set of hashes a module, and small sets of their
// own for what differs between versions (its docstring gives the coding).
// A name that is not listed is found in a module's set about once in
// 10,000 lookups; a listed name always is.

#ifndef INFCONV_CONV_EXPORTS_H
#define INFCONV_CONV_EXPORTS_H

#include <cstdint>

// A Golomb-Rice coded set of `count` sorted values: FNV-1a hashes of names
// modulo `range`, or ranks in a module's set (`range` 0).
struct ConvCodedSet {
    const unsigned char *bits;
    uint16_t count;
    uint8_t riceBits;
    uint32_t range;
};

// A module and the names it exports on NT 3.51, its service packs included.
struct ConvExportModule {
    const char *name;
    ConvCodedSet names;
};

// The names of a module (by its index) that NT 3.51 added (`servicePack`
// 0) or that only that service pack of 3.51 added, as ranks in the
// module's set.
struct ConvExportVersion {
    uint8_t module;
    uint8_t servicePack;
    ConvCodedSet ranks;
};

// The tables, generated from tools/nt35-exports.
extern const ConvExportModule CONV_EXPORT_MODULES[];
extern const int CONV_EXPORT_MODULE_COUNT;
extern const ConvExportVersion CONV_EXPORT_VERSIONS[];
extern const int CONV_EXPORT_VERSION_COUNT;

// The module of that name (ASCII case ignored), or -1 when it has no list.
int convExportModule(const char *name);

// What the name imported from the module (an index convExportModule gave)
// needs.
enum ConvExportNeed {
    CONV_NEED_MISSING, // no version of NT 3.5x exports it
    CONV_NEED_NT35,
    CONV_NEED_NT351,
    CONV_NEED_SERVICE_PACK // of 3.51, its number into `servicePack`
};
ConvExportNeed convExportNeed(int module, const char *name, unsigned *servicePack);

#endif
