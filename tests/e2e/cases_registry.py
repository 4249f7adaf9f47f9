"""Writing the driver's service values to the registry, end to end.

Each case runs an INF file with an empty copy section and one AddReg
section, compares the exact output and then reads the prefix's registry
back with regdump.exe: the type, bytes and byte count of every value (a
string's terminating NUL included) and the subkeys. Covered: a complete
driver service (REG_DWORD in decimal, hexadecimal and octal, REG_SZ,
REG_EXPAND_SZ keeping its percent signs), keys outside the services key,
unsupported flags, lines without the line format (each reported), an
existing key with no console to ask, and the 65th key to be claimed in one
run. Whatever was not written is counted in the closing warning.
"""

from harness import (ADDREG_UNREADABLE, IMAGE_PATH_WARNING, INVALID_KEY, KEY_EXISTS,
                     OVERWRITE_QUESTION, REG_VALUE, SAME_FILE, SERVICES, TOO_MANY_KEYS,
                     UNSUPPORTED_TYPE, case, census, copying, destination_dirs, dword, expand_sz,
                     finished, intro, simple_inf, simple_run, sz)


def addreg_line(key, name, flags, data):
    return 'HKLM,"{}","{}",{},{}'.format(key, name, flags, data)


def run_addreg(c, lines, installation, not_installed=0, changed=True):
    """Runs an INF file whose AddReg section holds `lines` and checks that
    its installation pass prints `installation`, that the closing warning
    counts `not_installed` items, that the installation record is named
    when the run `changed` the registry, and that it ends with exit code
    0."""
    path = c.inf(simple_inf(addreg=lines))
    c.expect_run(c.run(path), simple_run(path, installation, not_installed,
                                         c.record(path) if changed else None), rc=0)


@case
def reg_complete_driver_service(c):
    key = SERVICES + "E2E_Service"
    parameters = key + "\\Parameters"
    image = '"\\SystemRoot\\System32\\Drivers\\e2e_service.sys"'  # as the kernel reads it
    values = [(key, "Type", "0x00010001", "1"),
              (key, "Start", "0x00010001", "0x10"),
              (key, "ErrorControl", "0x00010001", "010"),
              (key, "Group", "0x00000000", '"Extended Base"'),
              (key, "ImagePath", "0x00020000", image),
              (parameters, "Limit", "0x00010001", "4294967295")]
    run_addreg(c, [addreg_line(*value) for value in values],
               "".join(REG_VALUE.format(k, name, data) for k, name, _, data in values))
    dump = c.regdump(key, parameters)
    c.expect_key(dump, key, {"Type": dword(1), "Start": dword(16), "ErrorControl": dword(8),
                             "Group": sz("Extended Base"), "ImagePath": expand_sz(image[1:-1])},
                 subkeys=["Parameters"])
    c.expect_key(dump, parameters, {"Limit": dword(0xFFFFFFFF)})


@case
def reg_key_outside_services(c):
    keys = ["Software\\E2E_Outside",
            "System\\CurrentControlSet\\ServicesE2E_Outside",
            "System\\CurrentControlSet\\Control\\E2E_Outside"]
    run_addreg(c, [addreg_line(key, "Value", "0x00000000", '"x"') for key in keys],
               "".join(INVALID_KEY.format(key) for key in keys), not_installed=3, changed=False)
    dump = c.regdump(*keys)
    for key in keys:
        c.expect_key(dump, key, None)


@case
def reg_unsupported_flags(c):
    key = SERVICES + "E2E_Flags"
    lines = [(key, "One", "1", "2"), (key, "Binary", "0x00010000", "2")]
    run_addreg(c, [addreg_line(*line) for line in lines],
               "".join(REG_VALUE.format(k, name, data) + UNSUPPORTED_TYPE.format(int(flags, 0))
                       for k, name, flags, data in lines), not_installed=2)
    # The key was created all the same; no value was written.
    c.expect_key(c.regdump(key), key, {})


@case
def reg_lines_without_the_line_format(c):
    skipped = {"Hkcu": 'HKCU,"{key}","V",0x00000000,"x"',
               "Hkr": 'HKR,"{key}","V",0x00000000,"x"',
               "LowerRoot": 'hklm,"{key}","V",0x00000000,"x"',
               "EmptyName": 'HKLM,"{key}","",0x00000000,"x"',
               "NoData": 'HKLM,"{key}","V",0x00010001',
               "EmptyData": 'HKLM,"{key}","V",0x00010001,'}
    keys = {tag: SERVICES + "E2E_Skipped" + tag for tag in skipped}
    kept = SERVICES + "E2E_SkippedKept"
    lines = [pattern.format(key=keys[tag]) for tag, pattern in skipped.items()]
    lines.append(addreg_line(kept, "V", "0x00010001", "7"))
    run_addreg(c, lines,
               "".join(ADDREG_UNREADABLE.format(line) for line in lines[:-1])
               + REG_VALUE.format(kept, "V", "7"), not_installed=len(skipped))
    dump = c.regdump(kept, *keys.values())
    c.expect_key(dump, kept, {"V": dword(7)})
    for key in keys.values():
        c.expect_key(dump, key, None)


@case
def reg_existing_key_without_console(c):
    existing = SERVICES + "E2E_Existing"
    new = SERVICES + "E2E_ExistingNew"
    c.reg_create(existing)
    run_addreg(c, [addreg_line(existing, "Start", "0x00010001", "2"),
                   addreg_line(existing, "Type", "0x00010001", "1"),
                   addreg_line(new, "Start", "0x00010001", "3")],
               REG_VALUE.format(existing, "Start", "2") + OVERWRITE_QUESTION + "N\n" + KEY_EXISTS
               + REG_VALUE.format(existing, "Type", "1") + KEY_EXISTS
               + REG_VALUE.format(new, "Start", "3"), not_installed=2)
    dump = c.regdump(existing, new)
    c.expect_key(dump, existing, {})
    c.expect_key(dump, new, {"Start": dword(3)})


@case
def reg_65th_claimed_key(c):
    parent = SERVICES + "E2E_Many"
    keys = ["{}\\K{:02}".format(parent, number) for number in range(1, 66)]
    lines = [addreg_line(key, "V", "0x00010001", str(number))
             for number, key in enumerate(keys, 1)]
    # A later value below a claimed key is still written; its line follows
    # the message about too many keys on the same console line.
    lines.append(addreg_line(keys[0], "W", "0x00010001", "99"))
    printed = "".join(REG_VALUE.format(key, "V", number) for number, key in enumerate(keys, 1))
    run_addreg(c, lines, printed + TOO_MANY_KEYS + REG_VALUE.format(keys[0], "W", "99"),
               not_installed=1)
    dump = c.regdump(parent, *keys)
    c.expect_key(dump, parent, {}, subkeys=["K{:02}".format(n) for n in range(1, 65)])
    c.expect_key(dump, keys[0], {"V": dword(1), "W": dword(99)})
    for number, key in enumerate(keys[1:64], 2):
        c.expect_key(dump, key, {"V": dword(number)})
    c.expect_key(dump, keys[64], None)


@case
def reg_what_this_run_made_is_its_own(c):
    # A key this run made as the parent of a deeper key is taken over at its
    # own first line; a file listed by two copy sections is copied once and
    # then found the same; a driver whose ImagePath the kernel cannot load
    # is written as asked, and warned of after the section.
    key = SERVICES + "E2E_RevK"
    name = "e2e_revk.sys"
    c.source(name, b"driver")
    image = '"%SystemRoot%\\System32\\Drivers\\{}"'.format(name)
    lines = ['HKLM,"{}\\Parameters","P",0x00010001,1'.format(key),
             'HKLM,"{}","Type",0x00010001,1'.format(key),
             'HKLM,"{}","Start",0x00010001,3'.format(key),
             'HKLM,"{}","ImagePath",0x00020000,{}'.format(key, image)]
    path = c.inf("[Version]\nClass=LegacyDriver\n[DestinationDirs]\nDefaultDestDir=12\n"
                 "[Drv.Copy]\n{0}\n[More.Copy]\n{0}\n[Drv.AddReg]\n".format(name)
                 + "".join(line + "\n" for line in lines))
    expected = (intro(path) + destination_dirs(("DefaultDestDir", 12))
                + census("[Drv.Copy]", "[More.Copy]", "[Drv.AddReg]")
                + copying(c.inf_dir, 12, name) + copying(c.inf_dir, 12, name)
                + SAME_FILE.format(c.installed_dos(12, name))
                + REG_VALUE.format(key + "\\Parameters", "P", "1")
                + REG_VALUE.format(key, "Type", "1") + REG_VALUE.format(key, "Start", "3")
                + REG_VALUE.format(key, "ImagePath", image)
                + IMAGE_PATH_WARNING.format(key, image) + finished(record=c.record(path)))
    c.expect_run(c.run(path), expected, rc=0)
    c.expect_file(c.installed(12, name), b"driver")
    c.expect_key(c.regdump(key), key, {"Type": dword(1), "Start": dword(3),
                                       "ImagePath": expand_sz(image[1:-1])},
                 subkeys=["Parameters"])
