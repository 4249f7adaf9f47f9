"""The machinery of the end-to-end tests of infinst.exe under Wine.

One Wine prefix is made per test run and build (Windows version NT 3.51,
with nt40.exe, a copy of the program, seen as NT 4.0): for the i386 build,
the executable users get, a pure 32-bit prefix run by the 32-bit loader, as
on NT 3.x; for the x86_64 build a 64-bit prefix. Wine runs with a Japanese
locale, so that its ANSI code page is 932 as on a Japanese NT. Every case
then runs the real program in the prefix with its own working directory,
its own file names and its own registry keys, so that the cases never see
each other's results.

This module holds the prefix (WinePrefix), the per-case view of it with
its checks (Case), the INF writer, the expected texts of the program and a
helper that builds the part of the output every run that gets past the
extension test begins with. The cases live in the cases_*.py modules and
register themselves with the @case decorator; run_e2e.py runs them. It
also says how the i386 build can run here (i386_route): natively, or where
the kernel refuses 32-bit programs, inside the emulated x86_64 machine of
tools/vm32, where run_e2e.py then runs itself whole.
"""

import os
import platform
import shutil
import signal
import subprocess
import tempfile
import zlib
from collections import namedtuple

WINESERVER = "/usr/lib/wine/wineserver"
HERE = os.path.dirname(os.path.abspath(__file__))
# Wine's ANSI code page follows the Unix locale: this one gives code page 932.
JAPANESE_LOCALE = "ja_JP.UTF-8"

# The two builds under test: the Wine loader and prefix kind each needs, and
# the compiler of the registry helper that runs beside it.
Build = namedtuple("Build", "arch loader winearch cc")
BUILDS = {
    "i386": Build("i386", "/usr/lib/wine/wine", "win32", "i686-w64-mingw32-gcc"),
    "x86_64": Build("x86_64", "/usr/lib/wine/wine64", "win64", "x86_64-w64-mingw32-gcc"),
}

# exit(0) as a static i386 Linux program of 93 bytes: one program header
# loads the whole file at 0x08048000; the code after the two headers, at
# 0x08048054, is mov eax, 1; xor ebx, ebx; int 0x80.
_I386_EXIT_0 = bytes.fromhex(
    "7f454c46010101000000000000000000" "02000300010000005480040834000000"
    "00000000000000003400200001000000" "00000000"
    "01000000000000000080040800800408" "5d0000005d0000000500000000100000"
    "b80100000031dbcd80")


# The emulated x86_64 machine that runs 32-bit programs where this
# machine's kernel refuses them.
VM32 = os.path.normpath(os.path.join(HERE, "..", "..", "tools", "vm32", "run"))

# How the i386 build runs under Wine, as i386_route() answers it.
I386_WAYS = {
    "native": "natively (this machine's kernel runs 32-bit programs)",
    "guest": "inside the emulated x86_64 machine (tools/vm32), whose kernel runs "
             "32-bit programs",
    "emulated": "inside an emulated x86_64 machine (tools/vm32/run: QEMU, TCG), because {}",
}


def _kernel_refuses_i386():
    """Why this machine's kernel does not run a harmless 32-bit program, or
    None when it does; some kernels are built or booted without 32-bit
    support."""
    with tempfile.TemporaryDirectory(prefix="infinst-i386-") as directory:
        probe = os.path.join(directory, "exit0")
        with open(probe, "wb") as f:
            f.write(_I386_EXIT_0)
        os.chmod(probe, 0o755)
        try:
            rc = subprocess.run([probe], stdin=subprocess.DEVNULL, timeout=30).returncode
        except OSError as error:
            return "this machine's kernel cannot run 32-bit programs ({})".format(
                error.strerror)
        if rc != 0:
            return "a 32-bit test program failed here (exit code {})".format(rc)
    return None


def i386_route():
    """(way, why): how the i386 build runs under Wine on this machine.
    "native" where the kernel runs 32-bit programs; "guest" inside the
    emulated machine; "emulated" where it must run there (why says why:
    the kernel refuses 32-bit programs, or INFINST_VM32=always asks for
    it); None where it cannot run at all, and why not."""
    if not os.access(BUILDS["i386"].loader, os.X_OK):
        return None, "32-bit Wine is not installed ({} is missing)".format(BUILDS["i386"].loader)
    refused = _kernel_refuses_i386()
    if os.environ.get("INFINST_VM32_GUEST"):
        return (None, "inside the emulated machine, " + refused) if refused else ("guest", None)
    if not refused and os.environ.get("INFINST_VM32") != "always":
        return "native", None
    why = refused or "INFINST_VM32=always asks for it"
    # The guest runs this machine's own programs from its shared root.
    if platform.machine() != "x86_64":
        return None, why + ", and the emulated machine runs only on an x86-64 machine"
    if not shutil.which("qemu-system-x86_64"):
        return None, why + ", and QEMU is not installed (qemu-system-x86, tools/install-deps)"
    return "emulated", why


SERVICES = "System\\CurrentControlSet\\Services\\"

# Registry value types as the registry reports them.
REG_SZ = 1
REG_EXPAND_SZ = 2
REG_DWORD = 4

# ---------------------------------------------------------------------------
# The program's texts (UTF-8 here; the program prints them as code page 932).

BANNER = "Window NT3.x用 ドライバINFインストーラ\n\n"
OS_REFUSED = ("本プログラムはWindows NT3.x向けのドライバINFインストーラです。\n"
              "Windows NT4.0以降はINFファイル右クリック→インストールを使用して下さい。\n")
USAGE = "使用法: {program} <infファイルパス>\n"
NOT_INF = "INFファイルではありません。"
NOTICES = (
    "本プログラムはWindows NT 3.x向けのドライバINFインストーラです。\n"
    "●WinNT4以降はINFファイル右クリック→インストールを使用して下さい。\n"
    "●対応形式ではないドライバINFファイルは指定しないで下さい。\n"
    "●既存のファイルやレジストリキーがある場合は上書きされます。\n"
    "●本プログラムは無保証です。思い付く限りの安全策をとっていますが、想定外の環境やINFファイルで"
    "レジストリに変な値が書き込まれてシステムが起動しなくなっても作者は責任を負いません。\n\n"
    "上記に同意する場合は1を入力してEnterを押して下さい。\n"
    "同意できない場合はそのままEnterを押して中断して下さい。\n")
OPEN_FAILED = "INFファイルを開けませんでした。: No such file or directory\n"
PRESS_ANY_KEY = "\n終了するには何かキーを押してください\n"
FINISHED = "\n処理が終了しました。変更を反映するにはシステムを再起動してください。\n"
NOT_INSTALLED = ("\n注意: {}件のファイルまたはレジストリ値がインストールされていません。"
                 "上のメッセージを確認してください。\n")
UTF16_REFUSED = ("このINFファイルはUnicode(UTF-16)形式のため処理を中止します。\n"
                 "INFファイルをShift-JIS形式で保存し直してください。\n")
UTF8_REFUSED = ("このINFファイルはUTF-8形式のため処理を中止します。\n"
                "INFファイルをShift-JIS形式で保存し直してください。\n")
LINE_TOO_LONG = "{}行目は長すぎるため無視しました。\n"
STRAY_BYTE_LINE = "{}行目に改行以外のCRまたはNUL文字があるため無視しました。\n"

NOT_LEGACY_DRIVER = ("このINFファイルはLegacyDriverではないため処理を中止します。\n"
                     "INF内でClass=LegacyDriverを指定する必要があります。\n")
NO_DESTINATION_DIRS = ("このINFファイルはDestinationDirsがないため処理を中止します。\n"
                       "INF内でDestinationDirsを指定する必要があります。\n")
NO_DEFAULT_DEST_DIR = ("このINFファイルはDestinationDirsにDefaultDestDirがないため処理を中止します。\n"
                       "INF内でDefaultDestDirを指定する必要があります。\n")
TOO_COMPLEX = ("このINFファイルは複雑な内容のため、安全のため処理を中止します。\n"
               "AddRegのセクションは1つだけ含める必要があります。\n")
NO_COPY_SECTION = "このINFファイルにCopyセクションが見つからなかったため処理を中止します。\n"
UNSUPPORTED_DESTINATION = "セクション {} の送り先ディレクトリは非対応です\n"
ADDSERVICE_UNSUPPORTED = "AddService行には対応していません: {}\n"
HEADER_UNREADABLE = "セクションの見出しを読み取れないため無視しました: {}\n"
HEADER_CASE_MISMATCH = "セクション名の大文字と小文字が一致しないため無視しました: {}\n"
DESTINATION_UNREADABLE = "DestinationDirsの行を読み取れないため無視しました: {}\n"
DESTINATION_NUMBER_UNREADABLE = "DestinationDirsの番号を読み取れません: {}\n"

OVERWRITE_QUESTION = "既存のファイルやレジストリキーを上書きしますか？(Y/N) "
COPYING = "○コピー: {} -> {}\n"
FILE_EXISTS = "ファイルが既にあります: {}\nこのファイルのコピーは行いません。\n"
COPY_FAILED = "ファイルコピーに失敗しました: {}\n"
BAD_FILE_NAME = "ファイル名が不正です: {}\n"

REG_VALUE = "○対象値: {}\\{} = {}\n"
INVALID_KEY = "キーが無効です: {}\n"
ADDREG_UNREADABLE = "AddRegの行を読み取れないため無視しました: {}\n"
KEY_EXISTS = "キーが既に存在します。本プログラムを使用する場合は一旦キーを削除して下さい。\n"
TOO_MANY_KEYS = "作成するレジストリキーが多すぎます。"
UNSUPPORTED_TYPE = "未サポートのレジストリ型: 0x{:08X}\n"
SAME_FILE = "同じファイルが既にあります: {}\n"
IMAGE_PATH_WARNING = ("警告: {} のImagePathはカーネルが読み込めない形式です: {}\n"
                      "カーネルは%SystemRoot%などを展開しません。"
                      "System32\\Drivers\\ファイル名の形で指定してください。\n")

# The destination directories as the program composes them from the
# Windows directory of the prefix, by directory id.
WINDOWS_DOS = "C:\\windows"
DESTINATION_DOS = {10: WINDOWS_DOS + "\\",
                   11: WINDOWS_DOS + "\\System32\\",
                   12: WINDOWS_DOS + "\\System32\\Drivers\\"}


def console_bytes(text):
    """The bytes the program writes for `text` on its text-mode stdout."""
    return text.replace("\n", "\r\n").encode("cp932")


def text_of(result):
    """What a run wrote on stdout, as text with "\n" line ends: the
    reverse of console_bytes, for checks of a part of it."""
    return result.out.decode("cp932", "replace").replace("\r\n", "\n")


def intro(inf_path):
    """Everything a run prints up to the agreement, for an INF path that
    passes the extension test."""
    return BANNER + "INFファイル: {}\n\n".format(inf_path) + NOTICES


def destination_dirs(*entries):
    """Pass 1's output for one [DestinationDirs] section with these
    (key, number) entries."""
    return "DestinationDirs Found: [DestinationDirs]\n" + "".join(
        "{} = {}\n".format(key, number) for key, number in entries)


def census(*headers):
    """Pass 2's output for these section headers, in file order."""
    return "".join("{} Found: {}\n".format("AddReg" if "AddReg]" in header else "Copy", header)
                   for header in headers)


def end_of_run(*messages):
    """The end of a run: its messages, then the key wait."""
    return "".join(messages) + PRESS_ANY_KEY


RECORD = "\nインストールの記録: {}\n"


def record_of(inf_path):
    """The DOS path of the installation record of the INF file at this Unix
    path: named after the CRC-32 of its bytes."""
    with open(inf_path, "rb") as f:
        crc = zlib.crc32(f.read())
    return "{}INFINST\\{:08X}.REC".format(DESTINATION_DOS[10], crc)


def finished(not_installed=0, record=None):
    """The end of a run whose installation pass ran: the warning when
    `not_installed` items were not installed, the line that names the
    installation record (the DOS path `record`) when the run changed
    something, the completion message and the key wait."""
    warning = NOT_INSTALLED.format(not_installed) if not_installed else ""
    return end_of_run(warning + (RECORD.format(record) if record else "") + FINISHED)


def simple_inf(files=(), addreg=()):
    """An INF file of the form the program installs: the class line,
    [DestinationDirs] with only DefaultDestDir=12, the copy section
    [Drv.Copy] listing `files` and the section [Drv.AddReg] holding the
    lines `addreg`."""
    return ('[Version]\nSignature="$CHICAGO$"\nClass=LegacyDriver\n\n'
            "[DestinationDirs]\nDefaultDestDir=12\n\n"
            "[Drv.Copy]\n" + "".join(name + "\n" for name in files) + "\n"
            "[Drv.AddReg]\n" + "".join(line + "\n" for line in addreg))


def simple_run(inf_path, installation, not_installed=0, record=None):
    """What a run of a simple_inf() file prints when the user agrees:
    `installation` is what its installation pass prints, after which
    `not_installed` items were not installed, and `record` names the
    installation record when the run changed something."""
    return (intro(inf_path) + destination_dirs(("DefaultDestDir", 12))
            + census("[Drv.Copy]", "[Drv.AddReg]") + installation
            + finished(not_installed, record))


def copying(inf_dir, directory_id, name):
    """The progress line of copying `name` from the INF directory (its DOS
    path ending in a backslash) into the directory of an id."""
    return COPYING.format(inf_dir + name, DESTINATION_DOS[directory_id] + name)


def write_inf(path, text, eol="\r\n"):
    """Writes INF text (lines separated by "\\n") with the given line end,
    as code page 932 bytes."""
    data = text.replace("\n", eol).encode("cp932")
    with open(path, "wb") as f:
        f.write(data)


def dos_path(unix_path):
    """The path under which Wine's Z: drive shows a Unix path."""
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


# ---------------------------------------------------------------------------
# The prefix.

RunResult = namedtuple("RunResult", "rc out err")


class WineError(Exception):
    pass


class WinePrefix:
    """One Wine prefix under `root` for one build, with the program and its
    helpers."""

    def __init__(self, root, exe, build):
        self.root = root
        self.build = build
        self.loader = build.loader
        self.prefix = os.path.join(root, "prefix")
        self.env = dict(os.environ, WINEPREFIX=self.prefix, WINEARCH=build.winearch,
                        WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=",
                        LANG=JAPANESE_LOCALE, LC_ALL=JAPANESE_LOCALE)
        self.exe = os.path.join(root, "infinst.exe")
        self.nt40_exe = os.path.join(root, "nt40.exe")
        self.regdump_exe = os.path.join(root, "regdump.exe")
        shutil.copyfile(exe, self.exe)
        shutil.copyfile(exe, self.nt40_exe)
        # The converter of the same build, found beside the installer.
        self.infconv_exe = os.path.join(root, "infconv.exe")
        converter = os.path.join(os.path.dirname(os.path.abspath(exe)), "infconv.exe")
        if os.path.isfile(converter):
            shutil.copyfile(converter, self.infconv_exe)
        # The uninstaller of the same build, found there too.
        self.infundo_exe = os.path.join(root, "infundo.exe")
        uninstaller = os.path.join(os.path.dirname(os.path.abspath(exe)), "infundo.exe")
        if os.path.isfile(uninstaller):
            shutil.copyfile(uninstaller, self.infundo_exe)

    def build_regdump(self):
        subprocess.run([self.build.cc, "-O2", "-Wall", "-o", self.regdump_exe,
                        os.path.join(HERE, "regdump.c")], check=True)

    def boot(self):
        """Makes the prefix, sets the Windows versions and keeps one
        wineserver running for the whole test run (it stays 30 s after its
        last client, so that it ends by itself should the run be killed)."""
        os.makedirs(self.prefix)
        subprocess.run([WINESERVER, "-p30"], env=self.env, check=True)
        self._wine_tool(["wineboot", "-i"], timeout=600)  # slow in the emulated machine
        self._wine_tool(["reg", "add", "HKCU\\Software\\Wine", "/v", "Version",
                         "/d", "nt351", "/f"])
        self._wine_tool(["reg", "add", "HKCU\\Software\\Wine\\AppDefaults\\nt40.exe",
                         "/v", "Version", "/d", "nt40", "/f"])
        # In a 64-bit prefix a 32-bit program's System32 is redirected to
        # syswow64, which NT 3.x never does: the i386 build must not be
        # tested there.
        windows = os.path.join(self.prefix, "drive_c", "windows")
        if self.build.winearch == "win32" and os.path.exists(os.path.join(windows, "syswow64")):
            raise WineError("the 32-bit prefix has a syswow64 folder: it is not a pure "
                            "32-bit prefix")

    def shutdown(self):
        subprocess.run([WINESERVER, "-k"], env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run([WINESERVER, "-w"], env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def _wine_tool(self, args, timeout=60):
        result = self.run(args, cwd=self.root, timeout=timeout)
        if result.rc != 0:
            raise WineError("wine {} failed ({}): {!r}".format(" ".join(args), result.rc,
                                                               result.err))

    def run(self, args, cwd, stdin=b"", timeout=60):
        """Runs `wine ARGS` with the build's loader, with stdin from a file holding `stdin` and
        stdout and stderr into files (Wine's helper processes inherit the
        program's handles, so pipes would not close), in a session of its
        own so that no terminal is ever its console."""
        io_dir = os.path.join(self.root, "io")
        os.makedirs(io_dir, exist_ok=True)
        paths = [os.path.join(io_dir, name) for name in ("stdin", "stdout", "stderr")]
        with open(paths[0], "wb") as f:
            f.write(stdin)
        with open(paths[0], "rb") as fin, open(paths[1], "wb") as fout, \
                open(paths[2], "wb") as ferr:
            process = subprocess.Popen([self.loader] + args, cwd=cwd, env=self.env, stdin=fin,
                                       stdout=fout, stderr=ferr, start_new_session=True)
            try:
                rc = process.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait()
                rc = "timeout"
        outputs = []
        for path in paths[1:]:
            with open(path, "rb") as f:
                outputs.append(f.read())
        return RunResult(rc, outputs[0], outputs[1])

    def windows_dir(self, directory_id):
        """The Unix path of the destination directory of an id."""
        windows = os.path.join(self.prefix, "drive_c", "windows")
        parts = {10: [], 11: ["system32"], 12: ["system32", "drivers"]}[directory_id]
        return os.path.join(windows, *parts)


# ---------------------------------------------------------------------------
# Cases.

CASES = []


def case(function):
    """Registers a case; its name is the function's name."""
    CASES.append(function)
    return function


class Case:
    """What a case works with: its own directory, the prefix, and checks
    that collect every mismatch instead of stopping at the first."""

    def __init__(self, wine, name):
        self.wine = wine
        self.name = name
        self.dir = os.path.join(wine.root, "cases", name)
        os.makedirs(self.dir)
        self.failures = []
        self.written_infs = {}

    # -- setting up --------------------------------------------------------

    def path(self, *parts):
        return os.path.join(self.dir, *parts)

    def dos(self, *parts):
        return dos_path(self.path(*parts))

    @property
    def inf_dir(self):
        """The DOS path of the case directory with a backslash, as the
        program composes source paths for an INF file stored there."""
        return self.dos() + "\\"

    def inf(self, text, name="driver.inf", eol="\r\n", directory=None):
        """Writes an INF file into the case directory (or a subdirectory of
        it) and answers its DOS path."""
        path = os.path.join(directory or self.dir, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        write_inf(path, text, eol)
        self.written_infs[dos_path(path)] = path
        return dos_path(path)

    def record(self, inf_dos_path):
        """The DOS path of the installation record of an INF file this case
        wrote (by its DOS path)."""
        return record_of(self.written_infs[inf_dos_path])

    def file(self, path, data):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)

    def source(self, name, data):
        """A file next to the INF file."""
        self.file(self.path(name), data)

    def installed(self, directory_id, name):
        """The Unix path of an installed file."""
        return os.path.join(self.wine.windows_dir(directory_id), name)

    def installed_dos(self, directory_id, name):
        """The DOS path of an installed file, as the program prints it."""
        return DESTINATION_DOS[directory_id] + name

    # -- running -----------------------------------------------------------

    def run(self, *args, stdin=b"1\n", exe=None, cwd=None):
        return self.wine.run([exe or self.wine.exe] + list(args), cwd=cwd or self.dir,
                             stdin=stdin)

    def regdump(self, *keys):
        """{key: None when missing, else (subkeys, {name: (type, bytes)})}
        for keys below HKEY_LOCAL_MACHINE."""
        result = self.wine.run([self.wine.regdump_exe, "dump"] + list(keys), cwd=self.dir)
        if result.rc != 0:
            raise WineError("regdump failed: {!r}".format(result.err))
        dump, current = {}, None
        for line in result.out.decode("ascii").splitlines():
            word, _, rest = line.partition(" ")
            if word == "key":
                current = rest
                dump[current] = ([], {})
            elif word == "missing":
                dump[current] = None
            elif word == "subkey":
                dump[current][0].append(rest)
            elif word == "value":
                name, type_, count, data = (rest.split(" ") + [""])[:4]
                data = bytes.fromhex(data)
                if int(count) != len(data):
                    raise WineError("regdump byte count mismatch: " + line)
                dump[current][1][name] = (int(type_), data)
        return dump

    def reg_add_dword(self, key, name, number):
        """Sets a REG_DWORD value below HKEY_LOCAL_MACHINE with Wine's reg."""
        result = self.wine.run(["reg", "add", "HKLM\\" + key, "/v", name, "/t", "REG_DWORD",
                                "/d", str(number), "/f"], cwd=self.dir)
        if result.rc != 0:
            raise WineError("reg add failed: {!r}".format(result.err))

    def reg_create(self, *keys):
        result = self.wine.run([self.wine.regdump_exe, "create"] + list(keys), cwd=self.dir)
        if result.rc != 0:
            raise WineError("regdump create failed: {!r}".format(result.out))

    # -- checking ----------------------------------------------------------

    def fail(self, message):
        self.failures.append(message)

    def expect_equal(self, what, actual, expected):
        if actual != expected:
            self.fail("{}:\n  expected {!r}\n  actual   {!r}".format(what, expected, actual))

    def expect_bytes(self, what, actual, expected):
        """Compares byte strings; on mismatch shows both decoded from
        code page 932 and where they first differ."""
        if actual == expected:
            return
        at = next((i for i, (a, b) in enumerate(zip(actual, expected)) if a != b),
                  min(len(actual), len(expected)))
        self.fail("{} differ at byte {} (expected {} bytes, got {}):\n"
                  "  expected {!r}\n  actual   {!r}".format(
                      what, at, len(expected), len(actual),
                      expected.decode("cp932", "backslashreplace"),
                      actual.decode("cp932", "backslashreplace")))

    def expect_run(self, result, stdout, rc, stderr=""):
        """The exact bytes on stdout and stderr, and the exit code; the
        expected texts are UTF-8 with "\\n" line ends."""
        self.expect_equal("exit code", result.rc, rc)
        self.expect_bytes("stdout", result.out, console_bytes(stdout))
        self.expect_bytes("stderr", result.err, console_bytes(stderr))

    def expect_file(self, path, data):
        """`path` holds exactly `data`; None means that it must not exist."""
        if data is None:
            if os.path.lexists(path):
                self.fail("{} should not exist".format(path))
            return
        try:
            with open(path, "rb") as f:
                actual = f.read()
        except OSError as error:
            self.fail("{}: {}".format(path, error))
            return
        self.expect_equal("contents of " + path, actual, data)

    def expect_key(self, dump, key, values=None, subkeys=()):
        """A key of a regdump: None means missing; otherwise its values
        {name: (type, bytes)} and subkeys must be exactly these."""
        actual = dump.get(key, "not dumped")
        if values is None:
            self.expect_equal("key " + key, actual, None)
        elif actual is None:
            self.fail("key {} is missing".format(key))
        else:
            self.expect_equal("values of " + key, actual[1], values)
            self.expect_equal("subkeys of " + key, sorted(actual[0]), sorted(subkeys))


def sz(text):
    """A string value as the registry holds it: its bytes and a NUL."""
    return (REG_SZ, text.encode("cp932") + b"\0")


def expand_sz(text):
    return (REG_EXPAND_SZ, text.encode("cp932") + b"\0")


def dword(number):
    return (REG_DWORD, number.to_bytes(4, "little"))
