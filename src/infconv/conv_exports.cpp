// The names NT 3.5x exports; see conv_exports.h.
//
// A lookup decodes a set from its start until it reaches the value looked
// for or passes it: a thousand gaps of a few bits each, which even a 386
// walks in a moment for every name an image imports.

#include "infconv/conv_exports.h"

#include "inf/text.h"

namespace {

// The rank of `value` in the set, or -1 when the set does not hold it.
long findValue(const ConvCodedSet &set, uint32_t value) {
    uint32_t at = 0;
    unsigned long bit = 0;
    for (long rank = 0; rank < set.count; ++rank) {
        uint32_t gap = 0;
        while (set.bits[bit >> 3] & (0x80u >> (bit & 7))) {
            gap += 1u << set.riceBits;
            ++bit;
        }
        ++bit; // the unary part's 0
        for (unsigned i = 0; i < set.riceBits; ++i, ++bit)
            gap += ((set.bits[bit >> 3] >> (7 - (bit & 7))) & 1u) << (set.riceBits - 1 - i);
        at += gap;
        if (at >= value)
            return at == value ? rank : -1;
    }
    return -1;
}

// FNV-1a of the name's bytes, as tools/export_sets.py hashes them.
uint32_t hashName(const char *name) {
    uint32_t hash = 0x811C9DC5u;
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(name); *p; ++p)
        hash = (hash ^ *p) * 0x01000193u;
    return hash;
}

} // namespace

int convExportModule(const char *name) {
    for (int i = 0; i < CONV_EXPORT_MODULE_COUNT; ++i) {
        if (equalsIgnoreCase(name, CONV_EXPORT_MODULES[i].name))
            return i;
    }
    return -1;
}

ConvExportNeed convExportNeed(int module, const char *name, unsigned *servicePack) {
    const ConvCodedSet &names = CONV_EXPORT_MODULES[module].names;
    long rank = findValue(names, hashName(name) % names.range);
    if (rank < 0)
        return CONV_NEED_MISSING;
    // The newest version among the sets that hold the name.
    int newest = -1;
    for (int i = 0; i < CONV_EXPORT_VERSION_COUNT; ++i) {
        const ConvExportVersion &version = CONV_EXPORT_VERSIONS[i];
        if (version.module == module && static_cast<int>(version.servicePack) > newest &&
            findValue(version.ranks, static_cast<uint32_t>(rank)) >= 0)
            newest = version.servicePack;
    }
    *servicePack = newest > 0 ? static_cast<unsigned>(newest) : 0;
    return newest < 0 ? CONV_NEED_NT35 : newest == 0 ? CONV_NEED_NT351 : CONV_NEED_SERVICE_PACK;
}
