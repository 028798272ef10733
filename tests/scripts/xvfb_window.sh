#!/usr/bin/env bash
# The real window under Xvfb: a person's input from xdotool must reach
# Mouse_X/Mouse_Y/Mouse_Button/Key_Down. Skipped (77) without Xvfb or xdotool.
set -u
BUILD=${2:?build directory}
PROBE="$BUILD/tools/window_probe"
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "no Xvfb/xdotool"; exit 77; }
[ -x "$PROBE" ] || { echo "no $PROBE"; exit 77; }

WORK=$(mktemp -d)
XPID="" PPID_PROBE=""
cleanup() {
    [ -n "$PPID_PROBE" ] && kill "$PPID_PROBE" 2>/dev/null
    [ -n "$XPID" ] && kill "$XPID" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

# A free display number; exactly 1024x768 so the pointer cannot leave the window.
for n in $(seq 91 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { DISP=":$n"; break; }
done
[ -n "${DISP:-}" ] || { echo "no free display"; exit 77; }
Xvfb "$DISP" -screen 0 1024x768x24 -nolisten tcp -ardelay 10000 >"$WORK/xvfb.log" 2>&1 &
XPID=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${DISP#:}" ] && break; sleep 0.1; done
[ -e "/tmp/.X11-unix/X${DISP#:}" ] || { echo "Xvfb did not start"; cat "$WORK/xvfb.log"; exit 1; }

export DISPLAY="$DISP" SDL_AUDIODRIVER=dummy
unset SDL_VIDEODRIVER
"$PROBE" 25 >"$WORK/out" 2>"$WORK/err" &
PPID_PROBE=$!
timeout 10 xdotool search --sync --pid "$PPID_PROBE" >/dev/null || { echo "window not found"; cat "$WORK/err"; exit 1; }

fail=0
# Waits up to 3 s for a line the probe prints.
expect() {
    for _ in $(seq 30); do grep -qx "$1" "$WORK/out" && return 0; sleep 0.1; done
    echo "missing: $1"; fail=1
}

sleep 0.3
xdotool mousemove 300 200;  expect "mouse 300 200"
xdotool mousemove 1023 767; expect "mouse 1023 767"
xdotool mousemove 5 6;      expect "mouse 5 6"
xdotool mousedown 1; sleep 0.2; expect "buttons 1"
xdotool mouseup 1;   sleep 0.2; expect "buttons 0"
xdotool keydown Up;  sleep 0.2; expect "key 200 down"
xdotool keyup Up;    sleep 0.2; expect "key 200 up"
xdotool keydown a;   sleep 0.2; expect "key 30 down"
xdotool keyup a;     sleep 0.2; expect "key 30 up"
expect "typed a"
xdotool key Escape
for _ in $(seq 50); do kill -0 "$PPID_PROBE" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$PPID_PROBE" 2>/dev/null; then echo "probe did not end on Escape"; fail=1; fi
wait "$PPID_PROBE"; rc=$?
PPID_PROBE=""
[ "$rc" -eq 0 ] || { echo "probe exit code $rc"; fail=1; }
if [ "$fail" -ne 0 ]; then
    echo "--- probe output"; cat "$WORK/out"; echo "--- probe errors"; cat "$WORK/err"
fi
exit "$fail"
