#!/usr/bin/env bash
# A guest that fails must fail the i386 end-to-end run, showing the end of
# its console log: never pass, never count as skipped. Runs the run inside
# the emulated machine (even where the kernel runs 32-bit programs) with a
# kernel command line that leaves the guest no init, so that it panics.
# Exits 77 (skipped) only where the emulated machine cannot run at all.
#
#   check_broken_guest.sh EXE
set -u
output=$(INFINST_VM32=always INFINST_VM32_APPEND=rdinit=/missing \
    python3 "$(dirname "$0")/run_e2e.py" --arch i386 --exe "$1" 2>&1)
status=$?
printf '%s\n' "$output"
[ $status = 77 ] && exit 77
if [ $status = 1 ] && grep -q 'FAIL the i386 end-to-end run' <<<"$output" &&
    grep -q 'Kernel panic' <<<"$output"; then
    echo "ok: the broken guest failed the run, with its console log"
    exit 0
fi
echo "FAIL: a broken guest gave exit status $status, not a reported failure"
exit 1
