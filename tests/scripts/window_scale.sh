#!/usr/bin/env bash
# The editor on a large display under Xvfb: with no --scale it opens at the
# largest factor that fits (2 on 2048 x 1536), and a person's click on "New"
# in the doubled window makes a design. Skipped (77) without Xvfb or xdotool.
set -uo pipefail
BUILD=${2:?build directory}
EDITOR_BIN=$BUILD/app/keelwright
[ -x "$EDITOR_BIN" ] || { echo "skipped: $EDITOR_BIN not built"; exit 77; }
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "skipped: no Xvfb/xdotool"; exit 77; }

WORK=$(mktemp -d)
XVFB_PID=
EDITOR_PID=
cleanup() {
    [ -n "$EDITOR_PID" ] && kill "$EDITOR_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
mkdir -p "$WORK/Media"
cp "$BUILD"/Media/* "$WORK/Media/" 2>/dev/null

for n in $(seq 141 190); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { DISP=":$n"; break; }
done
[ -n "${DISP:-}" ] || { echo "skipped: no free display"; exit 77; }
Xvfb "$DISP" -screen 0 2048x1536x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${DISP#:}" ] && break; sleep 0.1; done
[ -e "/tmp/.X11-unix/X${DISP#:}" ] || { echo "skipped: Xvfb did not start"; exit 77; }
export DISPLAY="$DISP"

(cd "$WORK" && unset KEELWRIGHT_SCALE && SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 \
    exec "$EDITOR_BIN" >"$WORK/out" 2>"$WORK/err") &
EDITOR_PID=$!
WINDOW=$(timeout 20 xdotool search --sync --pid "$EDITOR_PID" 2>/dev/null | head -n 1)
[ -n "$WINDOW" ] || { echo "FAIL: no window"; cat "$WORK/err"; exit 1; }
GEOMETRY=$(xdotool getwindowgeometry "$WINDOW")
echo "$GEOMETRY" | grep -q 'Geometry: 2048x1536' || { echo "FAIL: not at factor 2: $GEOMETRY"; exit 1; }
NAME=$(xdotool getwindowname "$WINDOW")
[ "$NAME" = "Keelwright" ] || { echo "FAIL: title '$NAME'"; exit 1; }

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
# The title line names it.
for _ in $(seq 30); do
    NAME=$(xdotool getwindowname "$WINDOW")
    [ "$NAME" = "Keelwright — Design $(basename "$made")" ] && break
    sleep 0.1
done
[ "$NAME" = "Keelwright — Design $(basename "$made")" ] || { echo "FAIL: title '$NAME'"; exit 1; }
kill -0 "$EDITOR_PID" 2>/dev/null || { echo "FAIL: the editor ended"; cat "$WORK/err"; exit 1; }
echo "ok: $GEOMETRY, design $(basename "$made")"
exit 0
