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
    "○コピーセクション: [Nt4Samp.Driver.Files] → System32\\Drivers（1ファイル）\n"
    "○コピーセクション: [Nt4Samp.Helper.Files] → System32（1ファイル）\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4Samp\\Parameters\\Helper\n"
    "○サービス: Nt4Samp\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4Samp\\DisplayName\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4Samp\\Type\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4Samp\\Start\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4Samp\\ErrorControl\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4Samp\\Group\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4Samp\\ImagePath\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4Samp\\Parameters\\BufferSize\n"
    "○レジストリ値: System\\CurrentControlSet\\Services\\Nt4Samp\\Parameters\\Greeting\n"
    "\nすべての項目を変換しました。\n"
    "\n{out} を作成しました。\n"
    "次のコマンドでドライバをインストールしてください:\n"
    "  infinst {out}\n")


@case
def infconv_nt4_example_converted_then_installed(c):
    if not os.path.isfile(c.wine.infconv_exe):
        c.fail("no infconv.exe beside the infinst.exe under test")
        return
    shutil.copytree(EXAMPLE, c.path("nt4samp"))
    inf = c.dos("nt4samp", "nt4samp.inf")
    out = c.dos("nt4samp", "i386", "INFINST.INF")
    result = c.run(inf, exe=c.wine.infconv_exe, stdin=b"")
    c.expect_run(result, CONVERSION_REPORT.format(inf=inf, out=out), rc=0)
    # A second run finds the file there and leaves it alone.
    with open(c.path("nt4samp", "i386", "INFINST.INF"), "rb") as f:
        written = f.read()
    again = c.run(inf, exe=c.wine.infconv_exe, stdin=b"")
    c.expect_equal("exit code of a second conversion", again.rc, 1)
    c.expect_file(c.path("nt4samp", "i386", "INFINST.INF"), written)

    result = c.run(out)
    said = result.out.decode("cp932", "replace").replace("\r\n", "\n")
    c.expect_equal("exit code of infinst", result.rc, 0)
    c.expect_equal("infinst finished with nothing left out",
                   (said.endswith(FINISHED + "\n終了するには何かキーを押してください\n"),
                    NOT_INSTALLED.split("{}")[0] in said), (True, False))
    for directory_id, name in ((12, "nt4samp.sys"), (11, "nt4sampc.dll")):
        with open(c.path("nt4samp", "i386", name), "rb") as f:
            c.expect_file(c.installed(directory_id, name), f.read())
    key = SERVICES + "Nt4Samp"
    dump = c.regdump(key, key + "\\Parameters")
    c.expect_key(dump, key, {
        "DisplayName": sz("NT4 サンプル ドライバ"), "Type": dword(1), "Start": dword(3),
        "ErrorControl": dword(1), "Group": sz("Extended Base"),
        "ImagePath": expand_sz("System32\\drivers\\nt4samp.sys")}, subkeys=["Parameters"])
    c.expect_key(dump, key + "\\Parameters", {
        "Helper": expand_sz("%SystemRoot%\\System32\\nt4sampc.dll"), "BufferSize": dword(4096),
        "Greeting": sz("こんにちは")})
