#!/usr/bin/env bash
# cmake --install into a temporary prefix, then the installed launcher as a
# user starts it: it makes the user's workspace (XDG data folder) with the
# media and the sample design, the editor's window appears under Xvfb, and
# a second start keeps what the user changed. Skipped (77) without Xvfb.
set -uo pipefail
SOURCE=$1
BUILD=$2
[ -x "$BUILD/app/keelwright" ] && [ -e "$BUILD/Sample/Prototypes.pt" ] ||
    { echo "skipped: editor or sample not built"; exit 77; }
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "skipped: no Xvfb/xdotool"; exit 77; }

TMP=$(mktemp -d)
XPID="" EPID="" KILLED=0
# The installed editor ends on SIGTERM like any desktop program; one that
# stays is killed and the test fails.
stop_editor() {
    [ -n "$EPID" ] || return 0
    kill -TERM "$EPID" 2>/dev/null
    for _ in $(seq 50); do kill -0 "$EPID" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$EPID" 2>/dev/null && KILLED=1 && kill -KILL "$EPID" 2>/dev/null
    wait "$EPID" 2>/dev/null
    EPID=""
}
cleanup() {
    stop_editor
    [ -n "$XPID" ] && kill "$XPID" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$TMP"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

PREFIX=$TMP/prefix
cmake --install "$BUILD" --prefix "$PREFIX" >"$TMP/install.log" 2>&1 || { cat "$TMP/install.log"; fail "install"; }
for f in bin/keelwright libexec/keelwright/keelwright share/keelwright/Media/BG.png \
         share/keelwright/Sample/Prototypes.pt share/keelwright/Sample/HullHeavy.png.spset \
         share/applications/keelwright.desktop share/icons/hicolor/128x128/apps/keelwright.png; do
    [ -e "$PREFIX/$f" ] || fail "not installed: $f"
done
[ -x "$PREFIX/bin/keelwright" ] || fail "launcher not executable"
grep -qx "Exec=$PREFIX/bin/keelwright" "$PREFIX/share/applications/keelwright.desktop" || fail "desktop Exec line"
grep -qx "Icon=keelwright" "$PREFIX/share/applications/keelwright.desktop" || fail "desktop Icon line"

export ASAN_OPTIONS=detect_leaks=0 SDL_AUDIODRIVER=dummy
unset SDL_VIDEODRIVER
# Arguments go to the editor as they are, and no workspace is made for them.
HOME=$TMP/home XDG_DATA_HOME=$TMP/data "$PREFIX/bin/keelwright" --version | grep -q '^keelwright ' || fail "--version"
[ ! -e "$TMP/data" ] || fail "--version made a workspace"

# A first start on a full disk leaves nothing half made: no folder aside,
# no cut medium; and a first start follows the user's umask.
if [ "$(id -u)" -eq 0 ] && mkdir "$TMP/full" && mount -t tmpfs -o size=64k tmpfs "$TMP/full" 2>/dev/null; then
    mkdir "$TMP/full/.keelwright-new.stale" && touch -d '2 hours ago' "$TMP/full/.keelwright-new.stale"
    HOME=$TMP/home XDG_DATA_HOME=$TMP/full timeout 10 env -u DISPLAY "$PREFIX/bin/keelwright" >/dev/null 2>&1
    left=$(find "$TMP/full" -name '.keelwright-new.*')
    for medium in "$TMP"/full/keelwright/Media/*; do
        [ -e "$medium" ] || continue
        cmp -s "$medium" "$PREFIX/share/keelwright/Media/${medium##*/}" || left="$left cut:$medium"
    done
    umount "$TMP/full"
    [ -z "$left" ] || fail "a start on a full disk left $left"
else
    echo "note: the full-disk start is checked as root only (needs a tmpfs mount)"
fi
(umask 077 && HOME=$TMP/home XDG_DATA_HOME=$TMP/private timeout 10 env -u DISPLAY "$PREFIX/bin/keelwright" >/dev/null 2>&1)
[ "$(stat -c %a "$TMP/private/keelwright")" = 700 ] || fail "the workspace ignored the umask"

for n in $(seq 141 190); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { DISP=":$n"; break; }
done
[ -n "${DISP:-}" ] || { echo "skipped: no free display"; exit 77; }
Xvfb "$DISP" -screen 0 1024x768x24 -nolisten tcp >"$TMP/xvfb.log" 2>&1 &
XPID=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${DISP#:}" ] && break; sleep 0.1; done
[ -e "/tmp/.X11-unix/X${DISP#:}" ] || { echo "skipped: Xvfb did not start"; exit 77; }
export DISPLAY=$DISP

# Starts the installed launcher with the given environment and waits for the window.
start() {
    env "$@" "$PREFIX/bin/keelwright" >"$TMP/out" 2>"$TMP/err" &
    EPID=$!
    timeout 20 xdotool search --sync --pid "$EPID" >"$TMP/window" 2>/dev/null ||
        { cat "$TMP/err"; fail "no window ($*)"; }
    xdotool getwindowgeometry "$(head -n 1 "$TMP/window")" | grep -q 'Geometry: 1024x768' || fail "window size"
    kill -0 "$EPID" 2>/dev/null || fail "the editor ended by itself"
}

WORK=$TMP/data/keelwright
start HOME="$TMP/home" XDG_DATA_HOME="$TMP/data"
for f in Media/BG.png Media/Button.wav Designs/1/Prototypes.pt Designs/1/HullHeavy.png Designs/1/HullHeavy.png.spset; do
    [ -e "$WORK/$f" ] || fail "workspace lacks $f"
done
cmp -s "$WORK/Designs/1/Prototypes.pt" "$BUILD/Sample/Prototypes.pt" || fail "sample differs"
[ -d "$WORK/ShipPics" ] || fail "the editor did not start in the workspace"
stop_editor

# The user's changes survive the next start; a lost medium comes back.
echo "mine" >"$WORK/Designs/1/Prototypes.pt"
rm "$WORK/Designs/1/GunLaser.png" "$WORK/Media/Mouse.png"
echo "my background" >"$WORK/Media/BG.png"
start HOME="$TMP/home" XDG_DATA_HOME="$TMP/data"
[ "$(cat "$WORK/Designs/1/Prototypes.pt")" = "mine" ] || fail "the user's prototypes were overwritten"
[ ! -e "$WORK/Designs/1/GunLaser.png" ] || fail "a removed part came back"
[ "$(cat "$WORK/Media/BG.png")" = "my background" ] || fail "the user's background was overwritten"
[ -e "$WORK/Media/Mouse.png" ] || fail "a missing medium was not added"
stop_editor

# Without a usable XDG_DATA_HOME (unset or relative) the workspace is in ~/.local/share.
start HOME="$TMP/home" XDG_DATA_HOME="relative/path"
[ -e "$TMP/home/.local/share/keelwright/Designs/1/Prototypes.pt" ] || fail "no workspace under HOME"
[ ! -e "relative" ] || fail "a relative XDG_DATA_HOME was used"
stop_editor
stop_editor

# A folder the user names gets nothing copied into it: the installed media are
# used, and stderr says so.
mkdir "$TMP/mine"
env HOME="$TMP/home" "$PREFIX/bin/keelwright" "$TMP/mine" >"$TMP/out" 2>"$TMP/err" &
EPID=$!
timeout 20 xdotool search --sync --pid "$EPID" >/dev/null 2>&1 || { cat "$TMP/err"; fail "no window (own folder)"; }
# The media are loaded just after the window opens: the line may follow it a moment later.
for _ in $(seq 50); do [ -s "$TMP/err" ] && break; sleep 0.1; done
grep -qx "keelwright: no Media folder in $TMP/mine/; using $PREFIX/share/keelwright/Media/" "$TMP/err" ||
    { cat "$TMP/err"; fail "the media used are not named"; }
[ ! -e "$TMP/mine/Media" ] || fail "media were copied into the user's folder"
stop_editor
[ "$KILLED" -eq 0 ] || fail "the editor stayed after SIGTERM and had to be killed"
echo "ok"
exit 0
