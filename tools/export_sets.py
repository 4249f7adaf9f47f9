#!/usr/bin/env python3
"""export_sets.py - the names NT 3.5 and 3.51 export, as infconv's tables.

infconv checks every name a driver's image imports from ntoskrnl.exe,
hal.dll, kernel32.dll, advapi32.dll and crtdll.dll against the names those
modules export on NT 3.5x (the lists in tools/nt35-exports, one name a
line, the first line naming where they come from). About 2,400 names do
not fit in infconv.exe as text, so each module's list becomes a set of
hashes, coded compactly; the build runs this script on the lists, so that
the lists and the tables cannot drift apart.

Each set holds, for every name, FNV-1a (32 bits) of its bytes modulo
count * RANGE_PER_NAME; the values are sorted and each gap to the previous
one (the first from 0) is Golomb-Rice coded: the gap shifted right by the
set's rice bits in unary (that many 1 bits, then a 0), then its low rice
bits, most significant first, bits filling each byte from its top bit. A
name that is not in the set is found in it only when its value happens to
be one of the set's: about 1 in RANGE_PER_NAME.

What differs between versions is kept as small sets of their own, coded
the same way, of the ranks (the places in sorted order) of the names in
the module's set: those of ntoskrnl.txt that ntoskrnl350.txt lacks (what
NT 3.51 added), and those that only a service pack of 3.51 added, one set
per service pack, as the first line of the list names them ("Name (in
SP2)").

    export_sets.py EXPORTS_DIR OUTPUT.cpp
"""

import os
import re
import sys

# The modules whose imports are checked: the module's name as an image
# names it (compared without regard to case), its list, and the list of
# NT 3.5 when it differs from 3.51's.
MODULES = (
    ("ntoskrnl.exe", "ntoskrnl.txt", "ntoskrnl350.txt"),
    ("hal.dll", "hal.txt", None),
    ("kernel32.dll", "kernel32.txt", None),
    ("advapi32.dll", "advapi32.txt", None),
    ("crtdll.dll", "crtdll.txt", None),
)
# Above 10,000, so that a name not in a set is taken for one of its names
# less often than once in 10,000 lookups.
RANGE_PER_NAME = 10240
# The longest name infconv reads whole (its name buffer less the NUL);
# a longer one can be in no list.
LONGEST_NAME = 255


def fnv1a(data):
    value = 0x811C9DC5
    for byte in data:
        value = ((value ^ byte) * 0x01000193) & 0xFFFFFFFF
    return value


def read_list(path):
    """The first line and the names of a list."""
    with open(path, "rb") as f:
        lines = f.read().decode("ascii").splitlines()
    if not lines or not lines[0].startswith("#"):
        sys.exit("%s: the first line must name the list's source" % path)
    names = [line.strip() for line in lines[1:] if line.strip() and not line.startswith("#")]
    if len(set(names)) != len(names):
        sys.exit("%s: a name is listed twice" % path)
    for name in names:
        if len(name) > LONGEST_NAME:
            sys.exit("%s: %s is longer than infconv reads" % (path, name))
    return lines[0], names


def rice_bits(values):
    """The rice bits that code the gaps of `values` (sorted) in the fewest bits."""
    def size(bits):
        previous, total = 0, 0
        for value in values:
            total += ((value - previous) >> bits) + 1 + bits
            previous = value
        return total
    return min(range(0, 24), key=size)


def code(values):
    """(the bytes, the rice bits) of sorted distinct `values`."""
    bits = rice_bits(values)
    out, previous = [], 0
    for value in values:
        gap = value - previous
        previous = value
        out += [1] * (gap >> bits) + [0]
        out += [(gap >> i) & 1 for i in range(bits - 1, -1, -1)]
    out += [0] * (-len(out) % 8)
    data = bytes(int("".join(map(str, out[i:i + 8])), 2) for i in range(0, len(out), 8))
    return data, bits


def c_bytes(data):
    rows = [", ".join("0x%02X" % b for b in data[i:i + 16]) for i in range(0, len(data), 16)]
    return "    " + ",\n    ".join(rows) if rows else "    0"


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: export_sets.py EXPORTS_DIR OUTPUT.cpp")
    directory, output = sys.argv[1], sys.argv[2]
    # Every set's bytes in one array, each set at its offset: one array
    # wastes no room on the alignment of several.
    everything, modules, versions, sizes = bytearray(), [], [], []

    def add_set(label, values, value_range):
        data, bits = code(values)
        offset = len(everything)
        everything.extend(data)
        sizes.append("%s %d values, %d bytes" % (label, len(values), len(data)))
        return "{BITS + %d, %d, %d, %d}" % (offset, len(values), bits, value_range)

    for index, (module, list_name, older_name) in enumerate(MODULES):
        first, names = read_list(os.path.join(directory, list_name))
        value_range = len(names) * RANGE_PER_NAME
        hashed = {name: fnv1a(name.encode("ascii")) % value_range for name in names}
        values = sorted(hashed.values())
        if len(set(values)) != len(values):
            # Two names of one module would share a rank.
            sys.exit("%s: two names share a value; change RANGE_PER_NAME" % list_name)
        label = "NAMES_" + re.sub(r"\W", "_", module).upper()
        modules.append('    {"%s", %s},' % (module, add_set(label, values, value_range)))
        rank = {value: i for i, value in enumerate(values)}
        if older_name:
            _, older = read_list(os.path.join(directory, older_name))
            added = sorted(rank[hashed[name]] for name in set(names) - set(older))
            versions.append("    {%d, 0, %s}," % (index, add_set(label + "_351", added, 0)))
        packs = {}
        for name, pack in re.findall(r"(\S+) \(in SP(\d+)\)", first):
            if name not in names:
                sys.exit("%s: %s, which its first line names, is not listed" % (list_name, name))
            packs.setdefault(int(pack), []).append(rank[hashed[name]])
        for pack in sorted(packs):
            versions.append("    {%d, %d, %s}," % (
                index, pack, add_set("%s_SP%d" % (label, pack), sorted(packs[pack]), 0)))

    text = [
        "// Generated by tools/export_sets.py from tools/nt35-exports: do not edit.",
        "// " + "; ".join(sizes) + "; %d bytes in all." % len(everything),
        "",
        '#include "infconv/conv_exports.h"',
        "",
        "namespace {",
        "",
        "const unsigned char BITS[] = {",
        c_bytes(everything) + "};",
        "",
        "} // namespace",
        "",
        "const ConvExportModule CONV_EXPORT_MODULES[] = {",
    ] + modules + [
        "};",
        "const int CONV_EXPORT_MODULE_COUNT = %d;" % len(modules),
        "",
        "const ConvExportVersion CONV_EXPORT_VERSIONS[] = {",
    ] + versions + [
        "};",
        "const int CONV_EXPORT_VERSION_COUNT = %d;" % len(versions),
        "",
    ]
    with open(output, "w") as f:
        f.write("\n".join(text))


if __name__ == "__main__":
    main()
