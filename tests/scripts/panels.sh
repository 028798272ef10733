#!/usr/bin/env bash
# The panel pictures: the editor's real screen runs headless through its
# panels and writes one 1024 x 768 PNG per panel, with its own small design
# and with a copy of the generated sample design.
set -uo pipefail
SOURCE=$1
BUILD=$2
PANELS=$BUILD/tools/panels
[ -x "$PANELS" ] || { echo "skipped: $PANELS not built"; exit 77; }
[ -f "$BUILD/Media/BG.png" ] || { echo "skipped: media not generated"; exit 77; }

OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT

for variant in own sample; do
    sample=""
    if [ "$variant" = sample ]; then
        sample=$BUILD/Sample
        [ -f "$sample/Prototypes.pt" ] || { echo "skipped: sample not generated"; continue; }
    fi
    (cd "$SOURCE" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 120 "$PANELS" "$OUT/$variant" "$BUILD/Media" ${sample:+"$sample"})
    rc=$?
    [ "$rc" -eq 0 ] || { echo "FAIL: panels ($variant) exited with $rc"; exit 1; }
    for name in start load design test setup; do
        file=$OUT/$variant/$name.png
        [ -s "$file" ] || { echo "FAIL: no $variant/$name.png"; exit 1; }
        if [ "$(head -c 8 "$file" | od -An -tx1 | tr -d ' \n')" != "89504e470d0a1a0a" ]; then
            echo "FAIL: $name.png is not a PNG"; exit 1
        fi
        if [ "$(dd if="$file" bs=1 skip=16 count=8 2>/dev/null | od -An -tx1 | tr -d ' \n')" != "0000040000000300" ]; then
            echo "FAIL: $name.png is not 1024 x 768"; exit 1
        fi
    done
    # Each panel shows something else.
    if [ "$(md5sum "$OUT/$variant"/*.png | cut -d' ' -f1 | sort -u | wc -l)" -ne 5 ]; then
        echo "FAIL: two $variant panels came out the same"; exit 1
    fi
done
# The sample's test view shows a grown ship, not the small design's.
cmp -s "$OUT/own/test.png" "$OUT/sample/test.png" 2>/dev/null && { echo "FAIL: the sample made no difference"; exit 1; }
echo "panels written"
