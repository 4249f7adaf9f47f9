"""Copying the driver's files, end to end.

Files copied byte for byte into the Windows directory, System32 and
System32\\Drivers; a missing source file that does not stop the next line;
existing destination files with no console, where the one overwrite
question is answered N and every existing file is kept; copy lines that
climb out of the INF directory, refused without writing anything; and a
copy section mapped to a directory id the program does not support.
"""

import os

from harness import (BAD_FILE_NAME, COPY_FAILED, FILE_EXISTS, OVERWRITE_QUESTION,
                     UNSUPPORTED_DESTINATION, case, census, copying, destination_dirs, finished,
                     intro, simple_inf, simple_run)

# Bytes that a text-mode copy would change: line ends, Ctrl-Z, NUL.
AWKWARD_BYTES = bytes(range(256)) + b"\r\n\n\x1a\x00tail"


def content(name):
    return name.encode() + AWKWARD_BYTES


@case
def copy_into_all_three_directories(c):
    files = {10: ["e2e_three_win.dat"],
             11: ["e2e_three_sys1.dll", "e2e_three_sys2.dll"],
             12: ["e2e_three_drv1.sys", "e2e_three_drv2.sys"]}
    for names in files.values():
        for name in names:
            c.source(name, content(name))
    path = c.inf("[Version]\nClass=LegacyDriver\n\n"
                 "[DestinationDirs]\nDefaultDestDir=11\nWin.Copy=10\nDrv.Copy=12\n\n"
                 "[Win.Copy]\n{}\n[Sys.Copy]\n{}\n[Drv.Copy]\n{}\n[Drv.AddReg]\n".format(
                     *("\n".join(files[i]) for i in (10, 11, 12))))
    expected = (intro(path)
                + destination_dirs(("DefaultDestDir", 11), ("Win.Copy", 10), ("Drv.Copy", 12))
                + census("[Win.Copy]", "[Sys.Copy]", "[Drv.Copy]", "[Drv.AddReg]")
                + "".join(copying(c.inf_dir, i, name) for i in (10, 11, 12) for name in files[i])
                + finished(record=c.record(path)))
    c.expect_run(c.run(path), expected, rc=0)
    for directory_id, names in files.items():
        for name in names:
            c.expect_file(c.installed(directory_id, name), content(name))


@case
def copy_missing_source_file(c):
    missing, present = "e2e_missing_source.sys", "e2e_missing_next.sys"
    c.source(present, content(present))
    path = c.inf(simple_inf([missing, present]))
    expected = simple_run(path, copying(c.inf_dir, 12, missing)
                          + COPY_FAILED.format(c.inf_dir + missing)
                          + copying(c.inf_dir, 12, present), not_installed=1,
                          record=c.record(path))
    c.expect_run(c.run(path), expected, rc=0)
    c.expect_file(c.installed(12, missing), None)
    c.expect_file(c.installed(12, present), content(present))


@case
def copy_existing_files_without_console(c):
    # With no console the question is answered N at once, and that answer
    # holds for the second existing file; a new file is still copied.
    first, new, second = "e2e_kept_first.sys", "e2e_kept_new.sys", "e2e_kept_second.sys"
    for name in (first, new, second):
        c.source(name, content(name))
    for name in (first, second):
        c.file(c.installed(12, name), b"old " + name.encode())
    path = c.inf(simple_inf([first, new, second]))
    expected = simple_run(path, copying(c.inf_dir, 12, first) + OVERWRITE_QUESTION + "N\n"
                          + FILE_EXISTS.format(c.installed_dos(12, first))
                          + copying(c.inf_dir, 12, new)
                          + copying(c.inf_dir, 12, second)
                          + FILE_EXISTS.format(c.installed_dos(12, second)), not_installed=2,
                          record=c.record(path))
    c.expect_run(c.run(path), expected, rc=0)
    for name in (first, second):
        c.expect_file(c.installed(12, name), b"old " + name.encode())
    c.expect_file(c.installed(12, new), content(new))


@case
def copy_lines_climbing_out_are_refused(c):
    # Each refused line has a source file where the climb would find it, so
    # that only the refusal keeps it from being copied.
    climbs = ["..\\..\\e2e_climb_back.sys", "sub/../../e2e_climb_slash.sys"]
    for line in climbs:
        c.file(os.path.normpath(os.path.join(c.dir, line.replace("\\", "/"))), b"evil")
    good = "e2e_climb_good.sys"
    c.source(good, content(good))
    path = c.inf(simple_inf(climbs + [good]))
    expected = simple_run(path, "".join(BAD_FILE_NAME.format(line) for line in climbs)
                          + copying(c.inf_dir, 12, good), not_installed=2, record=c.record(path))
    c.expect_run(c.run(path), expected, rc=0)
    c.expect_file(c.installed(12, good), content(good))
    drive_c = os.path.dirname(c.wine.windows_dir(10))
    for directory in (drive_c, c.wine.windows_dir(10), c.wine.windows_dir(11),
                      c.wine.windows_dir(12)):
        for name in ("e2e_climb_back.sys", "e2e_climb_slash.sys"):
            c.expect_file(os.path.join(directory, name), None)


@case
def copy_section_with_unsupported_directory_id(c):
    refused, copied = "e2e_unsupported_id.sys", "e2e_supported_id.sys"
    for name in (refused, copied):
        c.source(name, content(name))
    path = c.inf("[Version]\nClass=LegacyDriver\n\n"
                 "[DestinationDirs]\nDefaultDestDir=10\nOdd.Copy=1\n\n"
                 "[Odd.Copy]\n{}\n\n[Drv.Copy]\n{}\n\n[Drv.AddReg]\n".format(refused, copied))
    expected = (intro(path) + destination_dirs(("DefaultDestDir", 10), ("Odd.Copy", 1))
                + census("[Odd.Copy]", "[Drv.Copy]", "[Drv.AddReg]")
                + UNSUPPORTED_DESTINATION.format("Odd.Copy") + copying(c.inf_dir, 10, copied)
                + finished(1, c.record(path)))
    c.expect_run(c.run(path), expected, rc=0)
    c.expect_file(c.installed(10, copied), content(copied))
    for directory_id in (10, 11, 12):
        c.expect_file(c.installed(directory_id, refused), None)
