"""Japanese paths and real-world INF files, end to end.

Wine runs with code page 932 as its ANSI code page, as a Japanese NT does,
so folder and file names with double-byte characters reach the program as
Shift-JIS bytes: an install from a folder whose name ends in a character
whose second byte is a backslash (表 is 95 5C), with and without an
argument; an INF path with forward slashes or on drive A: with no folder;
over-long lines; AddReg lines with spaces or a trailing comment; an INF
file saved as UTF-16; a long name that matches *.inf only through its
short name and a folder named like an INF file; destination subfolders;
AddService lines; and lines whose meaning is not plain (numbers that are
not one number, a [DestinationDirs] line without '=', headers with text
after their ']' or in another letter case), which install nothing; and
the lines that once did something else than they said (copy lines with a
subfolder, stray CR and NUL bytes, a UTF-8 file, [DestinationDirs]
numbers that are not one number, headers whose "Copy]" or "AddReg]"
begins on a trail byte), each refused or reported.
"""

import codecs
import os

from harness import (ADDREG_UNREADABLE, ADDSERVICE_UNSUPPORTED, BAD_FILE_NAME, BANNER, COPYING,
                     DESTINATION_DOS, DESTINATION_NUMBER_UNREADABLE, DESTINATION_UNREADABLE,
                     HEADER_CASE_MISMATCH, HEADER_UNREADABLE, LINE_TOO_LONG, NOT_INF, REG_VALUE,
                     SERVICES, STRAY_BYTE_LINE, UNSUPPORTED_DESTINATION, UTF16_REFUSED,
                     UTF8_REFUSED, case, census, copying, destination_dirs, dos_path, dword,
                     end_of_run, finished, intro, simple_inf, simple_run)


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
        c.expect_run(result, simple_run(path, "".join(copying(inf_dir, 12, n) for n in names),
                                        record=c.record(path)), rc=0)
        for name in names:
            c.expect_file(c.installed(12, name), name.encode("utf-8"))


@case
def real_forward_slash_inf_path(c):
    # A stray file of the same name in the current directory must not be
    # installed in place of the driver's.
    name = "e2e_forward_slash.sys"
    c.source(name, b"stray")
    c.source("sub/" + name, b"driver")
    inf = c.inf(simple_inf([name]), directory=c.path("sub"))
    result = c.run("sub/driver.inf")
    c.expect_run(result, simple_run("sub/driver.inf",
                                    COPYING.format("sub/" + name, DESTINATION_DOS[12] + name),
                                    record=c.record(inf)), rc=0)
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
                + copying(c.inf_dir, 12, kept) + finished(2, c.record(path)))
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
                          not_installed=1, record=c.record(path))
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
    inf = c.inf(simple_inf([right]), name="b.inf")
    expected = simple_run(inf, copying(c.inf_dir, 12, right), record=c.record(inf))
    c.expect_run(c.run(), expected, rc=0)
    c.expect_file(c.installed(12, right), right.encode())
    c.expect_file(c.installed(12, wrong), None)
    # Alone, so that the skip is seen whatever order the folder lists in.
    c.inf(simple_inf([wrong]), name="a.info", directory=c.path("alone"))
    c.expect_run(c.run(cwd=c.path("alone")), BANNER + end_of_run(NOT_INF), rc=1)


@case
def real_folders_named_like_inf_files(c):
    name = "e2e_folder_inf.sys"
    c.source(name, name.encode())
    for folder in ("a.inf", "alone/e2e.inf"):
        os.makedirs(c.path(folder))
    inf = c.inf(simple_inf([name]), name="b.inf")
    c.expect_run(c.run(), simple_run(inf, copying(c.inf_dir, 12, name), record=c.record(inf)),
                 rc=0)
    c.expect_run(c.run(cwd=c.path("alone")), BANNER + end_of_run(NOT_INF), rc=1)


@case
def real_drive_relative_inf_path(c):
    name = "e2e_drive_relative.sys"  # from A:, not the stray one in the current directory
    c.source(name, b"stray")
    c.source("floppy/" + name, b"driver")
    inf = c.inf(simple_inf([name]), name="e2edrive.inf", directory=c.path("floppy"))
    os.symlink(c.path("floppy"), os.path.join(c.wine.prefix, "dosdevices", "a:"))
    expected = simple_run("A:e2edrive.inf", COPYING.format("A:" + name, DESTINATION_DOS[12] + name),
                          record=c.record(inf))
    c.expect_run(c.run("A:e2edrive.inf"), expected, rc=0)
    c.expect_file(c.installed(12, name), b"driver")


@case
def real_destination_subfolders(c):
    name = "e2e_subfolder.sys"
    c.source(name, name.encode())
    path = c.inf(simple_inf([name]).replace("=12\n", "=12\nDrv.Copy = 11, e2esub ; a folder\n"))
    expected = (intro(path) + destination_dirs(("DefaultDestDir", 12), ("Drv.Copy", 11))
                + census("[Drv.Copy]", "[Drv.AddReg]") + UNSUPPORTED_DESTINATION.format("Drv.Copy")
                + finished(1))
    c.expect_run(c.run(path), expected, rc=0)
    c.expect_file(c.installed(11, name), None)


@case
def real_addservice_line_reported(c):
    path = c.inf(simple_inf() + "[Install]\nAddService = E2E_Svc,,E2E_Svc.Service ; service\n")
    reported = ADDSERVICE_UNSUPPORTED.format("AddService = E2E_Svc,,E2E_Svc.Service")
    c.expect_run(c.run(path), simple_run(path, reported, 1), rc=0)


@case
def real_addreg_string_with_trailing_comment(c):
    key = SERVICES + "E2E_TrailingComment"
    line = 'HKLM,"{}","Group",0x00000000,"Extended Base" ; load group'.format(key)
    path = c.inf(simple_inf(addreg=[line]))
    c.expect_run(c.run(path), simple_run(path, ADDREG_UNREADABLE.format(line), 1), rc=0)
    c.expect_key(c.regdump(key), key, None)


@case
def real_lines_whose_meaning_is_not_plain(c):
    # Each once wrote a value or placed a file the INF file never asked for.
    key = SERVICES + "E2E_Plain"
    names = ["e2e_plain_{}.sys".format(n) for n in ("case", "bracket", "main", "indented")]
    for name in names:
        c.source(name, name.encode())
    start, *refused = ['HKLM,"{}",{}'.format(key, fields) for fields in (
        '"Start",0x00010001,"3"', '"Type",REG_DWORD,1', '"Big",0x00010001,99999999999',
        '"Junk",0x00010001junk,1', '"Tail",0x00010001,12abc')]
    path = c.inf("[Version]\nClass=LegacyDriver\n[DestinationDirs]\nDefaultDestDir=12\n"
                 "Drv.Copy = 11\nDrv.Dll.Copy = 10\nOther.Copy  10\n"
                 "[drv.copy]\n{}\n[Drv.Dll.Copy] x\n{}\n[Drv.Copy]\n{}\n  [B.Copy]\n{}\n   \n"
                 "[Drv.AddReg]\n".format(*names)
                 + "".join(line + "\n" for line in [start] + refused))
    expected = (intro(path) + destination_dirs(("DefaultDestDir", 12), ("Drv.Copy", 11),
                                               ("Drv.Dll.Copy", 10))
                + DESTINATION_UNREADABLE.format("Other.Copy  10")
                + census("[Drv.Copy]", "[B.Copy]", "[Drv.AddReg]")
                + HEADER_CASE_MISMATCH.format("[drv.copy]")
                + HEADER_UNREADABLE.format("[Drv.Dll.Copy] x")
                + copying(c.inf_dir, 11, names[2]) + copying(c.inf_dir, 12, names[3])
                + REG_VALUE.format(key, "Start", '"3"')
                + "".join(ADDREG_UNREADABLE.format(line) for line in refused)
                + finished(7, c.record(path)))
    c.expect_run(c.run(path), expected, rc=0)
    c.expect_key(c.regdump(key), key, {"Start": dword(3)})
    for directory_id in (10, 11, 12):
        for name in names:
            wanted = (directory_id, name) in ((11, names[2]), (12, names[3]))
            c.expect_file(c.installed(directory_id, name), name.encode() if wanted else None)


@case
def real_every_line_does_what_it_says_or_is_reported(c):
    key, memo = SERVICES + "E2E_Lines", SERVICES + "E2E_Memo"
    names = {tag: "e2e_lines_{}.sys".format(tag)
             for tag in ("ok", "a", "b", "n", "start", "A", "B", "C", "D", "E", "kanji")}
    for name in names.values():
        c.source(name, name.encode())
    c.source(os.path.join("etc", "hosts"), b"not the system's hosts")
    c.source(os.path.join("system", "revi.drv"), b"not a Windows file")
    hosts = c.installed(12, os.path.join("etc", "hosts"))
    with open(hosts, "rb") as f:  # Wine's own, which must stay as it is
        hosts_before = f.read()
    numbers = [("A", "-4294967286"), ("D", "4294967307"), ("B", "11 sub"), ("C", "11.5"),
               ("E", "11abc")]
    group = 'HKLM,"{}","Group",0,Extended\r Base'.format(key)
    start = 'HKLM,"{}","Start",0x00010001,1\x000'.format(key)
    kind = 'HKLM,"{}","Type",0x00010001,1'.format(key)
    lines = (["[Version]", "Class=LegacyDriver", "[DestinationDirs]", "DefaultDestDir=12"]
             + ["{}.Copy = {}".format(tag, value) for tag, value in numbers]
             + ["Win.Copy = 10", "[Drv.Copy]", "etc\\hosts",
                names["a"] + "\r" + names["b"], names["n"] + "\x00.bak",  # then CR LF
                "\x00" + names["start"], names["ok"], "[Win.Copy]", "system\\revi.drv"]
             + ["[{0}.Copy]\n{1}".format(tag, names[tag]) for tag, _ in numbers]
             + ["[説明イopy]", names["kanji"],  # イ is 83 43: no "Copy]"
                "[メモアddReg]", 'HKLM,"{}","Start",0x00010001,3'.format(memo),  # ア is 83 41
                "[Drv.AddReg]", group, start, kind])
    text = "\n".join(lines) + "\n"
    stray = [number for number, line in enumerate(text.split("\n"), 1)
             if "\x00" in line or "\r" in line]
    path = c.inf(text)
    expected = (intro(path) + destination_dirs(("DefaultDestDir", 12))
                + "".join(DESTINATION_NUMBER_UNREADABLE.format("{}.Copy = {}".format(*n))
                          for n in numbers)
                + "Win.Copy = 10\n" + "".join(STRAY_BYTE_LINE.format(n) for n in stray)
                + census("[Drv.Copy]", "[Win.Copy]",
                         *("[{}.Copy]".format(tag) for tag, _ in numbers), "[Drv.AddReg]")
                + BAD_FILE_NAME.format("etc\\hosts") + copying(c.inf_dir, 12, names["ok"])
                + BAD_FILE_NAME.format("system\\revi.drv")
                + "".join(UNSUPPORTED_DESTINATION.format(tag + ".Copy") for tag, _ in numbers)
                + REG_VALUE.format(key, "Type", "1")
                + finished(len(stray) + 2 + len(numbers), c.record(path)))
    c.expect_equal("stray lines", len(stray), 5)
    c.expect_run(c.run(path), expected, rc=0)
    for tag, name in names.items():
        for directory_id in (10, 11, 12):
            wanted = (tag, directory_id) == ("ok", 12)
            c.expect_file(c.installed(directory_id, name), name.encode() if wanted else None)
    c.expect_file(hosts, hosts_before)
    c.expect_file(c.installed(10, os.path.join("system", "revi.drv")), None)
    dump = c.regdump(key, memo)
    c.expect_key(dump, key, {"Type": dword(1)})
    c.expect_key(dump, memo, None)

    # The same file saved as UTF-8 with its byte-order mark: its Japanese
    # would be read as other characters, so it is refused whole.
    utf8 = simple_inf([names["ok"]], ['HKLM,"{}","Group",0,"拡張"'.format(memo)])
    c.source("utf8.inf", b"\xef\xbb\xbf" + utf8.replace("\n", "\r\n").encode("utf-8"))
    path = c.dos("utf8.inf")
    c.expect_run(c.run(path), intro(path) + end_of_run(UTF8_REFUSED), rc=1)
    c.expect_key(c.regdump(memo), memo, None)
