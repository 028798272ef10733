#!/usr/bin/env bash
# The editor as a user starts it: without a display it says why it cannot
# start and fails; under Xvfb it opens its 1024 x 768 window and keeps running.
set -uo pipefail
SOURCE=$1
BUILD=$2
EDITOR_BIN=$BUILD/app/keelwright
[ -x "$EDITOR_BIN" ] || { echo "skipped: $EDITOR_BIN not built"; exit 77; }

WORK=$(mktemp -d)
XVFB_PID=
EDITOR_PID=
cleanup() {
    [ -n "$EDITOR_PID" ] && kill "$EDITOR_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
mkdir -p "$WORK/Media"
cp "$BUILD"/Media/* "$WORK/Media/" 2>/dev/null

# No display: one line on stderr naming what failed, and a failing exit code.
(cd "$WORK" && env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 ASAN_OPTIONS=detect_leaks=0 \
    timeout 20 "$EDITOR_BIN" >"$WORK/out" 2>"$WORK/err")
rc=$?
if [ "$rc" -eq 0 ] || [ "$rc" -eq 124 ]; then
    echo "FAIL: without a display the editor exited with $rc"; exit 1
fi
if ! grep -q '^keelwright: cannot ' "$WORK/err" || [ "$(wc -l <"$WORK/err")" -ne 1 ]; then
    echo "FAIL: expected one 'keelwright: cannot ...' line, got:"; cat "$WORK/err"; exit 1
fi

command -v Xvfb >/dev/null || { echo "skipped: no Xvfb"; exit 77; }
DISPLAY_NUMBER=$((200 + $$ % 300))
Xvfb ":$DISPLAY_NUMBER" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$DISPLAY_NUMBER" ] && break
    sleep 0.1
done
[ -e "/tmp/.X11-unix/X$DISPLAY_NUMBER" ] || { echo "skipped: Xvfb did not start"; exit 77; }

(cd "$WORK" && DISPLAY=":$DISPLAY_NUMBER" SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 \
    exec "$EDITOR_BIN" >"$WORK/out" 2>"$WORK/err") &
EDITOR_PID=$!
sleep 3
if ! kill -0 "$EDITOR_PID" 2>/dev/null; then
    wait "$EDITOR_PID"
    echo "FAIL: the editor ended by itself (exit $?):"; cat "$WORK/err"; exit 1
fi
if command -v xdotool >/dev/null; then
    WINDOW=$(DISPLAY=":$DISPLAY_NUMBER" xdotool search --pid "$EDITOR_PID" 2>/dev/null | head -n 1)
    if [ -n "$WINDOW" ]; then
        GEOMETRY=$(DISPLAY=":$DISPLAY_NUMBER" xdotool getwindowgeometry "$WINDOW")
        echo "$GEOMETRY" | grep -q 'Geometry: 1024x768' || { echo "FAIL: window $GEOMETRY"; exit 1; }
    fi
fi
echo "ok"
exit 0
