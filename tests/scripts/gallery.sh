#!/usr/bin/env bash
# The gadget gallery runs headless over the editor's background and a real
# folder, and writes a whole-screen PNG; under the sanitizers this drives
# every gadget kind through drawing and input.
set -uo pipefail
SOURCE=$1
BUILD=$2
GALLERY=$BUILD/tools/gallery
[ -x "$GALLERY" ] || { echo "skipped: $GALLERY not built"; exit 77; }

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/Media"
cp "$BUILD"/Media/* "$WORK/Media/" 2>/dev/null

(cd "$WORK" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 120 "$GALLERY" "$WORK/gallery.png" "$SOURCE")
rc=$?
[ "$rc" -eq 0 ] || { echo "FAIL: gallery exited with $rc"; exit 1; }
[ -s "$WORK/gallery.png" ] || { echo "FAIL: no picture written"; exit 1; }
if [ "$(head -c 8 "$WORK/gallery.png" | od -An -tx1 | tr -d ' \n')" != "89504e470d0a1a0a" ]; then
    echo "FAIL: not a PNG"; exit 1
fi
# 1024 x 768 in the header.
if [ "$(dd if="$WORK/gallery.png" bs=1 skip=16 count=8 2>/dev/null | od -An -tx1 | tr -d ' \n')" != "0000040000000300" ]; then
    echo "FAIL: not a 1024 x 768 picture"; exit 1
fi
echo "gallery written"
