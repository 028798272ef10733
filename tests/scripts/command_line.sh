#!/usr/bin/env bash
# The program's command line as a shell sees it: exit codes and which stream
# gets what. No window is opened.
set -u
BUILD=${2:?build directory}
EDITOR_BIN=$BUILD/app/keelwright
[ -x "$EDITOR_BIN" ] || { echo "skipped: $EDITOR_BIN not built"; exit 77; }
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
export ASAN_OPTIONS=detect_leaks=0
fail=0
# expect CODE STDOUT-PATTERN STDERR-PATTERN ARGS... ("-" = the stream stays empty)
expect() {
    local code=$1 out=$2 err=$3
    shift 3
    "$EDITOR_BIN" "$@" >"$TMP/out" 2>"$TMP/err" </dev/null
    local rc=$?
    [ "$rc" -eq "$code" ] || { echo "FAIL: $* exited $rc, not $code"; fail=1; }
    for stream in out err; do
        local want=${!stream}
        if [ "$want" = - ]; then
            [ ! -s "$TMP/$stream" ] || { echo "FAIL: $* wrote to std$stream:"; cat "$TMP/$stream"; fail=1; }
        else
            grep -q "$want" "$TMP/$stream" || { echo "FAIL: $*: std$stream lacks '$want'"; fail=1; }
        fi
    done
}
expect 0 '^Usage: keelwright' - --help
expect 0 '^keelwright [0-9]' - --version
expect 2 - "unknown option '--frobnicate'" --frobnicate
expect 2 - '^Usage: keelwright' --frobnicate
expect 2 - "cannot work in '$TMP/missing'" "$TMP/missing"
touch "$TMP/file"
expect 2 - "cannot work in '$TMP/file'" "$TMP/file"
exit $fail
