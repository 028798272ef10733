#!/usr/bin/env bash
# A person's journeys through the editor in the real window (Xvfb + xdotool):
# prototypes defined, named, connected and saved; a part image set up by
# clicking on it; the design loaded again; the sample ship grown and exported;
# a screenshot taken; Quit. Each journey checks the files it leaves behind.
set -uo pipefail
SOURCE=$1
BUILD=$2
EDITOR_BIN=$BUILD/app/keelwright
PROBE=$BUILD/tools/png_probe
[ -x "$EDITOR_BIN" ] && [ -x "$PROBE" ] || { echo "skipped: editor or png_probe not built"; exit 77; }
[ -f "$BUILD/Sample/Prototypes.pt" ] || { echo "skipped: sample design not built"; exit 77; }
command -v xdotool >/dev/null || { echo "skipped: no xdotool"; exit 77; }

export LC_ALL=C   # awk prints and reads decimal points
. "$SOURCE/tests/scripts/lib/window.sh"
make_workspace
start_xvfb 510 559   # displays no other scripted test picks

(cd "$WORK" && SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 exec "$EDITOR_BIN" >"$WORK/out" 2>"$WORK/err") &
EDITOR_PID=$!
WIN=$(timeout 15 xdotool search --sync --pid "$EDITOR_PID" 2>/dev/null | head -n 1)
[ -n "$WIN" ] || { echo "FAIL: no editor window"; cat "$WORK/err"; exit 1; }
sleep 0.5

fail() { echo "FAIL: $*"; ls -R "$WORK/ScreenShots" >&2; cat "$WORK/err" >&2; exit 1; }
probe() { SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 "$PROBE" "$@"; }
# Bytes of a file as one line of hex pairs.
hex() { od -An -tx1 -v "$1" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }
# A little-endian 32-bit value as hex pairs.
le32() { local v=$(( $1 & 0xFFFFFFFF )); printf '%02x %02x %02x %02x' $((v & 255)) $((v >> 8 & 255)) $((v >> 16 & 255)) $((v >> 24 & 255)); }
# Waits up to 10 s for a file matching the pattern; prints its name.
await() {
    local f IFS=$'\n'   # a pattern with spaces is one pattern
    for _ in $(seq 100); do
        for f in $1; do [ -e "$f" ] && { echo "$f"; return 0; }; done
        sleep 0.1
    done
    return 1
}
settle() { sleep 0.2; }
move() { xdotool mousemove --window "$WIN" "$1" "$2"; sleep 0.1; }
click() { move "$1" "$2"; xdotool click "${3:-1}"; settle; }
# Rows: a 14 px header band, then 14 px rows (one line of the system font).
HEADER=14
ROW=14
click_row() { click $(($2 + 20)) $(($3 + HEADER + ROW * $1 + ROW / 2)); }   # row, list x, list y
file_row() { click_row "$1" 510 40; }
open_design() {   # folder row in the load panel, chosen twice
    click 50 79; file_row "$1"; file_row "$1"
}
screenshot() {   # Scroll Lock; prints the new screenshot once it and its thumbnail are written
    local before; before=$(ls "$WORK/ScreenShots" 2>/dev/null | grep -vc _TN)
    move 1000 5
    xdotool key Scroll_Lock; settle
    for _ in $(seq 100); do
        [ "$(ls "$WORK/ScreenShots" 2>/dev/null | grep -c _TN)" -gt "$before" ] && break
        sleep 0.1
    done
    sleep 0.2
    ls -t "$WORK"/ScreenShots/*.png 2>/dev/null | grep -v _TN | head -n 1
}

# ---- a new design: folder 1, a part image copied in, the folder opened
# The first screenshot answers once the editor runs its frames.
[ -n "$(screenshot)" ] || fail "the editor saves no screenshot"
click 50 54
await "$WORK/Designs/1" >/dev/null || fail "New made no Designs/1"
cp "$BUILD/Sample/CockpitDart.png" "$WORK/Designs/1/part.png"
cp -r "$BUILD/Sample" "$WORK/Designs/2"
open_design 0

# ---- journey 2: two prototypes, one named by typing, a connection on and another prototype allowed there
click 50 589; click 50 589
click_row 0 10 370
click 200 354
# One key per few frames: the field reads its keys once a frame.
xdotool key --delay 100 End $(printf 'BackSpace %.0s' $(seq 12)); settle
xdotool type --delay 100 "hull"; settle
click 202 455          # slot 0 on
click 202 455 3        # and selected
click_row 1 380 370    # prototype 2 allowed there
click 50 104           # Save
PT=$(await "$WORK/Designs/1/Prototypes.pt") || fail "Save wrote no Prototypes.pt"
sleep 0.3
zeros64=$(printf '00 %.0s' $(seq 64)); zeros64=${zeros64% }
zeros28=$(printf '00 %.0s' $(seq 28)); zeros28=${zeros28% }
name() { printf '%s' "$1" | od -An -tx1 | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }
expected="$(le32 2) 00 00 00 00 00 $(le32 $((0x1000000 | 2))) $zeros28 $zeros64 $(name hull) 0d 0a"
expected="$expected 00 00 00 00 01 $zeros28 00 00 00 00 $zeros64 $(name "no name1") 0d 0a"
[ "$(hex "$PT")" = "$expected" ] || fail "Prototypes.pt is $(hex "$PT"), expected $expected"
echo "journey 2: Prototypes.pt ok"

# ---- journey 1: the part image added and set up
click 310 54                       # Add images
file_row 0
click 950 279                      # OK
click_row 0 90 45                  # the image: the setup panel
click_row 0 810 120                # its prototype: "hull"
read -r W H < <(probe "$WORK/Designs/1/part.png" | tr x ' ')
# Where the image is drawn: its longer side 250 px, centred in 280 x 200 from (510, 80).
read -r LEFT TOP ZOOM < <(awk -v w="$W" -v h="$H" 'BEGIN { z = 250 / (w > h ? w : h);
    printf "%d %d %.6f\n", 510 + int((280 - w * z) / 2 + 0.5), 80 + int((200 - h * z) / 2 + 0.5), z }')
pixel() { awk -v d="$1" -v z="$ZOOM" 'BEGIN { printf "%d\n", int(d / z + 0.5) }'; }
click_row 1 510 350                # connection 1's row
click $((LEFT + 40)) $((TOP + 101))
CX=$(pixel 40); CY=$(pixel 101)
click_row 0 510 350                # the display offset's row
click $((LEFT + 21)) $((TOP + 63))
OX=$(pixel 21); OY=$(pixel 63)
click 950 541                      # OK
SPSET=$(await "$WORK/Designs/1/part.png.spset") || fail "no part.png.spset"
sleep 0.3
expected="$(le32 "$OX") $(le32 "$OY") $(le32 0) $(le32 "$CX") $(le32 "$CY") $(le32 0)"
for _ in $(seq 7); do expected="$expected $(le32 0) $(le32 0) $(le32 0)"; done
[ "$(hex "$SPSET")" = "$expected" ] || fail "part.png.spset is $(hex "$SPSET"), expected $expected"
echo "journey 1: part.png.spset ok"

# ---- journey 2, end: the design loaded again shows the same lists
click_row 0 10 370
BEFORE=$(screenshot)
open_design 0
click_row 0 10 370
click 202 455 3        # a newly chosen prototype has no selected connection: select it again
AFTER=$(screenshot)
[ -n "$BEFORE" ] && [ -n "$AFTER" ] && [ "$BEFORE" != "$AFTER" ] || fail "no screenshots to compare"
for rect in "90 45 150 250" "10 370 110 200" "110 345 180 18" "380 370 110 200" "121 371 258 198"; do   # the preview inside its frame
    a=$(probe "$BEFORE" sum $rect); b=$(probe "$AFTER" sum $rect)
    [ "$a" = "$b" ] || fail "the area $rect differs after loading again"
done
echo "journey 2: loaded again, the same lists"

# ---- journey 3: the sample ship grown from a green dot and exported "medium"
open_design 1
click 50 354                                   # Mode on
SHOT=$(screenshot)
read -r _ GX GY < <(probe "$SHOT" find 00FF00 505 350 370 290)
[ "$GX" -ge 0 ] || fail "no green dot on the test canvas"
click "$GX" $((GY + 3))                        # a free connection of the root
click 914 499                                  # the first part the palette offers
SHOT2=$(screenshot)
[ "$(probe "$SHOT" sum 505 350 370 290)" != "$(probe "$SHOT2" sum 505 350 370 290)" ] || fail "the ship did not grow"
click_row 2 770 655                            # "medium"
BIG=$(await "$WORK/ShipPics/2 - [0-9]*.png") || fail "no ship picture in ShipPics"
SMALL=$(await "$WORK/ShipPics/2 - medium*.png") || fail "no small ship picture in ShipPics"
sleep 0.3
[ "$(probe "$BIG" count 00FF00)" = "370x290 0" ] || fail "ship picture: $(probe "$BIG" count 00FF00)"
[ "$(probe "$SMALL" count 00FF00)" = "48x37 0" ] || fail "small ship picture: $(probe "$SMALL" count 00FF00)"
echo "journey 3: ship pictures ok"

# ---- journey 4: Scroll Lock saves a screenshot and its thumbnail
SHOT=$(screenshot)
[ "$(probe "$SHOT")" = "1024x768" ] || fail "screenshot: $(probe "$SHOT")"
THUMB=${SHOT%.png}_TN.png
[ "$(probe "$THUMB")" = "102x77" ] || fail "thumbnail: $(probe "$THUMB")"
echo "journey 4: screenshot ok"

# ---- journey 5: Quit
click 945 742
for _ in $(seq 50); do kill -0 "$EDITOR_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$EDITOR_PID" 2>/dev/null && fail "still running 5 s after Quit"
wait "$EDITOR_PID"; rc=$?
EDITOR_PID=
[ "$rc" -eq 0 ] || { cat "$WORK/err"; fail "Quit exited with $rc"; }
echo "journey 5: Quit exits 0"
echo "ok"
exit 0
