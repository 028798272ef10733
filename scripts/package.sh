#!/usr/bin/env bash
# Builds the Debian package from a release build, unpacks it into a scratch
# root and checks it: the installed files, the desktop entry
# (desktop-file-validate) and the AppStream metadata (appstreamcli).
# Usage: scripts/package.sh [BUILD_DIR]   (default build-release); the .deb stays there.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
BUILD=${1:-build-release}
export CCACHE_BASEDIR=$PWD
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DKEELWRIGHT_TESTS=OFF -DKEELWRIGHT_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j"$(nproc)"
(cd "$BUILD" && rm -f keelwright*.deb && cpack -G DEB >/dev/null)
DEB=$(ls "$BUILD"/keelwright_*.deb)

ROOT=$(mktemp -d)
trap 'rm -rf "$ROOT"' EXIT
dpkg -x "$DEB" "$ROOT"
fail=0
for f in usr/bin/keelwright usr/libexec/keelwright/keelwright usr/share/keelwright/Media/BG.png \
         usr/share/keelwright/Sample/Prototypes.pt usr/share/applications/keelwright.desktop \
         usr/share/icons/hicolor/128x128/apps/keelwright.png \
         usr/share/metainfo/io.github.keelwright.Keelwright.metainfo.xml; do
    [ -e "$ROOT/$f" ] || { echo "package lacks $f"; fail=1; }
done
# Nothing of the build machine's paths, and nothing for developers.
if grep -rl "$PWD" "$ROOT/usr/share/applications" "$ROOT/usr/bin" >/dev/null 2>&1; then
    echo "package names the build folder"; fail=1
fi
if find "$ROOT" -name '*.h' -o -name '*.a' | grep -q .; then echo "package holds headers or libraries"; fail=1; fi
grep -qx 'Exec=/usr/bin/keelwright' "$ROOT/usr/share/applications/keelwright.desktop" ||
    { echo "desktop entry does not start /usr/bin/keelwright"; fail=1; }
grep -q "version=\"$(sed -n 's/^project(Keelwright VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)\"" \
    "$ROOT/usr/share/metainfo/io.github.keelwright.Keelwright.metainfo.xml" || { echo "metadata lacks the release"; fail=1; }
desktop-file-validate "$ROOT/usr/share/applications/keelwright.desktop" || fail=1
appstreamcli validate --no-net "$ROOT/usr/share/metainfo/io.github.keelwright.Keelwright.metainfo.xml" || fail=1
dpkg-deb --info "$DEB" | sed -n 's/^ \(Package\|Version\|Depends\):/\1:/p'
[ "$fail" -eq 0 ] && echo "ok: $DEB"
exit "$fail"
