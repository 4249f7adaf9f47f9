#!/usr/bin/env bash
# tools/install-deps against stand-ins on PATH (apt-get, dpkg-query, dpkg,
# id, locale), never the real apt-get: a mirror mid-sync fails `update`
# twice, then the install goes on; an install that works only with the
# release's own suite preferred (-t CODENAME) is tried once more that way;
# with `update` and both installs failing it names the missing package,
# apt's error and the mirror; with all there, apt-get is never called.
set -euo pipefail
install_deps=$(cd "$(dirname "$0")/.." && pwd)/install-deps
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
stub() { printf '#!/bin/sh\n%s\n' "$2" >"$fake/$1" && chmod +x "$fake/$1"; }
stub id 'echo 0' && stub locale 'echo ja_JP.utf8' && stub dpkg 'echo i386'
stub dpkg-query 'grep -qx "$3" "$FAKE/missing" || echo "install ok installed"'
stub apt-get 'suite=; [ "$5" = -t ] && suite=" -t $6"; echo "$1$suite" >>"$FAKE/calls"
[ "$1" = update ] && [ "$(grep -c update "$FAKE/calls")" -le "$FAKE_UPDATE_FAILS" ] &&
    { echo "E: File has unexpected size (1 != 2). Mirror sync in progress?"; exit 100; }
[ "$1" = install ] && case "$FAKE_INSTALL_FAILS$suite" in yes*|plain) echo "E: Unable to correct problems, you have held broken packages."; exit 100; esac
[ "$1" = install ] && : >"$FAKE/missing"; exit 0'
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
export PATH="$fake:$PATH" FAKE=$fake INFINST_APT_RETRY_SECONDS=0
# run MISSING UPDATE_FAILS INSTALL_FAILS STATUS CALLS TEXT...
run() {
    echo "$1" >"$fake/missing" && : >"$fake/calls" && status=0
    FAKE_UPDATE_FAILS=$2 FAKE_INSTALL_FAILS=$3 "$install_deps" 2>"$fake/err" || status=$?
    [ "$status:$(tr '\n' ' ' <"$fake/calls")" = "$4:$5" ] || { echo "FAIL: $status, $(cat "$fake/calls" "$fake/err")"; exit 1; }
    for text in "${@:6}"; do grep -q "$text" "$fake/err" || { echo "FAIL: no '$text'"; exit 1; }; done
}
run tmux 2 '' 0 'update update update install ' 'attempt 2 of 3'
run tmux 0 plain 0 "update install install -t $codename " "install -t $codename"
run tmux 9 yes 1 "update update update install install -t $codename " 'could not install: tmux' 'held broken packages' 'middle of a sync'
run '' 0 '' 0 ''
echo "install-deps test: passed"
