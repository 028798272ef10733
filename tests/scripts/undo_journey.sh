#!/usr/bin/env bash
# Taking back a wrong click in the real window (Xvfb + xdotool): a setup
# point placed by mistake, Ctrl+Z, placed right, OK; a compatibility bit
# flipped by mistake, Ctrl+Z, Save; Quit with unsaved prototypes warns in
# the title and changes nothing, Save, and Quit ends the editor.
set -uo pipefail
SOURCE=$1
BUILD=$2
EDITOR_BIN=$BUILD/app/keelwright
PROBE=$BUILD/tools/png_probe
[ -x "$EDITOR_BIN" ] && [ -x "$PROBE" ] || { echo "skipped: editor or png_probe not built"; exit 77; }
[ -f "$BUILD/Sample/CockpitDart.png" ] || { echo "skipped: sample design not built"; exit 77; }
command -v xdotool >/dev/null || { echo "skipped: no xdotool"; exit 77; }

export LC_ALL=C   # awk prints and reads decimal points
. "$SOURCE/tests/scripts/lib/window.sh"
make_workspace
start_xvfb 610 639   # displays no other scripted test picks

(cd "$WORK" && SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 exec "$EDITOR_BIN" >"$WORK/out" 2>"$WORK/err") &
EDITOR_PID=$!
WIN=$(timeout 15 xdotool search --sync --pid "$EDITOR_PID" 2>/dev/null | head -n 1)
[ -n "$WIN" ] || { echo "FAIL: no editor window"; cat "$WORK/err"; exit 1; }
sleep 0.5

fail() { echo "FAIL: $*"; cat "$WORK/err" >&2; exit 1; }
probe() { SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 "$PROBE" "$@"; }
hex() { od -An -tx1 -v "$1" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }
le32() { local v=$(( $1 & 0xFFFFFFFF )); printf '%02x %02x %02x %02x' $((v & 255)) $((v >> 8 & 255)) $((v >> 16 & 255)) $((v >> 24 & 255)); }
await() {
    for _ in $(seq 100); do [ -e "$1" ] && return 0; sleep 0.1; done
    return 1
}
settle() { sleep 0.3; }
move() { xdotool mousemove --window "$WIN" "$1" "$2"; sleep 0.1; }
click() { move "$1" "$2"; xdotool click "${3:-1}"; settle; }
# Ctrl held over a few frames while the key goes down and up, as a person types it.
ctrl_key() { xdotool keydown ctrl; sleep 0.15; xdotool key "$1"; sleep 0.15; xdotool keyup ctrl; settle; }
HEADER=14
ROW=14
click_row() { click $(($2 + 20)) $(($3 + HEADER + ROW * $1 + ROW / 2)); }   # row, list x, list y
file_row() { click_row "$1" 510 40; }
open_design() { click 50 79; file_row "$1"; file_row "$1"; }
save() { click 50 104; sleep 0.3; }
PT=$WORK/Designs/1/Prototypes.pt

# A new design with the sample's cockpit in it and two prototypes, saved.
sleep 1
click 50 54
await "$WORK/Designs/1" || fail "New made no Designs/1"
cp "$BUILD/Sample/CockpitDart.png" "$WORK/Designs/1/part.png"
open_design 0
click 50 589; click 50 589
click_row 0 10 370
click 202 455          # slot 0 on
click 202 455 3        # and selected
save
await "$PT" || fail "Save wrote no Prototypes.pt"
SAVED=$(hex "$PT")

# ---- a compatibility bit flipped by mistake, taken back, saved
click_row 1 380 370    # prototype 2 allowed at slot 0
ctrl_key z
save
[ "$(hex "$PT")" = "$SAVED" ] || fail "the undone flip was saved: $(hex "$PT")"
ctrl_key y             # made again: it was a real flip
save
[ "$(hex "$PT")" != "$SAVED" ] || fail "Ctrl+Y did not flip the bit again"
ctrl_key z
save
[ "$(hex "$PT")" = "$SAVED" ] || fail "Ctrl+Z after Ctrl+Y left $(hex "$PT")"
echo "compatibility: undone and saved"

# ---- a setup point placed by mistake, taken back, placed right, OK
click 310 54                       # Add images
file_row 0
click 950 279                      # OK
click_row 0 90 45                  # the image: the setup panel
click_row 0 810 120                # its prototype: the first
read -r W H < <(probe "$WORK/Designs/1/part.png" | tr x ' ')
read -r LEFT TOP ZOOM < <(awk -v w="$W" -v h="$H" 'BEGIN { z = 250 / (w > h ? w : h);
    printf "%d %d %.6f\n", 510 + int((280 - w * z) / 2 + 0.5), 80 + int((200 - h * z) / 2 + 0.5), z }')
pixel() { awk -v d="$1" -v z="$ZOOM" 'BEGIN { printf "%d\n", int(d / z + 0.5) }'; }
click_row 0 510 350                # the display offset's row
click $((LEFT + 5)) $((TOP + 5))   # the wrong place
ctrl_key z
click $((LEFT + 21)) $((TOP + 63)) # the right one
click 950 541                      # OK
SPSET=$WORK/Designs/1/part.png.spset
await "$SPSET" || fail "no part.png.spset"
sleep 0.3
expected="$(le32 "$(pixel 21)") $(le32 "$(pixel 63)") $(le32 0)"
[ "$(hex "$SPSET" | cut -c1-35)" = "$expected" ] || fail "part.png.spset starts $(hex "$SPSET" | cut -c1-35), expected $expected"
echo "setup point: undone and placed right"

# ---- Quit with an unsaved prototype warns; Save; Quit ends
click 50 589                       # a third prototype, unsaved
click 945 742                      # Quit
sleep 1
kill -0 "$EDITOR_PID" 2>/dev/null || fail "Quit with unsaved prototypes ended the editor"
TITLE=$(xdotool getwindowname "$WIN")
case "$TITLE" in *"not saved"*) ;; *) fail "the title says '$TITLE', not that the prototypes are not saved" ;; esac
save
[ "$(hex "$PT" | cut -c1-11)" = "$(le32 3)" ] || fail "Save wrote $(hex "$PT" | cut -c1-11) prototypes, not 3"
click 945 742                      # Quit
for _ in $(seq 50); do kill -0 "$EDITOR_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$EDITOR_PID" 2>/dev/null && fail "Quit after Save did not end the editor"
wait "$EDITOR_PID"; rc=$?
EDITOR_PID=
[ "$rc" -eq 0 ] || fail "the editor ended with $rc"
echo "quit: warned while unsaved, ended once saved"
echo "ok"
