"""The run sequence and the checks on the INF file, end to end.

The refusals before the INF file is read (Windows NT 4.0, a wrong command
line, no INF file, a wrong extension, a declined agreement, a missing
file), the checks after the first pass (class line, [DestinationDirs],
DefaultDestDir), the census of sections after the second, an unsupported
destination directory, complete runs from an argument and from the current
directory, and a bare-LF INF file read exactly like its CR LF twin.
"""

from harness import (BANNER, COPYING, DESTINATION_DOS, NOT_INF, NOT_LEGACY_DRIVER,
                     NO_COPY_SECTION, NO_DEFAULT_DEST_DIR, NO_DESTINATION_DIRS, OPEN_FAILED,
                     OS_REFUSED, REG_VALUE, SERVICES, TOO_COMPLEX, UNSUPPORTED_DESTINATION, USAGE,
                     case, census, copying, destination_dirs, dos_path, dword, end_of_run,
                     finished, intro, simple_inf, simple_run)


@case
def core_nt40_refused(c):
    result = c.run("driver.inf", exe=c.wine.nt40_exe)
    c.expect_run(result, BANNER + end_of_run(OS_REFUSED), rc=1)


@case
def core_usage_with_two_arguments(c):
    # Wine hands the program its own name as a full DOS path.
    result = c.run("a.inf", "b.inf")
    c.expect_run(result, BANNER + end_of_run(USAGE.format(program=dos_path(c.wine.exe))), rc=1)


@case
def core_no_inf_in_empty_current_directory(c):
    result = c.run()
    c.expect_run(result, BANNER + end_of_run(NOT_INF), rc=1)


@case
def core_extension_test(c):
    name = "e2e_extension.sys"
    c.source(name, b"extension\r\n")
    text = simple_inf([name])
    # A name ending in .inf.bak, and a path whose only dot is in a directory.
    for refused in ("driver.inf.bak", "sub.inf\\driver"):
        path = c.inf(text, name=refused.replace("\\", "/"))
        c.expect_run(c.run(path), BANNER + end_of_run(NOT_INF), rc=1)
    c.expect_file(c.installed(12, name), None)
    path = c.inf(text, name="DRIVER.INF")
    c.expect_run(c.run(path), simple_run(path, copying(c.inf_dir, 12, name),
                                         record=c.record(path)), rc=0)
    c.expect_file(c.installed(12, name), b"extension\r\n")


@case
def core_declined_agreement(c):
    name = "e2e_declined.sys"
    c.source(name, b"declined")
    path = c.inf(simple_inf([name]))
    for answer in (b"2\n", b"\n", b"", b"21\n"):
        result = c.run(path, stdin=answer)
        c.expect_run(result, intro(path), rc=1)
    c.expect_file(c.installed(12, name), None)


@case
def core_missing_inf_file(c):
    path = c.dos("missing.inf")
    c.expect_run(c.run(path), end_of_run(intro(path)), rc=1, stderr=OPEN_FAILED)


def refusal_case(name, inf_text, printed):
    """A case for an INF file that the checks or the census refuse: the
    run prints `printed` after the notices, ends with exit code 1 and
    installs nothing. The INF text names its file as {file}."""
    def run(c):
        file_name = "e2e_{}.sys".format(name)
        c.source(file_name, b"refused")
        path = c.inf(inf_text.format(file=file_name))
        c.expect_run(c.run(path), intro(path) + printed, rc=1)
        for directory_id in (10, 11, 12):
            c.expect_file(c.installed(directory_id, file_name), None)
    run.__name__ = name
    case(run)


HEADER = "[Version]\nClass=LegacyDriver\n\n"
DEST_DIRS = "[DestinationDirs]\nDefaultDestDir = 12\n\n"
DEST_DIRS_PRINTED = destination_dirs(("DefaultDestDir", 12))
COPY = "[X.Copy]\n{file}\n\n"

refusal_case("core_check_no_class_line",
             "[Version]\nClass=LegacyDriverX\n\n" + DEST_DIRS + COPY + "[X.AddReg]\n",
             DEST_DIRS_PRINTED + end_of_run(NOT_LEGACY_DRIVER))
refusal_case("core_check_no_destination_dirs",
             HEADER + COPY + "[X.AddReg]\n",
             end_of_run(NO_DESTINATION_DIRS))
refusal_case("core_check_no_default_dest_dir",
             HEADER + "[DestinationDirs]\nX.Copy=12\n\n" + COPY + "[X.AddReg]\n",
             destination_dirs(("X.Copy", 12)) + end_of_run(NO_DEFAULT_DEST_DIR))
refusal_case("core_census_two_addreg_sections",
             HEADER + DEST_DIRS + "[A.AddReg]\n" + COPY + "[B.AddReg]\n",
             DEST_DIRS_PRINTED + census("[A.AddReg]", "[X.Copy]", "[B.AddReg]")
             + end_of_run(TOO_COMPLEX))
refusal_case("core_census_no_addreg_section",
             HEADER + DEST_DIRS + COPY,
             DEST_DIRS_PRINTED + census("[X.Copy]") + end_of_run(TOO_COMPLEX))
refusal_case("core_census_addreg_without_copy_section",
             HEADER + DEST_DIRS + "[X.AddReg]\n[X.Files]\n{file}\n",
             DEST_DIRS_PRINTED + census("[X.AddReg]") + end_of_run(NO_COPY_SECTION))


@case
def core_unsupported_destination_directory(c):
    name = "e2e_unsupported13.sys"
    c.source(name, b"13")
    path = c.inf(HEADER + "[DestinationDirs]\nDefaultDestDir=12\nOdd.Copy=13\n\n"
                 "[Odd.Copy]\n" + name + "\n\n[Drv.AddReg]\n")
    expected = (intro(path) + destination_dirs(("DefaultDestDir", 12), ("Odd.Copy", 13))
                + census("[Odd.Copy]", "[Drv.AddReg]") + UNSUPPORTED_DESTINATION.format("Odd.Copy")
                + finished(1))
    c.expect_run(c.run(path), expected, rc=0)
    for directory_id in (10, 11, 12):
        c.expect_file(c.installed(directory_id, name), None)


@case
def core_complete_run(c):
    name = "e2e_complete_run.sys"
    c.source(name, b"complete")
    path = c.inf(simple_inf([name]))
    # Only the first character of the agreement line counts.
    result = c.run(path, stdin=b"1x\n")
    c.expect_run(result, simple_run(path, copying(c.inf_dir, 12, name), record=c.record(path)),
                 rc=0)
    c.expect_file(c.installed(12, name), b"complete")


@case
def core_inf_from_current_directory(c):
    name = "e2e_current_directory.sys"
    c.source(name, b"found")
    c.inf(simple_inf([name]), name="found.inf")
    result = c.run()
    found = c.dos("found.inf")
    c.expect_run(result, simple_run(found, copying(c.inf_dir, 12, name), record=c.record(found)),
                 rc=0)
    c.expect_file(c.installed(12, name), b"found")


# An INF file with several sections, comments and blank lines, whose
# section bodies are read and handed back by position: written with bare
# LF line ends it must behave exactly as with CR LF.
SEVERAL_SECTIONS = """; test driver {tag}
[Version]
Signature="$CHICAGO$"
Class = LegacyDriver   ; the class line

[DestinationDirs]
DefaultDestDir=12
Win.Copy=10
Sys.Copy=11 ; System32

[Win.Copy]
e2e_{tag}_win.dat

[Sys.Copy]
; a comment line
e2e_{tag}_sys.dll

[Drv.CopyFiles]
e2e_{tag}_drv1.sys
e2e_{tag}_drv2.sys
[Drv.AddReg]
HKLM,"System\\CurrentControlSet\\Services\\E2E_{tag}","Start",0x00010001,3
HKLM,"System\\CurrentControlSet\\Services\\E2E_{tag}","Tag",0x00010001,0x2A

[Strings]
Description="e2e driver {tag}"
"""


@case
def core_bare_lf_file_like_crlf_twin(c):
    for tag, eol in (("crlf", "\r\n"), ("lf", "\n")):
        directory = c.path(tag)
        files = [(10, "e2e_{}_win.dat".format(tag)), (11, "e2e_{}_sys.dll".format(tag)),
                 (12, "e2e_{}_drv1.sys".format(tag)), (12, "e2e_{}_drv2.sys".format(tag))]
        for _, name in files:
            c.file(c.path(tag, name), name.encode() * 3)
        path = c.inf(SEVERAL_SECTIONS.format(tag=tag), eol=eol, directory=directory)
        key = SERVICES + "E2E_" + tag
        expected = (intro(path)
                    + destination_dirs(("DefaultDestDir", 12), ("Win.Copy", 10), ("Sys.Copy", 11))
                    + census("[Win.Copy]", "[Sys.Copy]", "[Drv.CopyFiles]", "[Drv.AddReg]")
                    + "".join(COPYING.format(dos_path(c.path(tag, name)),
                                             DESTINATION_DOS[directory_id] + name)
                              for directory_id, name in files)
                    + REG_VALUE.format(key, "Start", "3") + REG_VALUE.format(key, "Tag", "0x2A")
                    + finished(record=c.record(path)))
        c.expect_run(c.run(path), expected, rc=0)
        for directory_id, name in files:
            c.expect_file(c.installed(directory_id, name), name.encode() * 3)
        c.expect_key(c.regdump(key), key, {"Start": dword(3), "Tag": dword(42)})
