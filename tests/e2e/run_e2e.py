#!/usr/bin/env python3
"""Runs the end-to-end tests of infinst.exe under Wine.

    run_e2e.py --exe build/win64/infinst.exe [--filter NAME] [--keep]

Builds the registry helper (regdump.c) with mingw, makes one Wine prefix
in a temporary directory, runs every case whose name contains NAME (all by
default), prints each case's result with the details of any mismatch, and
ends with the line "N passed, N failed". The exit status is 1 when a case
failed. The temporary directory is removed at the end unless --keep is
given.
"""

import argparse
import os
import shutil
import signal
import sys
import tempfile
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import harness  # noqa: E402
import cases_core  # noqa: E402,F401  (the modules register their cases)
import cases_copy  # noqa: E402,F401
import cases_registry  # noqa: E402,F401
import cases_console  # noqa: E402,F401


def run_case(wine, function):
    """Runs one case; answers its failure messages (empty when it passed)."""
    current = harness.Case(wine, function.__name__)
    try:
        function(current)
    except Exception:  # a broken case is a failed case, not a broken run
        current.fail("exception:\n" + traceback.format_exc())
    return current.failures


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--exe", required=True, help="the x86_64 infinst.exe to test")
    parser.add_argument("--filter", default="", help="run only cases whose name contains this")
    parser.add_argument("--keep", action="store_true", help="keep the temporary directory")
    options = parser.parse_args()

    cases = [f for f in harness.CASES if options.filter in f.__name__]
    if not os.path.isfile(options.exe):
        print("no such executable: " + options.exe)
        return 1
    if not cases:
        print("no case matches " + repr(options.filter))
        return 1

    # A run stopped from outside (a ctest timeout) still removes its prefix
    # and stops its wineserver.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("terminated"))
    started = time.monotonic()
    root = os.path.realpath(tempfile.mkdtemp(prefix="infinst-e2e-"))
    wine = harness.WinePrefix(root, options.exe)
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
