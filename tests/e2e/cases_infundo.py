"""The uninstaller, end to end: the project's example is installed by
infinst.exe, one copied file is changed and one value added by hand, and
infundo.exe (found beside the infinst.exe under test) takes back all the
rest, reporting what it keeps; a second run finds nothing to remove.
"""

import os
import shutil

from harness import (PRESS_ANY_KEY, SERVICES, case, census, destination_dirs, dword)

EXAMPLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "examples",
                       "sample")
KEY = SERVICES + "Sample"
PARAMETERS = KEY + "\\Parameters"

BEGINNING = ("Windows NT3.x用 ドライバINFアンインストーラ\n\n"
             "INFファイル: {inf}\n\n"
             + destination_dirs(("DefaultDestDir", 12), ("Sample.Dll.Copy", 11),
                                ("Sample.Help.Copy", 10))
             + census("[Sample.Copy]", "[Sample.Dll.Copy]", "[Sample.Help.Copy]",
                      "[Sample.AddReg]")
             + "\n削除の計画:\n")

PLAN = ("○削除するファイル: C:\\windows\\System32\\Drivers\\sample.sys\n"
        "○削除するファイル: C:\\windows\\System32\\sampleio.dll\n"
        "●残すファイル: C:\\windows\\sample.txt\n"
        "  理由: インストールされた内容から変更されています。\n"
        + "".join("○削除する値: {}\\{}\n".format(KEY, name)
                  for name in ("Type", "Start", "ErrorControl", "Group", "ImagePath"))
        + "○削除する値: {}\\BufferSize\n".format(PARAMETERS)
        + "●残すキー: {}\n  理由: 値 Added があります。\n".format(PARAMETERS)
        + "●残すキー: {}\n  理由: サブキー Parameters があります。\n".format(KEY)
        + "\n●本プログラムは無保証です。削除したものは元に戻せません。\n"
        "上記を削除する場合は1を入力してEnterを押して下さい。\n"
        "削除しない場合はそのままEnterを押して中断して下さい。\n\n")

REMOVAL = ("ファイルを削除しました: C:\\windows\\System32\\Drivers\\sample.sys\n"
           "ファイルを削除しました: C:\\windows\\System32\\sampleio.dll\n"
           + "".join("値を削除しました: {}\\{}\n".format(KEY, name)
                     for name in ("Type", "Start", "ErrorControl", "Group", "ImagePath"))
           + "値を削除しました: {}\\BufferSize\n".format(PARAMETERS)
           + "\n注意: 3件のファイルまたはレジストリ項目を削除せずに残しました。"
           "上のメッセージを確認してください。\n"
           "\n削除が終了しました。変更を反映するにはシステムを再起動してください。\n"
           + PRESS_ANY_KEY)

SECOND = ("●残すファイル: C:\\windows\\sample.txt\n"
          "  理由: インストールされた内容から変更されています。\n"
          "●残すキー: {}\n  理由: 値 Added があります。\n".format(PARAMETERS)
          + "●残すキー: {}\n  理由: サブキー Parameters があります。\n".format(KEY)
          + "\n注意: 3件のファイルまたはレジストリ項目を削除せずに残しました。"
          "上のメッセージを確認してください。\n"
          "\n削除するものは見つかりませんでした。\n" + PRESS_ANY_KEY)


@case
def infundo_takes_back_the_example_but_what_changed(c):
    if not os.path.isfile(c.wine.infundo_exe):
        c.fail("no infundo.exe beside the infinst.exe under test")
        return
    shutil.copytree(EXAMPLE, c.path("sample"))
    inf = c.dos("sample", "sample.inf")
    c.expect_equal("exit code of infinst", c.run(inf).rc, 0)
    with open(c.installed(10, "sample.txt"), "ab") as f:
        f.write(b"edited by hand\r\n")
    c.reg_add_dword(PARAMETERS, "Added", 7)

    result = c.run(inf, exe=c.wine.infundo_exe)
    c.expect_run(result, BEGINNING.format(inf=inf) + PLAN + REMOVAL, rc=0)
    c.expect_file(c.installed(12, "sample.sys"), None)
    c.expect_file(c.installed(11, "sampleio.dll"), None)
    with open(c.path("sample", "sample.txt"), "rb") as f:
        c.expect_file(c.installed(10, "sample.txt"), f.read() + b"edited by hand\r\n")
    dump = c.regdump(KEY, PARAMETERS)
    c.expect_key(dump, KEY, {}, subkeys=["Parameters"])
    c.expect_key(dump, PARAMETERS, {"Added": dword(7)})

    again = c.run(inf, exe=c.wine.infundo_exe)
    c.expect_run(again, BEGINNING.format(inf=inf) + SECOND, rc=0)
    # What was kept goes by hand, so that later cases find a clean prefix.
    os.remove(c.installed(10, "sample.txt"))
    c.wine.run(["reg", "delete", "HKLM\\" + KEY, "/f"], cwd=c.dir)


@case
def infundo_takes_back_the_whole_example(c):
    shutil.copytree(EXAMPLE, c.path("sample"))
    inf = c.dos("sample", "sample.inf")
    c.expect_equal("exit code of infinst", c.run(inf).rc, 0)
    result = c.run(inf, exe=c.wine.infundo_exe)
    said = result.out.decode("cp932", "replace").replace("\r\n", "\n")
    c.expect_equal("exit code and ending", (result.rc, "注意" in said, said.endswith(
        "\n削除が終了しました。変更を反映するにはシステムを再起動してください。\n" + PRESS_ANY_KEY)),
        (0, False, True))
    for directory_id, name in ((12, "sample.sys"), (11, "sampleio.dll"), (10, "sample.txt")):
        c.expect_file(c.installed(directory_id, name), None)
    dump = c.regdump(KEY, PARAMETERS, SERVICES[:-1])
    c.expect_key(dump, KEY, None)
    c.expect_equal("the services key stays", dump[SERVICES[:-1]] is not None, True)


@case
def infundo_keeps_a_file_that_is_its_own_source(c):
    # The example's INF file and driver put into System32\Drivers itself:
    # there the driver is its own source, which infinst never copied.
    drivers = os.path.dirname(c.installed(12, "sample.sys"))
    for name in ("sample.inf", "sample.sys"):
        shutil.copy(os.path.join(EXAMPLE, name), os.path.join(drivers, name))
    try:
        result = c.run(c.installed_dos(12, "sample.inf"), exe=c.wine.infundo_exe)
        said = result.out.decode("cp932", "replace").replace("\r\n", "\n")
        kept = ("●残すファイル: C:\\windows\\System32\\Drivers\\sample.sys\n"
                "  理由: INFファイルの隣にある元のファイルそのものです。\n")
        c.expect_equal("exit code and the file kept with its reason", (result.rc, kept in said),
                       (0, True))
        with open(os.path.join(EXAMPLE, "sample.sys"), "rb") as f:
            c.expect_file(c.installed(12, "sample.sys"), f.read())
    finally:
        for name in ("sample.inf", "sample.sys"):
            os.remove(os.path.join(drivers, name))
