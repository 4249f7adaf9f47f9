"""The uninstaller, end to end, working from the installation record that
infinst.exe keeps: the project's example installed, one copied file changed
and one value added by hand, and infundo.exe (found beside the infinst.exe
under test) takes back all the rest, reporting what it keeps, and says the
same once more; a driver that was there before, which infinst left alone,
stays whole; a file two INF files share stays until the last of them is
taken back; and the record alone takes an installation back once the
package is gone. (What infinst replaced, after a yes at the console, comes
back in cases_console.py.)
"""

import os
import shutil

from harness import (PRESS_ANY_KEY, SERVICES, case, dword, record_of, simple_inf, text_of)

EXAMPLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "examples",
                       "sample")
KEY = SERVICES + "Sample"
PARAMETERS = KEY + "\\Parameters"
BANNER = "Windows NT3.x用 ドライバINFアンインストーラ\n\n"
CONSENT = ("\n●本プログラムは無保証です。削除したものは元に戻せません。\n"
           "上記を削除する場合は1を入力してEnterを押して下さい。\n"
           "削除しない場合はそのままEnterを押して中断して下さい。\n\n")
FINISHED = "\n削除が終了しました。変更を反映するにはシステムを再起動してください。\n" + PRESS_ANY_KEY
CHANGED = "  理由: インストールされた内容から変更されています。\n"
KEPT_THREE = ("\n注意: 3件のファイルまたはレジストリ項目を削除せずに残しました。"
              "上のメッセージを確認してください。\n")
NAMES = ("Type", "Start", "ErrorControl", "Group", "ImagePath")


def beginning(inf, record):
    return (BANNER + "INFファイル: {}\n\nインストールの記録: {}\n\n削除の計画:\n".format(inf, record))


# What the first case keeps: the file changed by hand, and the keys that
# hold the value added by hand.
KEPT_FILE = "●残すファイル: C:\\windows\\sample.txt\n" + CHANGED
KEPT_KEYS = ("●残すキー: {}\n  理由: 値 Added があります。\n".format(PARAMETERS)
             + "●残すキー: {}\n  理由: サブキー Parameters があります。\n".format(KEY))


def example(c, folder="sample"):
    """A copy of the example in the case's folder; its INF file's DOS path
    and the DOS path of its record."""
    shutil.copytree(EXAMPLE, c.path(folder))
    return c.dos(folder, "sample.inf"), record_of(c.path(folder, "sample.inf"))


def take_back_rest(c, inf):
    """What a case kept goes by hand, then the record with a last run, so
    that later cases find a clean prefix."""
    c.wine.run(["reg", "delete", "HKLM\\" + KEY, "/f"], cwd=c.dir)
    if os.path.exists(c.installed(10, "sample.txt")):
        os.remove(c.installed(10, "sample.txt"))
    c.run(inf, exe=c.wine.infundo_exe)


@case
def infundo_takes_back_the_example_but_what_changed(c):
    if not os.path.isfile(c.wine.infundo_exe):
        c.fail("no infundo.exe beside the infinst.exe under test")
        return
    inf, record = example(c)
    c.expect_equal("exit code of infinst", c.run(inf).rc, 0)
    with open(c.installed(10, "sample.txt"), "ab") as f:
        f.write(b"edited by hand\r\n")
    c.reg_add_dword(PARAMETERS, "Added", 7)

    plan = ("○削除するファイル: C:\\windows\\System32\\Drivers\\sample.sys\n"
            "○削除するファイル: C:\\windows\\System32\\sampleio.dll\n"
            + KEPT_FILE + "".join("○削除する値: {}\\{}\n".format(KEY, name) for name in NAMES)
            + "○削除する値: {}\\BufferSize\n".format(PARAMETERS) + KEPT_KEYS)
    removal = ("ファイルを削除しました: C:\\windows\\System32\\Drivers\\sample.sys\n"
               "ファイルを削除しました: C:\\windows\\System32\\sampleio.dll\n"
               + "".join("値を削除しました: {}\\{}\n".format(KEY, name) for name in NAMES)
               + "値を削除しました: {}\\BufferSize\n".format(PARAMETERS)
               + "残したものをインストールの記録に書き込みました: {}\n".format(record))
    result = c.run(inf, exe=c.wine.infundo_exe)
    c.expect_run(result, beginning(inf, record) + plan + CONSENT + removal + KEPT_THREE + FINISHED,
                 rc=0)
    c.expect_file(c.installed(12, "sample.sys"), None)
    c.expect_file(c.installed(11, "sampleio.dll"), None)
    with open(c.path("sample", "sample.txt"), "rb") as f:
        c.expect_file(c.installed(10, "sample.txt"), f.read() + b"edited by hand\r\n")
    dump = c.regdump(KEY, PARAMETERS)
    c.expect_key(dump, KEY, {}, subkeys=["Parameters"])
    c.expect_key(dump, PARAMETERS, {"Added": dword(7)})

    # A second run says the same and removes nothing more.
    again = c.run(inf, exe=c.wine.infundo_exe)
    c.expect_run(again, beginning(inf, record) + KEPT_FILE + KEPT_KEYS + KEPT_THREE
                 + "\n削除するものは見つかりませんでした。\n" + PRESS_ANY_KEY, rc=0)
    take_back_rest(c, inf)
    c.expect_file(os.path.join(c.wine.windows_dir(10), "INFINST", record.split("\\")[-1]), None)


@case
def infundo_keeps_a_driver_it_never_installed(c):
    # A driver already there, with its file and its service: infinst finds
    # both (no console: no) and changes nothing, so no record names them.
    key = SERVICES + "E2E_RevU1"
    name = "e2e_revu1.sys"
    c.file(c.installed(12, name), b"the driver that was there")
    c.reg_add_dword(key, "Type", 1)
    c.reg_add_dword(key, "Start", 3)
    c.source(name, b"the package's driver")
    inf = c.inf(simple_inf([name], ['HKLM,"{}","Type",0x00010001,1'.format(key),
                                    'HKLM,"{}","Start",0x00010001,3'.format(key)]))
    c.expect_equal("exit code of infinst", c.run(inf).rc, 0)
    result = c.run(inf, exe=c.wine.infundo_exe)
    c.expect_run(result, BANNER + "INFファイル: {}\n\n".format(inf)
                 + "このINFファイルをインストールした記録が見つからないため、何も削除しません。\n"
                 "記録はINFファイルの内容から探します。このinfinstでインストールしていないか、"
                 "INFファイルを変更したか、記録が削除されています。\n" + PRESS_ANY_KEY, rc=1)
    c.expect_file(c.installed(12, name), b"the driver that was there")
    c.expect_key(c.regdump(key), key, {"Type": dword(1), "Start": dword(3)})
    c.wine.run(["reg", "delete", "HKLM\\" + key, "/f"], cwd=c.dir)


@case
def infundo_keeps_a_shared_file_until_the_last(c):
    shared = "e2e_shared_common.dll"
    infs = []
    for tag in ("A", "B"):
        folder = c.path(tag)
        c.file(os.path.join(folder, shared), b"common")
        key = SERVICES + "E2E_Shared" + tag
        infs.append(c.inf(simple_inf([shared], ['HKLM,"{}","Start",0x00010001,3'.format(key)]),
                          directory=folder))
        c.expect_equal("exit code of infinst " + tag, c.run(infs[-1]).rc, 0)
    first = text_of(c.run(infs[0], exe=c.wine.infundo_exe))
    kept = ("●残すファイル: C:\\windows\\System32\\Drivers\\{}\n"
            "  理由: 別のINFファイル（{}）のインストールの記録にもあります。\n").format(shared, infs[1])
    c.expect_equal("the first kept the shared file", kept in first, True)
    c.expect_file(c.installed(12, shared), b"common")
    c.run(infs[1], exe=c.wine.infundo_exe)
    c.expect_file(c.installed(12, shared), None)
    dump = c.regdump(SERVICES + "E2E_SharedA", SERVICES + "E2E_SharedB")
    for tag in ("A", "B"):
        c.expect_key(dump, SERVICES + "E2E_Shared" + tag, None)


@case
def infundo_takes_back_from_the_record_alone(c):
    # The package is gone: the record's own path takes it back.
    inf, record = example(c, "gone")
    c.expect_equal("exit code of infinst", c.run(inf).rc, 0)
    shutil.rmtree(c.path("gone"))
    result = c.run(record, exe=c.wine.infundo_exe)
    c.expect_equal("exit code, ending and record deleted",
                   (result.rc, text_of(result).endswith(FINISHED),
                    "インストールの記録を削除しました: {}\n".format(record) in text_of(result)),
                   (0, True, True))
    for directory_id, name in ((12, "sample.sys"), (11, "sampleio.dll"), (10, "sample.txt")):
        c.expect_file(c.installed(directory_id, name), None)
    dump = c.regdump(KEY, SERVICES[:-1])
    c.expect_key(dump, KEY, None)
    c.expect_equal("the services key stays", dump[SERVICES[:-1]] is not None, True)
