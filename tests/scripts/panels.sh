#!/usr/bin/env bash
# The panel pictures: the editor's real screen runs headless through its
# panels and writes one 1024 x 768 PNG per panel.
set -uo pipefail
SOURCE=$1
BUILD=$2
PANELS=$BUILD/tools/panels
[ -x "$PANELS" ] || { echo "skipped: $PANELS not built"; exit 77; }
[ -f "$BUILD/Media/BG.png" ] || { echo "skipped: media not generated"; exit 77; }

OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT

(cd "$SOURCE" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 120 "$PANELS" "$OUT" "$BUILD/Media")
rc=$?
[ "$rc" -eq 0 ] || { echo "FAIL: panels exited with $rc"; exit 1; }
for name in start load design test setup; do
    file=$OUT/$name.png
    [ -s "$file" ] || { echo "FAIL: no $name.png"; exit 1; }
    if [ "$(head -c 8 "$file" | od -An -tx1 | tr -d ' \n')" != "89504e470d0a1a0a" ]; then
        echo "FAIL: $name.png is not a PNG"; exit 1
    fi
    if [ "$(dd if="$file" bs=1 skip=16 count=8 2>/dev/null | od -An -tx1 | tr -d ' \n')" != "0000040000000300" ]; then
        echo "FAIL: $name.png is not 1024 x 768"; exit 1
    fi
done
# Each panel shows something else.
if [ "$(md5sum "$OUT"/*.png | cut -d' ' -f1 | sort -u | wc -l)" -ne 5 ]; then
    echo "FAIL: two panels came out the same"; exit 1
fi
echo "panels written"
