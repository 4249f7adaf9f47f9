"""The converter, end to end: the project's NT 4.0-style example goes
through infconv.exe (found beside the infinst.exe under test), whose whole
report is compared byte for byte, and then through infinst.exe, whose
copied files and registry values are checked; a package that probes the
gate a service passes before it is written; and packages whose driver is a
real i386 image, built here, whose imports the converter checks.
"""

import os
import shutil
import subprocess

from harness import (BUILDS, FINISHED, HERE, NOT_INSTALLED, SERVICES, case, dword, expand_sz,
                     sz, text_of)

EXAMPLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "examples",
                       "nt4samp")

CONVERSION_REPORT = (
    "NT 4.0形式ドライバINF変換ツール (infinst用)\n\n"
    "変換元: {inf}\n"
    "インストールセクション: [DefaultInstall.NTx86]\n\n"
    "○コピーセクション: [Nt4Samp.Driver.Files] → System32\\Drivers\n"
    "○ファイル: i386\\nt4samp.sys → System32\\Drivers\n"
    "○コピーセクション: [Nt4Samp.Helper.Files] → System32\n"
    "○ファイル: common\\nt4sampc.dll → System32\n"
    "○コピーセクション: [Nt4Samp.Filter.Files] → System32\n"
    "○ファイル: i386\\nt4sampf.sys → System32\n"
    "○サービス: Nt4Samp\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4Samp\\Type = 1\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4Samp\\Start = 3\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4Samp\\ErrorControl = 1\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4Samp\\ImagePath = "
    "System32\\drivers\\nt4samp.sys\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4Samp\\DisplayName = "
    "NT4 サンプル ドライバ\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4Samp\\Group = Extended Base\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4Samp\\Parameters\\BufferSize = 4096\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4Samp\\Parameters\\Greeting = "
    "こんにちは\n"
    "○サービス: Nt4SampF\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4SampF\\Type = 1\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4SampF\\Start = 3\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4SampF\\ErrorControl = 1\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4SampF\\ImagePath = "
    "System32\\nt4sampf.sys\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4SampF\\DisplayName = "
    "NT4 サンプル フィルタ\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4Samp\\Parameters\\Helper = "
    "%SystemRoot%\\System32\\nt4sampc.dll\n"
    "\nNT 3.xでは不要なため、次の項目は変換しませんでした（件数に含めません）:\n"
    "  37行目: Description    = %ServiceDesc%\n"
    "\nすべての項目を変換しました。\n"
    "○コピー: {src}\\i386\\nt4samp.sys → {dst}\\nt4samp.sys\n"
    "○コピー: {src}\\common\\nt4sampc.dll → {dst}\\nt4sampc.dll\n"
    "○コピー: {src}\\i386\\nt4sampf.sys → {dst}\\nt4sampf.sys\n"
    "\n{out} を作成しました。\n"
    "次のコマンドでドライバをインストールしてください:\n"
    "  infinst {out}\n")

# The driver's files, where the example keeps them, and where infinst puts them.
FILES = (("i386", "nt4samp.sys", 12), ("common", "nt4sampc.dll", 11), ("i386", "nt4sampf.sys", 11))


@case
def infconv_nt4_example_converted_then_installed(c):
    """Files in two folders and a kernel driver in %11%: infconv copies them
    all beside the INF file it writes, infinst installs every one, and each
    service's ImagePath is the one the kernel loads."""
    if not os.path.isfile(c.wine.infconv_exe):
        c.fail("no infconv.exe beside the infinst.exe under test")
        return
    shutil.copytree(EXAMPLE, c.path("nt4samp"))
    inf = c.dos("nt4samp", "nt4samp.inf")
    out = c.dos("nt4samp", "INFINST", "INFINST.INF")
    result = c.run(inf, exe=c.wine.infconv_exe, stdin=b"")
    c.expect_run(result, CONVERSION_REPORT.format(inf=inf, out=out, src=c.dos("nt4samp"),
                                                  dst=c.dos("nt4samp", "INFINST")), rc=0)
    # A second run finds the folder there and leaves it alone.
    with open(c.path("nt4samp", "INFINST", "INFINST.INF"), "rb") as f:
        written = f.read()
    again = c.run(inf, exe=c.wine.infconv_exe, stdin=b"")
    c.expect_equal("exit code of a second conversion", again.rc, 1)
    c.expect_file(c.path("nt4samp", "INFINST", "INFINST.INF"), written)

    result = c.run(out)
    said = text_of(result)
    c.expect_equal("exit code of infinst", result.rc, 0)
    c.expect_equal("infinst finished with nothing left out",
                   (said.endswith(FINISHED + "\n終了するには何かキーを押してください\n"),
                    NOT_INSTALLED.split("{}")[0] in said), (True, False))
    for folder, name, directory_id in FILES:
        with open(c.path("nt4samp", folder, name), "rb") as f:
            c.expect_file(c.installed(directory_id, name), f.read())
    key = SERVICES + "Nt4Samp"
    dump = c.regdump(key, key + "\\Parameters", key + "F")
    c.expect_key(dump, key, {
        "DisplayName": sz("NT4 サンプル ドライバ"), "Type": dword(1), "Start": dword(3),
        "ErrorControl": dword(1), "Group": sz("Extended Base"),
        "ImagePath": expand_sz("System32\\drivers\\nt4samp.sys")}, subkeys=["Parameters"])
    c.expect_key(dump, key + "\\Parameters", {
        "Helper": expand_sz("%SystemRoot%\\System32\\nt4sampc.dll"), "BufferSize": dword(4096),
        "Greeting": sz("こんにちは")})
    c.expect_key(dump, key + "F", {
        "DisplayName": sz("NT4 サンプル フィルタ"), "Type": dword(1), "Start": dword(3),
        "ErrorControl": dword(1), "ImagePath": expand_sz("System32\\nt4sampf.sys")})


GATE_INF = """[Version]
Signature="$Windows NT$"
[DestinationDirs]
DefaultDestDir=12
[DefaultInstall]
CopyFiles=@e2e_gate.sys
AddReg=Gate.Reg
[DefaultInstall.Services]
AddService=E2eGate,,Gate.Service
AddService=E2eGateWin32,,Win32.Service
[Gate.Service]
ServiceType=1
ServiceType=0x10
StartType=3
ErrorControl=1
ServiceBinary=%12%\\e2e_gate.sys
AddReg=Gate.Own
[Gate.Own]
HKR,,ImagePath,0x00020000,"%12%\\e2e_missing.sys"
[Win32.Service]
ServiceType=1
StartType=3
ErrorControl=1
ServiceBinary=%12%\\e2e_gate.sys
AddReg=Win32.Own
[Win32.Own]
HKR,,Type,0x00010001,0x10
[Gate.Reg]
HKLM,System\\CurrentControlSet\\Services\\E2eGateReg,Type,0x00010001,1
HKLM,System\\CurrentControlSet\\Services\\E2eGateReg,Start,0x00010001,1
HKLM,System\\CurrentControlSet\\Services\\E2eGateReg,ErrorControl,0x00010001,1
HKLM,System\\CurrentControlSet\\Services\\E2eGateReg,ImagePath,0x00020000,%12%\\e2e_none.sys
"""

GATE_LEFT_OUT = (
    "×10行目: 21行目と27行目でサービスの種類（ドライバかWin32サービスか）が異なるため、"
    "サービスを登録しません: AddService=E2eGateWin32,,Win32.Service\n"
    "×13行目: 同じ項目が12行目にあり、最初の行が有効なため、この行は変換しません: ServiceType=0x10\n"
    "×19行目: サービスのImagePathは16行目のものに決まっているため、この行は変換しません: "
    "HKR,,ImagePath,0x00020000,\"%12%\\e2e_missing.sys\"\n"
    "×29行目: 32行目のファイルe2e_none.sysはどのコピーセクションでもコピーされないため、"
    "サービスを登録しません: HKLM,System\\CurrentControlSet\\Services\\E2eGateReg,Type,0x00010001,1\n")


@case
def infconv_gate_only_the_checked_service_arrives(c):
    """A package that probes the gate: a service whose values an AddReg
    line alone writes, a later HKR ImagePath, a repeated ServiceType and an
    HKR Type that turns a driver into a Win32 service. Only the checked
    driver arrives, with the values its first lines gave."""
    c.source("e2e_gate.sys", b"gate driver")
    inf = c.inf(GATE_INF, name="gate.inf")
    result = c.run(inf, exe=c.wine.infconv_exe, stdin=b"")
    said = text_of(result)
    c.expect_equal("exit code of infconv", result.rc, 0)
    c.expect_equal("what infconv left out", GATE_LEFT_OUT in said, True)
    result = c.run(c.dos("INFINST.INF"))
    c.expect_equal("exit code of infinst", result.rc, 0)
    c.expect_file(c.installed(12, "e2e_gate.sys"), b"gate driver")
    key = SERVICES + "E2eGate"
    dump = c.regdump(key, key + "Win32", key + "Reg")
    c.expect_key(dump, key, {"Type": dword(1), "Start": dword(3), "ErrorControl": dword(1),
                             "ImagePath": expand_sz("System32\\drivers\\e2e_gate.sys")})
    c.expect_key(dump, key + "Win32", None)
    c.expect_key(dump, key + "Reg", None)


# A package whose driver is a real i386 image (e2e_driver.c), built with the
# test machine's mingw-w64 tools against their ntoskrnl import library,
# whatever build is under test; each case names its own driver and service.
IMPORTS_INF = """[Version]
Signature="$Windows NT$"
[DestinationDirs]
DefaultDestDir=12
[DefaultInstall]
CopyFiles=@{0}.sys
[DefaultInstall.Services]
AddService={0},,Imports.Service
[Imports.Service]
ServiceType=1
StartType=3
ErrorControl=1
ServiceBinary=%12%\\{0}.sys
"""


def imports_package(c, name, later):
    """Builds the driver `name`.sys, importing MmGetSystemRoutineAddress
    when `later`; converts its package, installs what infconv wrote, and
    checks that file, now in infinst's form, with infconv. Answers what
    infconv said each time, the three exit codes, and the service's key."""
    subprocess.run([BUILDS["i386"].cc, "-nostdlib", "-Wl,--subsystem,native:3.10",
                    "-Wl,--entry,_DriverEntry@8", "-o", c.path(name + ".sys"),
                    os.path.join(HERE, "e2e_driver.c"), "-lntoskrnl"]
                   + (["-DLATER_NAME"] if later else []), check=True)
    runs = [c.run(c.inf(IMPORTS_INF.format(name), name="imports.inf"), exe=c.wine.infconv_exe,
                  stdin=b""), c.run(c.dos("INFINST.INF")),
            c.run(c.dos("INFINST.INF"), exe=c.wine.infconv_exe, stdin=b"")]
    said = [text_of(r) for r in runs]
    key = SERVICES + name
    return said[0], said[2], tuple(r.rc for r in runs), c.regdump(key)[key]


@case
def infconv_imports_an_nt351_driver_converts_installs_and_checks(c):
    """A driver importing only names NT 3.51 has: converted with nothing
    said of its imports, installed with its service, and the file written,
    checked in infinst's form, may be installed (exit 0)."""
    converted, checked, codes, key = imports_package(c, "E2eImp351", later=False)
    c.expect_equal("exit codes of infconv, infinst and the check", codes, (0, 0, 0))
    c.expect_equal("what is said of the imports, and the check",
                   ("警告" in converted or "注意" in converted, checked.splitlines()[-2:]),
                   (False, ["○E2eImp351.sys: NT 3.51にない関数は使っていません",
                            "NT 3.xで読み込めないファイルはありません。infinstで直接インストールしてください。"]))
    c.expect_equal("the service", key and key[1]["ImagePath"],
                   expand_sz("System32\\drivers\\E2eImp351.sys"))


@case
def infconv_imports_a_later_kernel_name_leaves_the_service_out(c):
    """A driver importing MmGetSystemRoutineAddress: its file is carried
    and installed, its service left out naming the function, and the file
    written, checked in infinst's form, may not be installed (exit 1)."""
    converted, checked, codes, key = imports_package(c, "E2eImpLater", later=True)
    c.expect_equal("exit codes of infconv, infinst and the check", codes, (0, 0, 1))
    warning = ("警告: E2eImpLater.sys はNT 3.51にない関数（MmGetSystemRoutineAddress）を使うため、"
               "NT 3.xでは読み込めません。")
    reason = ("×8行目: ファイルE2eImpLater.sysはNT 3.51にない関数（MmGetSystemRoutineAddress）を"
              "使うため、サービスを登録しません: AddService=E2eImpLater,,Imports.Service")
    c.expect_equal("the warning, the reason and the check",
                   (warning in converted, reason in converted, checked.splitlines()[-2:]),
                   (True, True, [warning, "NT 3.xで読み込めないファイルがあるため、infinstで"
                                          "インストールしないでください。"]))
    c.expect_equal("the file installed, no service",
                   (os.path.isfile(c.installed(12, "E2eImpLater.sys")), key), (True, None))
