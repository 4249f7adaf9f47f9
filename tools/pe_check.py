#!/usr/bin/env python3
"""pe_check.py - verify that an executable can load on Windows NT 3.50/3.51.

infinst is cross-compiled with mingw-w64 and must run on NT 3.5x.  Such old
systems refuse executables whose header asks for a newer subsystem or OS
version, and the loader fails if the program imports a DLL or a function that
does not exist there.  This script reads the PE headers and the import table
of EXE and prints one line for each problem it finds:

  * machine is not i386, or subsystem is not console (3);
  * subsystem version or OS version is not 3.10;
  * DllCharacteristics has DYNAMIC_BASE (0x40) or NX_COMPAT (0x100);
  * a DLL other than KERNEL32.dll, ADVAPI32.dll or crtdll.dll is imported,
    or delay-load imports are present;
  * an imported name is missing from EXPORTS_DIR/<dll>.txt (one name per
    line, lines starting with '#' ignored; by default the lists of NT 3.5x
    in tools/nt35-exports beside this script); imports by ordinal are
    refused;
  * the file is larger than --max-size bytes (default 32768, a floppy-sized
    tool's budget; 49152 for infconv.exe, whose checks of a service before
    it is written take more room).

Exit status is 0 when the file is clean, 1 otherwise.  Standard library only.
"""

import argparse
import os
import struct
import sys

ALLOWED_DLLS = ("kernel32.dll", "advapi32.dll", "crtdll.dll")
EXPORTS_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "nt35-exports")
MAX_SIZE = 32768
# Programs allowed more than MAX_SIZE, by file name in any letter case.
MAX_SIZES = {"infconv.exe": 49152}
DYNAMIC_BASE = 0x0040
NX_COMPAT = 0x0100


class PEError(Exception):
    """The file is not a PE image this script can read."""


class PEFile:
    """Minimal read-only view of the headers and import table of a PE file."""

    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ" or len(data) < 0x40:
            raise PEError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise PEError("no PE signature")
        (self.machine, nsect, _, _, _, opt_size, _) = struct.unpack_from("<HHIIIHH", data, pe + 4)
        opt = pe + 24
        magic = self.u16(opt)
        if magic not in (0x10B, 0x20B):
            raise PEError("unknown optional header magic 0x%X" % magic)
        self.pe32plus = magic == 0x20B
        # These fields sit at the same offsets in PE32 and PE32+.
        self.os_version = (self.u16(opt + 40), self.u16(opt + 42))
        self.subsys_version = (self.u16(opt + 48), self.u16(opt + 50))
        self.subsystem = self.u16(opt + 68)
        self.dll_chars = self.u16(opt + 70)
        ndirs_off = opt + (108 if self.pe32plus else 92)
        ndirs = min(struct.unpack_from("<I", data, ndirs_off)[0], 16)
        self.dirs = [struct.unpack_from("<II", data, ndirs_off + 4 + 8 * i) for i in range(ndirs)]
        sect = opt + opt_size
        self.sections = []  # (virtual address, virtual size, raw size, raw offset)
        for i in range(nsect):
            vsize, va, rsize, roff = struct.unpack_from("<IIII", data, sect + 40 * i + 8)
            self.sections.append((va, max(vsize, rsize), rsize, roff))

    def u16(self, off):
        return struct.unpack_from("<H", self.data, off)[0]

    def directory(self, index):
        return self.dirs[index] if index < len(self.dirs) else (0, 0)

    def offset(self, rva):
        """Translate an RVA into a file offset."""
        for va, vsize, rsize, roff in self.sections:
            if va <= rva < va + vsize and rva - va < rsize:
                return roff + rva - va
        raise PEError("RVA 0x%X is outside every section" % rva)

    def cstring(self, rva):
        off = self.offset(rva)
        return self.data[off:self.data.index(b"\0", off)].decode("latin-1")

    def imports(self):
        """Yield (dll name, function name or None for an ordinal, ordinal)."""
        rva, size = self.directory(1)
        if not rva or not size:
            return
        desc = self.offset(rva)
        width, flag = (8, 1 << 63) if self.pe32plus else (4, 1 << 31)
        while True:
            lookup, _, _, name_rva, iat = struct.unpack_from("<IIIII", self.data, desc)
            if not (lookup or name_rva or iat):
                break
            dll = self.cstring(name_rva)
            thunk = self.offset(lookup or iat)
            while True:
                entry = int.from_bytes(self.data[thunk:thunk + width], "little")
                if not entry:
                    break
                if entry & flag:
                    yield dll, None, entry & 0xFFFF
                else:  # hint/name entry: 2-byte hint, then the name
                    yield dll, self.cstring((entry & 0x7FFFFFFF) + 2), None
                thunk += width
            desc += 20


def load_exports(directory, dll):
    """Return the set of names listed in DIRECTORY/<dll without .dll>.txt."""
    path = os.path.join(directory, dll.lower()[:-4] + ".txt")
    with open(path, encoding="utf-8") as f:
        return {line.strip() for line in f if line.strip() and not line.startswith("#")}


def check(path, exports_dir, max_size):
    """Return (list of problems, summary text) for the file at PATH."""
    with open(path, "rb") as f:
        data = f.read()
    pe = PEFile(data)
    header_checks = [
        (pe.machine != 0x14C, "machine is 0x%X, not i386 (0x14C)" % pe.machine),
        (pe.subsystem != 3, "subsystem is %d, not console (3)" % pe.subsystem),
        (pe.subsys_version != (3, 10), "subsystem version is %d.%d, not 3.10" % pe.subsys_version),
        (pe.os_version != (3, 10), "OS version is %d.%d, not 3.10" % pe.os_version),
        (pe.dll_chars & DYNAMIC_BASE, "DllCharacteristics has DYNAMIC_BASE (0x40)"),
        (pe.dll_chars & NX_COMPAT, "DllCharacteristics has NX_COMPAT (0x100)"),
        (pe.directory(13)[0], "delay-load imports present"),
    ]
    bad = [text for failed, text in header_checks if failed]
    dlls, count, known = set(), 0, {}
    for dll, name, ordinal in pe.imports():
        count += 1
        key = dll.lower()
        if key not in ALLOWED_DLLS:
            if key not in dlls:
                bad.append("imports from %s" % dll)
        elif name is None:
            bad.append("%s: import by ordinal %d" % (dll, ordinal))
        else:
            if key not in known:
                known[key] = load_exports(exports_dir, key)
            if name not in known[key]:
                bad.append("%s: %s is not exported by NT 3.5x" % (dll, name))
        dlls.add(key)
    if len(data) > max_size:
        bad.append("size %d bytes exceeds %d" % (len(data), max_size))
    return bad, "%s %d bytes, %d DLLs, %d imports" % (os.path.basename(path), len(data),
                                                       len(dlls), count)


def main():
    parser = argparse.ArgumentParser(description="Check that a PE executable suits NT 3.5x.")
    parser.add_argument("exe")
    parser.add_argument("exports_dir", nargs="?", default=EXPORTS_DIR,
                        help="holds kernel32.txt, advapi32.txt, crtdll.txt (default %(default)s)")
    parser.add_argument("--max-size", type=int,
                        help="default %d bytes (%s)" % (MAX_SIZE, ", ".join(
                            "%s: %d" % item for item in MAX_SIZES.items())))
    args = parser.parse_args()
    if args.max_size is None:
        args.max_size = MAX_SIZES.get(os.path.basename(args.exe).lower(), MAX_SIZE)
    try:
        bad, summary = check(args.exe, args.exports_dir, args.max_size)
    except (OSError, PEError, struct.error, ValueError) as e:
        print("pe_check: %s: %s" % (args.exe, e))
        return 1
    for line in bad:
        print("pe_check: %s: %s" % (args.exe, line))
    if not bad:
        print("pe_check: ok: " + summary)
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
