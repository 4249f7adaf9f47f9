#!/usr/bin/env bash
# tools/install-deps against stand-ins on PATH (apt-get, dpkg-query, dpkg,
# id, locale): a mirror mid-sync fails `apt-get update` twice, then the
# install goes on; with `update` and `install` both failing, it names the
# missing package, shows apt's error and the mirror hint; with all there,
# apt-get is never called. The real apt-get is never run.
set -euo pipefail
install_deps=$(cd "$(dirname "$0")/.." && pwd)/install-deps
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
stub() { printf '#!/bin/sh\n%s\n' "$2" >"$fake/$1" && chmod +x "$fake/$1"; }
stub id 'echo 0'
stub locale 'echo ja_JP.utf8'
stub dpkg 'echo i386'
stub dpkg-query 'grep -qx "$3" "$FAKE/missing" || echo "install ok installed"'
stub apt-get 'echo "$1" >>"$FAKE/calls"
[ "$1" = update ] && [ "$(grep -c update "$FAKE/calls")" -le "$FAKE_UPDATE_FAILS" ] &&
    { echo "E: File has unexpected size (1 != 2). Mirror sync in progress?"; exit 100; }
[ "$1" = install ] && [ -n "$FAKE_INSTALL_FAILS" ] && { echo "E: Unable to locate package tmux"; exit 100; }
[ "$1" = install ] && : >"$FAKE/missing"; exit 0'
export PATH="$fake:$PATH" FAKE=$fake INFINST_APT_RETRY_SECONDS=0
fail() { echo "install-deps test: $*" >&2; exit 1; }
run() { # UPDATE_FAILS INSTALL_FAILS EXPECTED_STATUS
    echo tmux >"$fake/missing" && : >"$fake/calls"
    status=0
    FAKE_UPDATE_FAILS=$1 FAKE_INSTALL_FAILS=$2 "$install_deps" 2>"$fake/err" || status=$?
    [ "$status" = "$3" ] || fail "exit $status, not $3: $(cat "$fake/err")"
}
run 2 '' 0
[ "$(tr '\n' ' ' <"$fake/calls")" = "update update update install " ] || fail "calls: $(cat "$fake/calls")"
grep -q 'attempt 2 of 3' "$fake/err" || fail "no second failed attempt reported"
run 9 yes 1
[ "$(tr '\n' ' ' <"$fake/calls")" = "update update update install " ] || fail "calls: $(cat "$fake/calls")"
for text in 'could not install: tmux' 'Unable to locate package tmux' 'middle of a sync'; do
    grep -q "$text" "$fake/err" || fail "no '$text' in: $(cat "$fake/err")"
done
: >"$fake/missing" && : >"$fake/calls" && "$install_deps" && [ ! -s "$fake/calls" ] ||
    fail "apt-get called with nothing missing"
echo "install-deps test: passed"
