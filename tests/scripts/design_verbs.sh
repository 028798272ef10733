#!/usr/bin/env bash
# check and render as a shell sees them: exit codes, streams and files, with
# no display at all.
set -u
BUILD=$(cd "${2:?build directory}" && pwd)
BIN=$BUILD/app/keelwright
SAMPLE=$BUILD/Sample
[ -x "$BIN" ] || { echo "skipped: $BIN not built"; exit 77; }
[ -f "$SAMPLE/Prototypes.pt" ] || { echo "skipped: no sample design in $SAMPLE"; exit 77; }
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
export ASAN_OPTIONS=detect_leaks=0
unset DISPLAY WAYLAND_DISPLAY
fail=0
# expect CODE STDOUT-PATTERN STDERR-PATTERN ARGS... ("-" = the stream stays empty)
expect() {
    local code=$1 out=$2 err=$3
    shift 3
    timeout 60 "$BIN" "$@" >"$TMP/out" 2>"$TMP/err" </dev/null
    local rc=$?
    [ "$rc" -eq "$code" ] || { echo "FAIL: $* exited $rc, not $code"; cat "$TMP/err"; fail=1; }
    for stream in out err; do
        local want=${!stream}
        if [ "$want" = - ]; then
            [ ! -s "$TMP/$stream" ] || { echo "FAIL: $* wrote to std$stream:"; cat "$TMP/$stream"; fail=1; }
        else
            grep -q -- "$want" "$TMP/$stream" || { echo "FAIL: $*: std$stream lacks '$want'"; fail=1; }
        fi
    done
}
expect 0 '^Usage: keelwright render' - --help
expect 0 '^0 findings in 14 part images and 7 prototypes$' - check "$SAMPLE"
expect 0 '^{"summary":{"findings":0' - check "$SAMPLE" --json
expect 2 - 'no such folder' check "$TMP/missing"

# A damaged copy of the sample: a setup cut short and a picture that is no PNG.
cp -r "$SAMPLE" "$TMP/spoilt"
head -c 12 "$SAMPLE/GunLaser.png.spset" >"$TMP/spoilt/GunLaser.png.spset"
echo broken >"$TMP/spoilt/EngineIon.png"
expect 1 '^GunLaser.png.spset: damaged: 12 bytes' - check "$TMP/spoilt"
expect 1 '^EngineIon.png: the picture cannot be decoded$' - check "$TMP/spoilt"
expect 1 '"kind":"undecodable-picture"' - check --json "$TMP/spoilt"

mkdir "$TMP/work" && cd "$TMP/work" || exit 1
expect 0 'wrote 5 of 5 ships (huge)' - render "$SAMPLE" --count 5 --seed 9 --size huge --out one
expect 0 'wrote 5 of 5 ships (huge)' - render "$SAMPLE" --count 5 --seed 9 --size huge --out two
cmp -s one/Sample-seed9-sheet.png two/Sample-seed9-sheet.png || { echo "FAIL: the same seed gave another sheet"; fail=1; }
[ "$(ls one | wc -l)" -eq 11 ] || { echo "FAIL: one/ holds $(ls one | wc -l) files"; fail=1; }
[ "$(ls | tr '\n' ' ')" = "one two " ] || { echo "FAIL: written outside --out: $(ls)"; fail=1; }
expect 2 - '--count is 1 to 1000, not 10000000' render "$SAMPLE" --count 10000000 --seed 1 --out three
expect 2 - '--depth is 1 to 64, not 0' render "$SAMPLE" --count 1 --seed 1 --depth 0 --out three
[ ! -e three ] || { echo "FAIL: a refused render made its folder"; fail=1; }

# Damaged designs still render (the damaged parts read as the editor reads
# them) or say there is nothing to draw; never a crash.
expect 0 'wrote 3 of 3 ships' - render "$TMP/spoilt" --count 3 --seed 1 --out "$TMP/spoilt-out"
cp -r "$SAMPLE" "$TMP/garbled"
{ printf '\377\377\377\177'; head -c 3000 "$SAMPLE/HullHeavy.png"; } >"$TMP/garbled/Prototypes.pt"
timeout 60 "$BIN" render "$TMP/garbled" --count 3 --seed 1 --depth 64 --out "$TMP/garbled-out" >/dev/null 2>&1
rc=$?
[ "$rc" -le 1 ] || { echo "FAIL: a garbled prototype list ended render with $rc"; fail=1; }
timeout 60 "$BIN" check "$TMP/garbled" >"$TMP/out" 2>&1
rc=$?
[ "$rc" -eq 1 ] && grep -q '^Prototypes.pt: damaged' "$TMP/out" || { echo "FAIL: check of a garbled list: $rc"; cat "$TMP/out"; fail=1; }

# Under a file-size limit a write fails as on a full disk: the run ends by
# itself, not by the signal, keeps the old file and leaves no temporary.
mkdir "$TMP/limited" && echo old >"$TMP/limited/Sample-seed1-sheet.png"
(ulimit -f 1 && exec timeout 60 "$BIN" render "$SAMPLE" --count 1 --seed 1 --size huge --out "$TMP/limited") >/dev/null 2>&1
rc=$?
[ "$rc" -eq 1 ] || { echo "FAIL: under a file-size limit render ended with $rc"; fail=1; }
[ "$(cat "$TMP/limited/Sample-seed1-sheet.png")" = old ] || { echo "FAIL: the old sheet was lost"; fail=1; }
! ls -A "$TMP/limited" | grep -q '^\.kw-save-' || { echo "FAIL: a temporary was left"; fail=1; }
exit $fail
