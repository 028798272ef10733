#!/usr/bin/env bash
# The Windows release: cross-builds Keelwright for 64-bit Windows with
# Debian's MinGW-w64 and packs keelwright-VERSION-win64.zip.
#   scripts/windows.sh          build the libraries (once), Keelwright, the zip
#   scripts/windows.sh --test   the same, then the tests under Wine (headless,
#                               and the editor in Xvfb)
# The libraries are built from Debian's own source packages (apt-get source,
# through a sources list of this script's own) into build-win/deps, once: a
# second run builds only Keelwright.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
WIN=$ROOT/build-win
DEPS=$WIN/deps
SRC=$WIN/src
BUILD=$WIN/keelwright
JOBS=2
TEST=0
case ${1-} in
    --test) TEST=1 ;;
    "") ;;
    *) echo "usage: scripts/windows.sh [--test]" >&2; exit 2 ;;
esac
say() { echo "windows: $*" >&2; }
STARTED=$(date +%s)

# ------------------------------------------------------------------ tools
PACKAGES=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools
          wine64 zip dpkg-dev cmake ninja-build pkg-config xvfb xdotool
          fonts-dejavu-core)
missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    say "installing ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
TOOLCHAIN=$ROOT/cmake/mingw-w64-x86_64.cmake
export KEELWRIGHT_WIN_DEPS=$DEPS

# ------------------------------------------------------------------ sources
# Debian's source archive through a private apt setup: the machine's own
# sources and lists stay as they are.
APT_DIR=$WIN/apt
mkdir -p "$APT_DIR/lists/partial" "$SRC" "$DEPS"
cat > "$APT_DIR/sources.sources" <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
APT_OPTIONS=(-o "Dir::Etc::SourceList=$APT_DIR/sources.sources" -o Dir::Etc::SourceParts=/dev/null
             -o "Dir::State::Lists=$APT_DIR/lists" -o "Dir::Cache=$APT_DIR/cache"
             -o APT::Sandbox::User=root)
APT_UPDATED=0

# The unpacked source tree of a Debian source package (Debian's patches
# applied), fetched on first use; prints its folder.
source_tree() {
    local package=$1 tree
    tree=$(find "$SRC" -mindepth 1 -maxdepth 1 -type d -name "$package-[0-9]*" | head -n 1)
    if [ -z "$tree" ]; then
        if [ $APT_UPDATED -eq 0 ]; then
            mkdir -p "$APT_DIR/cache/archives/partial"
            apt-get "${APT_OPTIONS[@]}" update -qq >&2
            APT_UPDATED=1
        fi
        # The newest version whose files the archive serves: a mirror may
        # list a security update it does not carry.
        local version fetched=0
        for version in $(apt-cache "${APT_OPTIONS[@]}" showsrc "$package" | awk '/^Version:/ {print $2}' | sort -u -r -V); do
            if (cd "$SRC" && apt-get "${APT_OPTIONS[@]}" source -qq "$package=$version" >/dev/null 2>&1); then
                fetched=1
                break
            fi
            say "$package $version is not in the archive; trying an older one"
        done
        [ $fetched -eq 1 ] || { say "cannot fetch the source of $package"; exit 1; }
        tree=$(find "$SRC" -mindepth 1 -maxdepth 1 -type d -name "$package-[0-9]*" | head -n 1)
    fi
    [ -n "$tree" ] || { say "no source tree for $package"; exit 1; }
    echo "$tree"
}

# Builds a source package with its own CMake into the deps prefix, once.
# Its Debian copyright file is kept as the licence of what is shipped.
build_with_cmake() {
    local package=$1
    shift
    local stamp=$DEPS/stamps/$package
    [ -e "$stamp" ] && return 0
    local tree
    tree=$(source_tree "$package")
    say "building $package"
    local started=$(date +%s)
    rm -rf "$WIN/dep-build/$package"
    nice -n 10 cmake -S "$tree" -B "$WIN/dep-build/$package" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$DEPS" -DCMAKE_PREFIX_PATH="$DEPS" "$@" >"$WIN/dep-build/$package.log" 2>&1 \
        || { tail -n 30 "$WIN/dep-build/$package.log"; exit 1; }
    nice -n 10 cmake --build "$WIN/dep-build/$package" -j"$JOBS" >>"$WIN/dep-build/$package.log" 2>&1 \
        || { tail -n 30 "$WIN/dep-build/$package.log"; exit 1; }
    cmake --install "$WIN/dep-build/$package" >>"$WIN/dep-build/$package.log" 2>&1 \
        || { tail -n 30 "$WIN/dep-build/$package.log"; exit 1; }
    mkdir -p "$DEPS/licences" "$DEPS/stamps"
    cp "$tree/debian/copyright" "$DEPS/licences/$package.txt"
    echo "$(( $(date +%s) - started )) s" > "$stamp"
}

mkdir -p "$WIN/dep-build"
DEPS_STARTED=$(date +%s)
# Debian's zlib tree leaves out win32/: the DLL gets a stand-in for its version resource.
zlib_tree=$(source_tree zlib)
mkdir -p "$zlib_tree/win32"
printf 'STRINGTABLE\nBEGIN\n  1 "zlib"\nEND\n' > "$zlib_tree/win32/zlib1.rc"
build_with_cmake zlib -DBUILD_SHARED_LIBS=ON -DSKIP_INSTALL_FILES=ON
build_with_cmake libpng1.6 -DPNG_SHARED=ON -DPNG_STATIC=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DZLIB_ROOT="$DEPS" -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON
build_with_cmake freetype -DBUILD_SHARED_LIBS=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BZIP2=ON \
    -DFT_DISABLE_PNG=ON -DFT_DISABLE_BROTLI=ON -DFT_DISABLE_ZLIB=ON
build_with_cmake libsdl2 -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF -DSDL_TESTS=OFF
build_with_cmake libsdl2-ttf -DBUILD_SHARED_LIBS=ON -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=OFF \
    -DSDL2TTF_SAMPLES=OFF
# Sounds are WAV files: every other codec stays out.
build_with_cmake libsdl2-mixer -DBUILD_SHARED_LIBS=ON -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_SAMPLES=OFF \
    -DSDL2MIXER_CMD=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_MP3=OFF \
    -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS=OFF -DSDL2MIXER_WAVE=ON -DSDL2MIXER_WAVPACK=OFF
build_with_cmake googletest -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON -Dgtest_disable_pthreads=OFF
build_with_cmake nlohmann-json3 -DJSON_BuildTests=OFF -DJSON_Install=ON
build_with_cmake cli11 -DCLI11_BUILD_TESTS=OFF -DCLI11_BUILD_EXAMPLES=OFF -DCLI11_BUILD_DOCS=OFF \
    -DCLI11_PRECOMPILED=OFF

# stb has no build of its own: the resizer's implementation is compiled once
# into a static library, with the pkg-config file the services look for.
if [ ! -e "$DEPS/stamps/libstb" ]; then
    tree=$(source_tree libstb)
    say "building libstb"
    mkdir -p "$DEPS/include/stb" "$DEPS/lib/pkgconfig" "$WIN/dep-build/libstb" "$DEPS/licences" "$DEPS/stamps"
    cp "$tree/stb_image_resize.h" "$DEPS/include/stb/"
    printf '#define STB_IMAGE_RESIZE_IMPLEMENTATION\n#include "stb_image_resize.h"\n' > "$WIN/dep-build/libstb/stb.c"
    x86_64-w64-mingw32-gcc-posix -O2 -I"$DEPS/include/stb" -c "$WIN/dep-build/libstb/stb.c" \
        -o "$WIN/dep-build/libstb/stb.o"
    rm -f "$DEPS/lib/libstb.a"
    x86_64-w64-mingw32-ar rcs "$DEPS/lib/libstb.a" "$WIN/dep-build/libstb/stb.o"
    cat > "$DEPS/lib/pkgconfig/stb.pc" <<EOF
prefix=$DEPS
Name: stb
Description: single-file image resizer
Version: 0
Cflags: -I\${prefix}/include/stb
Libs: -L\${prefix}/lib -lstb
EOF
    cp "$tree/debian/copyright" "$DEPS/licences/libstb.txt"
    touch "$DEPS/stamps/libstb"
fi

# The font the release carries in place of fontconfig's choice: Debian's
# fonts-dejavu-core as installed (its source package holds only the font
# editor's files the fonts are made from).
mkdir -p "$DEPS/fonts" "$DEPS/licences"
for face in DejaVuSans DejaVuSans-Bold; do
    cp /usr/share/fonts/truetype/dejavu/$face.ttf "$DEPS/fonts/"
done
cp /usr/share/doc/fonts-dejavu-core/copyright "$DEPS/licences/fonts-dejavu-core.txt"
DEPS_SECONDS=$(( $(date +%s) - DEPS_STARTED ))
say "libraries ready (${DEPS_SECONDS} s)"

# ------------------------------------------------------------------ Keelwright
# Wine runs the tools that make the media and the sample at build time, and
# the tests: its own prefix in build-win, no dialogs, quiet, the libraries'
# and the compiler's DLLs on its search path.
MINGW_RUNTIME=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
PTHREAD_RUNTIME=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)")
windows_path() { echo "Z:$1" | tr '/' '\\'; }
export WINEPREFIX=$WIN/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
export WINEPATH="$(windows_path "$DEPS/bin");$(windows_path "$MINGW_RUNTIME");$(windows_path "$PTHREAD_RUNTIME")"
# Wine reads Unix file names in the locale's character set: UTF-8, so that
# "Schiffe Ärger" stays itself.
export LC_ALL=C.UTF-8
export PKG_CONFIG_LIBDIR=$DEPS/lib/pkgconfig
export CCACHE_BASEDIR=$ROOT
if [ ! -e "$WINEPREFIX/system.reg" ]; then
    say "preparing Wine"
    "$WINE" wineboot --init >/dev/null 2>&1 || true
fi

BUILD_STARTED=$(date +%s)
say "building Keelwright"
nice -n 10 cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_PREFIX_PATH="$DEPS" \
    -DKEELWRIGHT_BENCH=OFF -DKEELWRIGHT_TESTS=ON \
    -DKEELWRIGHT_FONT_DIR="$DEPS/fonts" >"$WIN/keelwright-configure.log" 2>&1 \
    || { tail -n 40 "$WIN/keelwright-configure.log"; exit 1; }
nice -n 10 cmake --build "$BUILD" -j"$JOBS"
BUILD_SECONDS=$(( $(date +%s) - BUILD_STARTED ))

# ------------------------------------------------------------------ the zip
VERSION=$(sed -n 's/^project(Keelwright VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
NAME=keelwright-$VERSION-win64
STAGE=$WIN/package/$NAME
rm -rf "$WIN/package"
mkdir -p "$STAGE/Licences"
cp "$BUILD/app/keelwright.exe" "$STAGE/"
x86_64-w64-mingw32-strip "$STAGE/keelwright.exe"
cp -r "$BUILD/Media" "$STAGE/Media"
cp -r "$BUILD/Sample" "$STAGE/Sample"
cp -r "$BUILD/Fonts" "$STAGE/Fonts"
# Every DLL the program needs, and the ones those need, that are not Windows' own.
copy_dlls() {
    local dll found
    for dll in $(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'); do
        [ -e "$STAGE/$dll" ] && continue
        found=""
        for dir in "$DEPS/bin" "$MINGW_RUNTIME" "$PTHREAD_RUNTIME"; do
            [ -e "$dir/$dll" ] && found=$dir/$dll && break
        done
        [ -n "$found" ] || continue
        cp "$found" "$STAGE/"
        copy_dlls "$STAGE/$dll"
    done
}
copy_dlls "$STAGE/keelwright.exe"
# The licences of everything shipped: each source package's Debian copyright file.
cp "$DEPS"/licences/*.txt "$STAGE/Licences/"
rm -f "$STAGE/Licences/googletest.txt"  # only the tests use it
cp /usr/share/doc/mingw-w64-common/copyright "$STAGE/Licences/mingw-w64-runtime.txt"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$STAGE/Licences/gcc-runtime.txt"
[ -e "$ROOT/LICENSE" ] && cp "$ROOT/LICENSE" "$STAGE/Licences/keelwright.txt"
sed 's/$/\r/' "$ROOT/packaging/windows-readme.txt" > "$STAGE/README.txt"
rm -f "$WIN/$NAME.zip"
(cd "$WIN/package" && zip -q -r -X "$WIN/$NAME.zip" "$NAME")
say "built $WIN/$NAME.zip (libraries ${DEPS_SECONDS} s, Keelwright ${BUILD_SECONDS} s)"
[ $TEST -eq 1 ] || exit 0

# ------------------------------------------------------------------ tests under Wine
TESTS_STARTED=$(date +%s)
failures=0
failed() { say "FAIL: $*"; failures=$((failures + 1)); }

# Cases that cannot pass on Windows are named, with their reasons, in
# tests/windows.cmake; the build writes them out as a filter.
filter=$(cat "$BUILD/tests/posix_only_cases.txt")
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
for test in "$BUILD"/tests/test_*.exe; do
    name=$(basename "$test" .exe)
    say "running $name under Wine"
    if ! (cd "$BUILD/tests" && timeout 1200 "$WINE" "$test" --gtest_filter="-$filter" --gtest_brief=1 \
            >"$WIN/$name.log" 2>&1); then
        tail -n 40 "$WIN/$name.log"
        failed "$name"
    else
        grep -E '^\[  PASSED  \]|SKIPPED \]' "$WIN/$name.log" | head -n 3 >&2 || true
    fi
done
unset SDL_VIDEODRIVER

# The verbs: byte for byte what the Linux build writes, in a workspace whose
# path has spaces and letters beyond ASCII.
# The Linux build is brought up to date with the sources every time.
LINUX=$ROOT/build
say "building Keelwright for Linux to compare with"
"$ROOT/scripts/deps.sh"
# (the machine's own libraries: none of the Windows ones' pkg-config files)
env -u PKG_CONFIG_LIBDIR cmake -S "$ROOT" -B "$LINUX" -DCMAKE_BUILD_TYPE=Release -DKEELWRIGHT_TESTS=OFF \
    -DKEELWRIGHT_BENCH=OFF >"$WIN/linux-build.log" 2>&1 || { tail -n 40 "$WIN/linux-build.log"; exit 1; }
env -u PKG_CONFIG_LIBDIR nice -n 10 cmake --build "$LINUX" -j"$JOBS" >>"$WIN/linux-build.log" 2>&1 \
    || { tail -n 40 "$WIN/linux-build.log"; exit 1; }
PLACE=$WIN/test-run/"Schiffe Ärger"
rm -rf "$WIN/test-run"
mkdir -p "$PLACE/linux/Designs/1" "$PLACE/windows/Designs/1"
cp "$LINUX"/Sample/* "$PLACE/linux/Designs/1/"
cp "$STAGE"/Sample/* "$PLACE/windows/Designs/1/"
diff -r "$LINUX/Sample" "$STAGE/Sample" >/dev/null || failed "the Windows build's sample differs from the Linux build's"
diff -r "$LINUX/Media" "$STAGE/Media" >/dev/null || failed "the Windows build's media differ from the Linux build's"
for side in linux windows; do
    if [ $side = linux ]; then run=("$LINUX/app/keelwright"); else run=("$WINE" "$STAGE/keelwright.exe"); fi
    (cd "$PLACE/$side" && "${run[@]}" check Designs/1 >check.out 2>check.err; echo $? >check.rc)
    (cd "$PLACE/$side" && "${run[@]}" render Designs/1 --count 6 --seed 424242 --size large --jobs 1 --out ships \
        >render.out 2>render.err; echo $? >render.rc)
    (cd "$PLACE/$side" && "${run[@]}" export Designs/1 --out design.json >export.out 2>export.err; echo $? >export.rc)
done
# Windows draws in one process whatever --jobs says: the same files still.
(cd "$PLACE/windows" && "$WINE" "$STAGE/keelwright.exe" render Designs/1 --count 6 --seed 424242 --size large \
    --jobs 2 --out ships-jobs >/dev/null 2>&1) || failed "render --jobs 2 under Wine"
diff -r "$PLACE/linux/ships" "$PLACE/windows/ships-jobs" >/dev/null || failed "render --jobs 2 under Wine wrote other files"
for file in check.out check.rc render.rc export.out export.rc design.json; do
    cmp -s "$PLACE/linux/$file" "$PLACE/windows/$file" || failed "$file differs from the Linux build's"
done
# render names the files it wrote with the system's separator.
cmp -s "$PLACE/linux/render.out" <(tr '\\' '/' <"$PLACE/windows/render.out") \
    || failed "render.out differs from the Linux build's"
[ "$(cat "$PLACE/windows/render.rc")" = 0 ] || { cat "$PLACE/windows/render.err"; failed "render under Wine"; }
[ "$(ls "$PLACE/windows/ships" 2>/dev/null | wc -l)" -gt 6 ] || failed "render under Wine wrote too little"
diff -r "$PLACE/linux/ships" "$PLACE/windows/ships" >/dev/null || failed "rendered ships differ from the Linux build's"
say "verbs compared: $(ls "$PLACE/windows/ships" | wc -l) pictures"

# The editor in a window (Wine on Xvfb :88): it appears, a click on "New"
# makes Designs/1, Quit ends it with 0.
XVFB_PID=""
EDITOR_PID=""
stop_window() {
    if [ -n "$EDITOR_PID" ]; then kill "$EDITOR_PID" 2>/dev/null || true; fi
    if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; fi
    wait 2>/dev/null || true
}
trap stop_window EXIT
export DISPLAY=:88
if [ ! -e /tmp/.X11-unix/X88 ]; then
    Xvfb :88 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 50); do [ -e /tmp/.X11-unix/X88 ] && break; sleep 0.1; done
fi
EDITOR_WORK=$PLACE/editor
mkdir -p "$EDITOR_WORK"
# Wine's desktop belongs to its session, and the headless runs above started
# that session without a display: the editor gets a fresh one.
"$WINESERVER" -k 2>/dev/null || true
"$WINESERVER" -w 2>/dev/null || true
(cd "$PLACE" && SDL_AUDIODRIVER=dummy exec "$WINE" "$STAGE/keelwright.exe" --scale 1 editor \
    >"$PLACE/editor.out" 2>"$PLACE/editor.err") &
EDITOR_PID=$!
WINDOW=$(timeout 60 xdotool search --sync --onlyvisible --name '^Keelwright' 2>/dev/null | head -n 1 || true)
if [ -z "$WINDOW" ]; then
    failed "no editor window"; cat "$PLACE/editor.err" >&2
else
    sleep 1
    click() { xdotool mousemove --window "$WINDOW" "$1" "$2"; sleep 0.2; xdotool click 1; sleep 0.3; }
    click 50 54   # "New"
    for _ in $(seq 100); do [ -d "$EDITOR_WORK/Designs/1" ] && break; sleep 0.1; done
    [ -d "$EDITOR_WORK/Designs/1" ] || failed "the click on New made no Designs/1"
    click 945 742   # "Quit"
    # Unsaved prototypes make the first click only a warning.
    for _ in $(seq 30); do kill -0 "$EDITOR_PID" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$EDITOR_PID" 2>/dev/null && click 945 742
    for _ in $(seq 100); do kill -0 "$EDITOR_PID" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$EDITOR_PID" 2>/dev/null; then
        failed "still running 10 s after Quit"
    else
        wait "$EDITOR_PID" && rc=0 || rc=$?
        EDITOR_PID=""
        [ "$rc" -eq 0 ] || { cat "$PLACE/editor.err" >&2; failed "Quit ended the editor with $rc"; }
    fi
fi
stop_window
trap - EXIT

TEST_SECONDS=$(( $(date +%s) - TESTS_STARTED ))
say "tests under Wine took ${TEST_SECONDS} s; whole run $(( $(date +%s) - STARTED )) s"
if [ $failures -ne 0 ]; then
    say "$failures failed"
    exit 1
fi
say "all passed"
