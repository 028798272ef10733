#!/usr/bin/env bash
# The editor on a large display under Xvfb: with no --scale it opens at the
# largest factor that fits (2 on 2048 x 1536), and a person's click on "New"
# in the doubled window makes a design, which the window's title then names.
# Skipped (77) without Xvfb or xdotool.
set -uo pipefail
SOURCE=$1
BUILD=$2
EDITOR_BIN=$BUILD/app/keelwright
[ -x "$EDITOR_BIN" ] || { echo "skipped: $EDITOR_BIN not built"; exit 77; }
command -v xdotool >/dev/null || { echo "skipped: no xdotool"; exit 77; }
. "$SOURCE/tests/scripts/lib/window.sh"
make_workspace
start_xvfb 560 609 2048x1536   # displays no other scripted test picks

(cd "$WORK" && unset KEELWRIGHT_SCALE && SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 \
    exec "$EDITOR_BIN" >"$WORK/out" 2>"$WORK/err") &
EDITOR_PID=$!
WINDOW=$(timeout 20 xdotool search --sync --pid "$EDITOR_PID" 2>/dev/null | head -n 1)
[ -n "$WINDOW" ] || { echo "FAIL: no window"; cat "$WORK/err"; exit 1; }
GEOMETRY=$(xdotool getwindowgeometry "$WINDOW")
echo "$GEOMETRY" | grep -q 'Geometry: 2048x1536' || { echo "FAIL: not at factor 2: $GEOMETRY"; exit 1; }
[ "$(xdotool getwindowname "$WINDOW")" = "Keelwright" ] || { echo "FAIL: title '$(xdotool getwindowname "$WINDOW")'"; exit 1; }

# "New" spans (10, 45) .. (90, 63) of the screen: window (100, 108) is its (50, 54).
sleep 1
xdotool mousemove --window "$WINDOW" 100 108
sleep 0.3
xdotool click 1
made=
for _ in $(seq 50); do
    made=$(find "$WORK/Designs" -mindepth 1 -maxdepth 1 -type d 2>/dev/null | head -n 1)
    [ -n "$made" ] && break
    sleep 0.1
done
[ -n "$made" ] || { echo "FAIL: the click on New made no design"; cat "$WORK/err"; exit 1; }
want="Keelwright — Design $(basename "$made")"
for _ in $(seq 30); do
    [ "$(xdotool getwindowname "$WINDOW")" = "$want" ] && break
    sleep 0.1
done
[ "$(xdotool getwindowname "$WINDOW")" = "$want" ] || { echo "FAIL: title '$(xdotool getwindowname "$WINDOW")'"; exit 1; }
kill -0 "$EDITOR_PID" 2>/dev/null || { echo "FAIL: the editor ended"; cat "$WORK/err"; exit 1; }
echo "ok: $GEOMETRY, design $(basename "$made")"
exit 0
