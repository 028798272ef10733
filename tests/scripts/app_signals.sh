#!/usr/bin/env bash
# Stopping the editor from outside: under Xvfb, SIGTERM (kill, timeout, a
# desktop logging out) and SIGINT (Ctrl+C) each end it within a few frames,
# as ended by that signal (or with 0), never needing SIGKILL.
set -uo pipefail
SOURCE=$1
BUILD=$2
EDITOR_BIN=$BUILD/app/keelwright
[ -x "$EDITOR_BIN" ] || { echo "skipped: $EDITOR_BIN not built"; exit 77; }
. "$SOURCE/tests/scripts/lib/window.sh"
make_workspace
start_xvfb 141 190

fail=0
for sig in TERM INT; do
    (cd "$WORK" && SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 \
        exec "$EDITOR_BIN" >"$WORK/out" 2>"$WORK/err") &
    EDITOR_PID=$!
    # Running frames: the window is up (or, without xdotool, a moment has passed).
    if command -v xdotool >/dev/null; then
        timeout 10 xdotool search --sync --pid "$EDITOR_PID" >/dev/null 2>&1
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
