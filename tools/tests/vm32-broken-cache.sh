#!/usr/bin/env bash
# tools/vm32/run with a cache that holds a kernel but no modules folder:
# the initramfs cannot be made, so it must exit 125 naming that step and
# leave nothing half-made in the cache. Boots nothing, downloads nothing.
# Exits 77 (skipped) where busybox-static is missing.
set -uo pipefail
[ -x /bin/busybox ] || { echo "SKIPPED: no /bin/busybox (tools/install-deps)"; exit 77; }
cache=$(mktemp -d)
trap 'rm -rf "$cache"' EXIT
echo "not a kernel" >"$cache/kernel"
output=$(INFINST_VM32_CACHE=$cache "$(dirname "$0")/../vm32/run" --build 2>&1)
status=$?
printf '%s\n' "$output"
[ $status = 125 ] || { echo "FAIL: exit status $status, not 125"; exit 1; }
grep -q "initramfs: copying the kernel's modules" <<<"$output" || { echo "FAIL: no step named"; exit 1; }
left=$(cd "$cache" && ls -A | grep -v -x -e kernel -e .lock)
[ -z "$left" ] || { echo "FAIL: left in the cache: $left"; exit 1; }
echo "ok: the broken cache gave 125 and left nothing behind"
