"""The converter, end to end: the project's NT 4.0-style example goes
through infconv.exe (found beside the infinst.exe under test), whose whole
report is compared byte for byte, and then through infinst.exe, whose
copied files and registry values are checked.
"""

import os
import shutil

from harness import (FINISHED, NOT_INSTALLED, SERVICES, case, dword, expand_sz, sz)

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
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4Samp\\DisplayName = "
    "NT4 サンプル ドライバ\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4Samp\\Type = 1\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4Samp\\Start = 3\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4Samp\\ErrorControl = 1\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4Samp\\Group = Extended Base\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4Samp\\ImagePath = "
    "System32\\drivers\\nt4samp.sys\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4Samp\\Parameters\\BufferSize = 4096\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4Samp\\Parameters\\Greeting = "
    "こんにちは\n"
    "○サービス: Nt4SampF\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4SampF\\DisplayName = "
    "NT4 サンプル フィルタ\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4SampF\\Type = 1\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4SampF\\Start = 3\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4SampF\\ErrorControl = 1\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4SampF\\ImagePath = "
    "System32\\nt4sampf.sys\n"
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
    said = result.out.decode("cp932", "replace").replace("\r\n", "\n")
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
