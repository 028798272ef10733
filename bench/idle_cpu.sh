#!/usr/bin/env bash
# Idle processor use of the editor in a real (Xvfb) window at factor 2: the
# share of one core its process takes over 10 s with nobody touching it.
# Usage: bench/idle_cpu.sh BUILD_DIR [FACTOR]   (a release build gives the real figure)
set -euo pipefail
BUILD=$(cd "${1:?build directory}" && pwd)
FACTOR=${2:-2}
EDITOR_BIN=$BUILD/app/keelwright
WORK=$(mktemp -d)
for n in $(seq 191 240); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { DISP=":$n"; break; }
done
Xvfb "$DISP" -screen 0 $((1024 * FACTOR))x$((768 * FACTOR))x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
trap 'kill $EDITOR_PID 2>/dev/null; wait $EDITOR_PID 2>/dev/null; kill $XVFB_PID 2>/dev/null; wait 2>/dev/null; rm -rf "$WORK"' EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${DISP#:}" ] && break; sleep 0.1; done
mkdir -p "$WORK/Media" && cp "$BUILD"/Media/* "$WORK/Media/"
(cd "$WORK" && DISPLAY=$DISP SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 exec "$EDITOR_BIN" --scale "$FACTOR") &
EDITOR_PID=$!
sleep 3
ticks() { awk '{print $14 + $15}' "/proc/$EDITOR_PID/stat"; }
before=$(ticks)
sleep 10
after=$(ticks)
hz=$(getconf CLK_TCK)
awk -v t=$((after - before)) -v hz="$hz" -v f="$FACTOR" \
    'BEGIN { printf "idle_cpu_factor_%d: %.2f %% of one core\n", f, 100 * t / hz / 10 }'
