"""Runs at a real console, end to end: Wine inside a detached tmux session.

The program reads the agreement line from standard input and single keys
from the console itself, so these cases type into a tmux pane: `1` and
Enter at the agreement, keys that must be swallowed at the overwrite
question, the answer, and a key at the final wait. Wine's console shows
the Japanese text garbled on the pane, so the screen is compared line by line with the expected conversation: lines that are all
ASCII must match exactly, and every other line must end with the ASCII
text that follows its last Japanese character. Files, registry values and
the exit code are checked exactly afterwards.
"""

import os
import shlex
import subprocess
import time

from harness import (FILE_EXISTS, OVERWRITE_QUESTION, REG_VALUE, SERVICES, case, census,
                     copying, destination_dirs, dword, finished, intro, simple_inf, simple_run,
                     text_of)

TIMEOUT = 30.0


def ascii_tail(line):
    """The text after the last non-ASCII character of a line."""
    for index in range(len(line) - 1, -1, -1):
        if ord(line[index]) > 127:
            return line[index + 1:]
    return line


def screen_matches(screen, expected):
    """Whether the pane shows the conversation `expected` (UTF-8 text with
    "\\n" line ends) and nothing more."""
    shown = screen.rstrip("\n").split("\n")
    wanted = expected.rstrip("\n").split("\n")
    if len(shown) != len(wanted):
        return False
    for on_screen, line in zip(shown, wanted):
        on_screen = on_screen.rstrip()
        if line.isascii():
            if on_screen != line.rstrip():
                return False
        elif not on_screen.endswith(ascii_tail(line).rstrip()):
            return False
    return True


class Console:
    """infinst.exe running in a detached tmux session of its own."""

    def __init__(self, c, *args):
        self.case = c
        self.tmux = ["tmux", "-L", "infinst-e2e-{}".format(os.getpid())]
        self.session = c.name
        self.exit_file = c.path("exit_code.txt")
        env = " ".join("{}={}".format(name, shlex.quote(c.wine.env[name]))
                       for name in ("WINEPREFIX", "WINEARCH", "WINEDEBUG", "WINEDLLOVERRIDES",
                                    "LANG", "LC_ALL"))
        command = "cd {} && {} {} {} {}; echo $? > {}; sleep 600".format(
            shlex.quote(c.dir), env, c.wine.loader, shlex.quote(c.wine.exe),
            " ".join(shlex.quote(arg) for arg in args), shlex.quote(self.exit_file))
        self._tmux("new-session", "-d", "-s", self.session, "-x", "200", "-y", "50", command)

    def _tmux(self, *args):
        env = dict(os.environ, TERM=os.environ.get("TERM") or "xterm")
        return subprocess.run(self.tmux + list(args), env=env, stdin=subprocess.DEVNULL,
                              capture_output=True, check=True).stdout

    def screen(self):
        return self._tmux("capture-pane", "-p", "-J", "-S", "-", "-t",
                          self.session).decode("utf-8", "replace")

    def send(self, *keys):
        for key in keys:
            self._tmux("send-keys", "-t", self.session, key)
            time.sleep(0.2)

    def wait_for(self, expected, what):
        """Waits until the pane shows `expected`; false (with a failure
        recorded) when it does not within the timeout."""
        deadline = time.monotonic() + TIMEOUT
        while time.monotonic() < deadline:
            if screen_matches(self.screen(), expected):
                return True
            time.sleep(0.2)
        self.case.fail("the console never showed {}; it shows:\n{}\nexpected:\n{}".format(
            what, self.screen().rstrip(), expected))
        return False

    def still_shows(self, expected, what):
        """After a pause, the pane still shows `expected` and the program
        has not ended: the keys sent meanwhile were swallowed."""
        time.sleep(1.0)
        if not screen_matches(self.screen(), expected):
            self.case.fail("the console changed while {}:\n{}".format(what, self.screen()))
        if os.path.exists(self.exit_file):
            self.case.fail("the program ended while " + what)

    def exit_code(self):
        deadline = time.monotonic() + TIMEOUT
        while time.monotonic() < deadline:
            if os.path.exists(self.exit_file):
                with open(self.exit_file) as f:
                    text = f.read().strip()
                if text:
                    return int(text)
            time.sleep(0.2)
        return "no exit"

    def close(self):
        # The tmux server of this socket ends with its last session.
        subprocess.run(self.tmux + ["kill-session", "-t", self.session],
                       stdin=subprocess.DEVNULL, capture_output=True)


def converse(c, args, steps, final):
    """Runs the program at a console. `steps` is a list of (shown, keys,
    swallowed): wait until the screen shows `shown`, type `keys`, and when
    `swallowed` is true check that nothing changed and the program still
    waits. Then waits for `final`, the whole conversation up to the key
    wait, checks that the program waits for that key, sends one and
    answers the exit code."""
    console = Console(c, *args)
    try:
        for shown, keys, swallowed in steps:
            if not console.wait_for(shown, repr(shown[-60:])):
                return None
            console.send(*keys)
            if swallowed:
                console.still_shows(shown, "typing " + " ".join(keys))
        if not console.wait_for(final, "the end of the run"):
            return None
        console.still_shows(final, "waiting for the final key")
        if final.count("(Y/N)") != console.screen().count("(Y/N)"):
            c.fail("the overwrite question was not asked exactly as often as expected")
        console.send("z")
        return console.exit_code()
    finally:
        console.close()


# Keys that must never answer the overwrite question.
SWALLOWED_KEYS = ["x", "Enter", "F1", "Up", "M-y", "1"]


def agreed(path):
    """The conversation up to and including the typed agreement."""
    return intro(path) + "1\n"


def copy_question(c, path, name):
    """The conversation of a simple_inf() file up to the overwrite question
    that copying `name` over an existing file asks."""
    return (agreed(path) + destination_dirs(("DefaultDestDir", 12))
            + census("[Drv.Copy]", "[Drv.AddReg]") + copying(c.inf_dir, 12, name)
            + OVERWRITE_QUESTION)


def converse_yes(c, path, asking, rest):
    """Agrees, answers y at the one question, which ends `asking`, and
    checks that the conversation goes on with `rest` and exit code 0."""
    rc = converse(c, [path], [(intro(path), ["1", "Enter"], False), (asking, ["y"], False)],
                  asking + "y\n" + rest)
    c.expect_equal("exit code", rc, 0)


@case
def console_agreement_and_final_key(c):
    name = "e2e_console_agree.sys"
    c.source(name, b"agreed")
    path = c.inf(simple_inf([name]))
    conversation = simple_run(path, copying(c.inf_dir, 12, name), record=c.record(path)).replace(
        intro(path), agreed(path))
    rc = converse(c, [path], [(intro(path), ["1", "Enter"], False)], conversation)
    c.expect_equal("exit code", rc, 0)
    c.expect_file(c.installed(12, name), b"agreed")


def question_case(name, answer, replaced):
    """Two existing destination files: the keys of SWALLOWED_KEYS, then
    `answer` at the one question."""
    def run(c):
        files = ["e2e_{}_{}.sys".format(name, n) for n in (1, 2)]
        for file_name in files:
            c.source(file_name, b"new " + file_name.encode())
            c.file(c.installed(12, file_name), b"old " + file_name.encode())
        path = c.inf(simple_inf(files))
        if replaced:
            installation = (copying(c.inf_dir, 12, files[0]) + OVERWRITE_QUESTION + answer + "\n"
                            + copying(c.inf_dir, 12, files[1]))
        else:
            installation = "".join(
                copying(c.inf_dir, 12, f) + (OVERWRITE_QUESTION + answer + "\n" if i == 0 else "")
                + FILE_EXISTS.format(c.installed_dos(12, f)) for i, f in enumerate(files))
        head = agreed(path) + destination_dirs(("DefaultDestDir", 12)) + census(
            "[Drv.Copy]", "[Drv.AddReg]")
        asking = copy_question(c, path, files[0])
        # With no, nothing changed: no record is kept.
        final = head + installation + (finished(record=c.record(path)) if replaced
                                       else finished(len(files)))
        rc = converse(c, [path], [(intro(path), ["1", "Enter"], False),
                                  (asking, SWALLOWED_KEYS, True),
                                  (asking, [answer], False)], final)
        c.expect_equal("exit code", rc, 0)
        for file_name in files:
            c.expect_file(c.installed(12, file_name),
                          (b"new " if replaced else b"old ") + file_name.encode())
    run.__name__ = name
    case(run)


question_case("console_question_answered_yes", "y", replaced=True)
question_case("console_question_answered_no", "n", replaced=False)


@case
def console_existing_key_and_file_one_question(c):
    # The AddReg section comes first, so the existing key brings the
    # question and its answer covers the existing file that follows.
    name = "e2e_console_both.sys"
    key = SERVICES + "E2E_ConsoleBoth"
    c.source(name, b"new")
    c.file(c.installed(12, name), b"old")
    c.reg_add_dword(key, "Start", 0)
    path = c.inf("[Version]\nClass=LegacyDriver\n\n[DestinationDirs]\nDefaultDestDir=12\n\n"
                 "[Drv.AddReg]\n"
                 'HKLM,"{0}","Start",0x00010001,3\n'
                 'HKLM,"{0}","Type",0x00010001,1\n\n'
                 "[Drv.Copy]\n{1}\n".format(key, name))
    asking = (agreed(path) + destination_dirs(("DefaultDestDir", 12))
              + census("[Drv.AddReg]", "[Drv.Copy]") + REG_VALUE.format(key, "Start", "3")
              + OVERWRITE_QUESTION)
    converse_yes(c, path, asking, REG_VALUE.format(key, "Type", "1")
                 + copying(c.inf_dir, 12, name) + finished(record=c.record(path)))
    c.expect_file(c.installed(12, name), b"new")
    c.expect_key(c.regdump(key), key, {"Start": dword(3), "Type": dword(1)})


@case
def console_reinstall_over_files_copied_read_only(c):
    # A file copied from read-only media (here a source without write
    # permission, which Wine reports as read-only) must not stay read-only,
    # or the next install could never replace it.
    name = "e2e_console_readonly.sys"
    source = c.path(name)
    c.source(name, b"first")
    os.chmod(source, 0o444)
    path = c.inf(simple_inf([name]))
    c.expect_run(c.run(path), simple_run(path, copying(c.inf_dir, 12, name),
                                         record=c.record(path)), rc=0)
    if not os.stat(c.installed(12, name)).st_mode & 0o200:
        c.fail("the installed file kept the read-only attribute")
    os.chmod(source, 0o644)
    c.source(name, b"second")
    os.chmod(source, 0o444)
    converse_yes(c, path, copy_question(c, path, name), finished(record=c.record(path)))
    c.expect_file(c.installed(12, name), b"second")


@case
def console_replaced_file_and_value_come_back(c):
    # What infinst replaced after a yes comes back when infundo takes the
    # installation back: the file from the copy saved beside the record,
    # the value from the record itself.
    name = "e2e_console_replaced.sys"
    key = SERVICES + "E2E_ConsoleReplaced"
    c.source(name, b"new")
    c.file(c.installed(12, name), b"old")
    c.reg_add_dword(key, "Start", 0)
    path = c.inf(simple_inf([name], ['HKLM,"{}","Start",0x00010001,3'.format(key)]))
    converse_yes(c, path, copy_question(c, path, name),
                 REG_VALUE.format(key, "Start", "3") + finished(record=c.record(path)))
    c.expect_file(c.installed(12, name), b"new")
    c.expect_key(c.regdump(key), key, {"Start": dword(3)})
    result = c.run(path, exe=c.wine.infundo_exe)
    said = text_of(result)
    plan = ("○元に戻すファイル: " + c.installed_dos(12, name) + "\n"
            "○元に戻す値: " + key + "\\Start\n")
    c.expect_equal("exit code and plan", (result.rc, plan in said), (0, True))
    c.expect_file(c.installed(12, name), b"old")
    c.expect_key(c.regdump(key), key, {"Start": dword(0)})
    c.wine.run(["reg", "delete", "HKLM\\" + key, "/f"], cwd=c.dir)
