#!/usr/bin/env bash
# Stopping the editor from outside: under Xvfb, SIGTERM (kill, timeout, a
# desktop logging out) and SIGINT (Ctrl+C) each end it within a few frames,
# as ended by that signal (or with 0), never needing SIGKILL.
set -uo pipefail
SOURCE=$1
BUILD=$2
EDITOR_BIN=$BUILD/app/keelwright
[ -x "$EDITOR_BIN" ] || { echo "skipped: $EDITOR_BIN not built"; exit 77; }
command -v Xvfb >/dev/null || { echo "skipped: no Xvfb"; exit 77; }

WORK=$(mktemp -d)
XVFB_PID=
EDITOR_PID=
cleanup() {
    [ -n "$EDITOR_PID" ] && kill -KILL "$EDITOR_PID" 2>/dev/null
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
Xvfb "$DISP" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${DISP#:}" ] && break; sleep 0.1; done
[ -e "/tmp/.X11-unix/X${DISP#:}" ] || { echo "skipped: Xvfb did not start"; exit 77; }

fail=0
for sig in TERM INT; do
    (cd "$WORK" && DISPLAY="$DISP" SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 \
        exec "$EDITOR_BIN" >"$WORK/out" 2>"$WORK/err") &
    EDITOR_PID=$!
    # Running frames: the window is up (or, without xdotool, a moment has passed).
    if command -v xdotool >/dev/null; then
        DISPLAY="$DISP" timeout 10 xdotool search --sync --pid "$EDITOR_PID" >/dev/null 2>&1
    fi
    sleep 1
    if ! kill -0 "$EDITOR_PID" 2>/dev/null; then
        wait "$EDITOR_PID"
        echo "FAIL: the editor ended by itself (exit $?) before SIG$sig:"; cat "$WORK/err"
        EDITOR_PID=; fail=1; continue
    fi
    kill -"$sig" "$EDITOR_PID"
    for _ in $(seq 30); do kill -0 "$EDITOR_PID" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$EDITOR_PID" 2>/dev/null; then
        echo "FAIL: still running 3 s after SIG$sig"
        kill -KILL "$EDITOR_PID"; wait "$EDITOR_PID" 2>/dev/null
        EDITOR_PID=; fail=1; continue
    fi
    wait "$EDITOR_PID"; rc=$?
    EDITOR_PID=
    expected=$((128 + $(kill -l "$sig")))
    if [ "$rc" -ne "$expected" ] && [ "$rc" -ne 0 ]; then
        echo "FAIL: after SIG$sig the exit status is $rc, not $expected or 0:"; cat "$WORK/err"; fail=1
    fi
done
[ "$fail" -eq 0 ] && echo "ok"
exit "$fail"
