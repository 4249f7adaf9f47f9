#!/usr/bin/env python3
"""Runs the end-to-end tests of infinst.exe under Wine.

    run_e2e.py --arch i386 --exe build/win32/infinst.exe [--filter NAME] [--keep]
    run_e2e.py --arch x86_64 --exe build/win64/infinst.exe [...]
    run_e2e.py --i386-status

The converter's cases run infconv.exe, and the uninstaller's infundo.exe,
from the folder of the infinst.exe given. Builds the registry helper (regdump.c) with mingw for the same processor,
makes one Wine prefix for the build in a temporary directory (a pure 32-bit
prefix for i386, a 64-bit one for x86_64), says which build and prefix it
uses, runs every case whose name contains NAME (all by default), prints
each case's result with the details of any mismatch, and ends with the line
"N passed, N failed". The exit status is 1 when a case failed. The
temporary directory is removed at the end unless --keep is given.

An i386 run first says how it runs: natively where this machine's kernel
runs 32-bit programs; otherwise it runs this whole script, once, inside
the emulated x86_64 machine of tools/vm32 (one boot for the suite), where
a failure of the guest (a kernel panic, a timeout, a file-sharing error)
fails the run with the end of the guest's console log. Only where neither
can happen does it print one line beginning "SKIPPED" with the reason and
exit with 77, which ctest counts as skipped. --i386-status prints only how
the i386 run happens here.
"""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import harness  # noqa: E402
import cases_core  # noqa: E402,F401  (the modules register their cases)
import cases_copy  # noqa: E402,F401
import cases_registry  # noqa: E402,F401
import cases_real_world  # noqa: E402,F401
import cases_console  # noqa: E402,F401
import cases_infconv  # noqa: E402,F401
import cases_infundo  # noqa: E402,F401


# The exit status ctest counts as a skipped test (SKIP_RETURN_CODE).
SKIPPED = 77
# How long the whole suite may take inside the emulated machine, where code
# runs about 12 times slower than natively (ctest allows a little more).
EMULATED_SECONDS = 1200


def run_case(wine, function):
    """Runs one case; answers its failure messages (empty when it passed)."""
    current = harness.Case(wine, function.__name__)
    try:
        function(current)
    except Exception:  # a broken case is a failed case, not a broken run
        current.fail("exception:\n" + traceback.format_exc())
    return current.failures


def run_emulated():
    """Runs this script with the same arguments inside the emulated
    machine. Whatever keeps it from passing there is a failure: even a skip
    (the guest's kernel refusing 32-bit programs) means a broken guest."""
    command = [harness.VM32, "--timeout", str(EMULATED_SECONDS), "--",
               sys.executable, os.path.abspath(__file__)] + sys.argv[1:]
    process = subprocess.Popen(command, stdin=subprocess.DEVNULL)
    try:
        rc = process.wait()
    finally:  # stopped from outside: the guest goes too
        if process.poll() is None:
            process.terminate()
            process.wait()
    if rc != 0:
        print("FAIL the i386 end-to-end run inside the emulated machine (exit status {}{})".format(
            rc, {SKIPPED: ": its kernel does not run 32-bit programs either",
                 124: ": it ran past {} s".format(EMULATED_SECONDS),
                 125: ": the guest failed"}.get(rc, "")))
        return 1
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--arch", choices=sorted(harness.BUILDS), default="x86_64",
                        help="the processor the executable is built for")
    parser.add_argument("--exe", help="the infinst.exe to test")
    parser.add_argument("--i386-status", action="store_true",
                        help="only say whether the i386 run can happen on this machine")
    parser.add_argument("--filter", default="", help="run only cases whose name contains this")
    parser.add_argument("--keep", action="store_true", help="keep the temporary directory")
    options = parser.parse_args()

    way = None
    if options.i386_status or options.arch == "i386":
        way, why = harness.i386_route()
        if way is None:
            print("SKIPPED: the i386 end-to-end run (the NT 3.x executable under 32-bit Wine) "
                  "did not run: " + why + "; only the x86_64 build was tested end to end.")
            return SKIPPED
        print("i386 end-to-end run: " + harness.I386_WAYS[way].format(why), flush=True)
        if options.i386_status:
            return 0
    build = harness.BUILDS[options.arch]
    cases = [f for f in harness.CASES if options.filter in f.__name__]
    if not options.exe or not os.path.isfile(options.exe):
        print("no such executable: {}".format(options.exe))
        return 1
    if not cases:
        print("no case matches " + repr(options.filter))
        return 1

    # A run stopped from outside (a ctest timeout) still removes its prefix
    # and stops its wineserver.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("terminated"))
    if way == "emulated":
        return run_emulated()
    started = time.monotonic()
    root = os.path.realpath(tempfile.mkdtemp(prefix="infinst-e2e-"))
    wine = harness.WinePrefix(root, options.exe, build)
    print("build: {} {}; prefix: WINEARCH={} {}, loader {}, Windows NT 3.51, locale {}".format(
        build.arch, os.path.abspath(options.exe), build.winearch, wine.prefix, build.loader,
        harness.JAPANESE_LOCALE), flush=True)
    passed = failed = 0
    try:
        try:
            wine.build_regdump()
            wine.boot()
        except Exception:
            print("FAIL setting up the Wine prefix\n" + traceback.format_exc())
            print("0 passed, {} failed".format(len(cases)))
            return 1
        print("prefix ready in {:.1f} s: {}".format(time.monotonic() - started, root), flush=True)
        for function in cases:
            case_started = time.monotonic()
            failures = run_case(wine, function)
            seconds = time.monotonic() - case_started
            if failures:
                failed += 1
                print("FAIL {} ({:.1f} s)".format(function.__name__, seconds))
                for message in failures:
                    print("    " + message.replace("\n", "\n    "))
            else:
                passed += 1
                print("ok   {} ({:.1f} s)".format(function.__name__, seconds))
            sys.stdout.flush()
    finally:
        wine.shutdown()
        if options.keep:
            print("kept " + root)
        else:
            shutil.rmtree(root, ignore_errors=True)
    print("total {:.1f} s".format(time.monotonic() - started))
    print("{} passed, {} failed".format(passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
