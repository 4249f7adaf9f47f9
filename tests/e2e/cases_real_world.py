"""Japanese paths and real-world INF files, end to end.

Wine runs with code page 932 as its ANSI code page, as a Japanese NT does,
so folder and file names with double-byte characters reach the program as
Shift-JIS bytes: an install from a folder whose name ends in a character
whose second byte is a backslash (表 is 95 5C), with and without an
argument; an INF path with forward slashes; over-long lines; AddReg lines
written with spaces after the commas; an INF file saved as UTF-16; and a
long name that matches *.inf only through its short name.
"""

import codecs

from harness import (ADDREG_UNREADABLE, COPYING, DESTINATION_DOS, LINE_TOO_LONG, REG_VALUE,
                     SERVICES, UTF16_REFUSED, case, census, copying, destination_dirs, dos_path,
                     dword, end_of_run, finished, intro, simple_inf, simple_run)


@case
def real_japanese_folder_ending_in_trail_byte_5c(c):
    # ソ is 83 5C, 表 95 5C, 能 94 5C, 予 97 5C: every one would end the
    # INF directory in the middle of a character if taken for a backslash.
    for tag, arguments in (("arg", lambda path: [path]), ("cwd", lambda path: [])):
        directory = c.path(tag, "ドライバソフト", "表")
        names = ["e2e_jp_{}.sys".format(tag), "予定表_{}.sys".format(tag)]
        for name in names:
            c.file(c.path(tag, "ドライバソフト", "表", name), name.encode("utf-8"))
        path = c.inf(simple_inf(names), name="能.inf", directory=directory)
        result = c.run(*arguments(path), cwd=directory)
        inf_dir = dos_path(directory) + "\\"
        c.expect_run(result, simple_run(path, "".join(copying(inf_dir, 12, n) for n in names)),
                     rc=0)
        for name in names:
            c.expect_file(c.installed(12, name), name.encode("utf-8"))


@case
def real_forward_slash_inf_path(c):
    # A stray file of the same name in the current directory must not be
    # installed in place of the driver's.
    name = "e2e_forward_slash.sys"
    c.source(name, b"stray")
    c.source("sub/" + name, b"driver")
    c.inf(simple_inf([name]), directory=c.path("sub"))
    result = c.run("sub/driver.inf")
    c.expect_run(result, simple_run("sub/driver.inf",
                                    COPYING.format("sub/" + name, DESTINATION_DOS[12] + name)),
                 rc=0)
    c.expect_file(c.installed(12, name), b"driver")


@case
def real_over_long_lines_skipped_whole(c):
    # The tail of the long comment in the copy section would be a copy line
    # of its own if the line were read in pieces.
    tail, kept = "e2e_long_tail.sys", "e2e_long_kept.sys"
    for name in (tail, kept):
        c.source(name, name.encode())
    long_comment = ";" + "x" * 1023
    path = c.inf("[Version]\nClass=LegacyDriver\n[DestinationDirs]\nDefaultDestDir=12\n"
                 + long_comment + "\n"                                       # line 5
                 + "[Drv.Copy]\n;" + "y" * 1022 + tail + "\n" + kept + "\n"  # line 7
                 + "[Drv.AddReg]\n")
    expected = (intro(path) + destination_dirs(("DefaultDestDir", 12)) + LINE_TOO_LONG.format(5)
                + LINE_TOO_LONG.format(7) + census("[Drv.Copy]", "[Drv.AddReg]")
                + copying(c.inf_dir, 12, kept) + finished())
    c.expect_run(c.run(path), expected, rc=0)
    c.expect_file(c.installed(12, kept), kept.encode())
    c.expect_file(c.installed(12, tail), None)


@case
def real_addreg_lines_with_spaces(c):
    key = SERVICES + "E2E_Spaces"
    spaced = 'HKLM, "{}", "Start", 0x00010001, 3'.format(key)
    lines = [spaced, 'HKLM,"{}","Type",0x00010001,1'.format(key),
             "   ; an indented comment asks for nothing", " \t "]
    path = c.inf(simple_inf(addreg=lines))
    expected = simple_run(path, ADDREG_UNREADABLE.format(spaced) + REG_VALUE.format(key, "Type", "1"),
                          not_installed=1)
    c.expect_run(c.run(path), expected, rc=0)
    c.expect_key(c.regdump(key), key, {"Type": dword(1)})


@case
def real_utf16_inf_refused(c):
    name = "e2e_utf16.sys"
    c.source(name, b"utf16")
    text = simple_inf([name]).replace("\n", "\r\n")
    for tag, bom, encoding in (("le", codecs.BOM_UTF16_LE, "utf-16-le"),
                               ("be", codecs.BOM_UTF16_BE, "utf-16-be")):
        c.source(tag + ".inf", bom + text.encode(encoding))
        path = c.dos(tag + ".inf")
        c.expect_run(c.run(path), intro(path) + end_of_run(UTF16_REFUSED), rc=1)
    c.expect_file(c.installed(12, name), None)


@case
def real_long_name_matching_only_by_short_name(c):
    # On NT, and in Wine, *.inf matches a.info through its short name
    # A~xxxx.INF: the program must pass over it to b.inf.
    wrong, right = "e2e_info_wrong.sys", "e2e_info_right.sys"
    for name in (wrong, right):
        c.source(name, name.encode())
    c.inf(simple_inf([wrong]), name="a.info")
    c.inf(simple_inf([right]), name="b.inf")
    expected = simple_run(c.dos("b.inf"), copying(c.inf_dir, 12, right))
    c.expect_run(c.run(), expected, rc=0)
    c.expect_file(c.installed(12, right), right.encode())
    c.expect_file(c.installed(12, wrong), None)
