#!/usr/bin/env bash
# The design library as a game uses it: "cmake --install" of its component
# into a temporary prefix, the example built by a project of its own through
# find_package(Keelwright), and again by hand through pkg-config; both read
# the sample design and print the same.
set -uo pipefail
SOURCE=$1
BUILD=$2
[ -e "$BUILD/Sample/Prototypes.pt" ] || { echo "skipped: sample not built"; exit 77; }
command -v pkg-config >/dev/null || { echo "skipped: no pkg-config"; exit 77; }

TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
# The sanitizers' runtime comes with a sanitized build's library; its leak check needs no ptrace here.
export ASAN_OPTIONS=detect_leaks=0

PREFIX=$TMP/prefix
cmake --install "$BUILD" --prefix "$PREFIX" --component format >"$TMP/install.log" 2>&1 ||
    { cat "$TMP/install.log"; fail "install"; }
for f in include/keelwright/design_folder.h include/keelwright/design_records.h include/keelwright/prototype_bytes.h \
         include/keelwright/part_setup_bytes.h include/keelwright/design_findings.h; do
    [ -e "$PREFIX/$f" ] || fail "not installed: $f"
done
[ -e "$PREFIX/include/keelwright/byte_reader.h" ] && fail "a private header was installed"
LIB=$(find "$PREFIX" -name libkeelwright-format.a | head -1)
PC=$(find "$PREFIX" -name keelwright-format.pc | head -1)
CONFIG=$(find "$PREFIX" -name KeelwrightConfig.cmake | head -1)
[ -n "$LIB" ] && [ -n "$PC" ] && [ -n "$CONFIG" ] || fail "library, pkg-config file or CMake package missing"
[ -e "$PREFIX/bin/keelwright" ] && fail "the format component installed the editor"

# A separate CMake project, as a game's build would be.
cmake -S "$SOURCE/examples" -B "$TMP/example" -DCMAKE_PREFIX_PATH="$PREFIX" -DCMAKE_BUILD_TYPE=Release \
    >"$TMP/configure.log" 2>&1 || { cat "$TMP/configure.log"; fail "configure the example"; }
cmake --build "$TMP/example" >"$TMP/build.log" 2>&1 || { cat "$TMP/build.log"; fail "build the example"; }
"$TMP/example/load_design" "$BUILD/Sample" >"$TMP/cmake.out" 2>&1 || { cat "$TMP/cmake.out"; fail "run the example"; }
cat "$TMP/cmake.out"
grep -Eq '^[1-9][0-9]* prototypes$' "$TMP/cmake.out" || fail "no prototypes printed"
grep -Eq '^[1-9][0-9]* parts$' "$TMP/cmake.out" || fail "no parts printed"
grep -q "HullHeavy.png: Hull, offset (0, 0), connection 1 at (0, 30)" "$TMP/cmake.out" || fail "the sample's HullHeavy part is not listed as set up"

# By hand with pkg-config; the prefix may have moved since installing.
mv "$PREFIX" "$TMP/moved"
export PKG_CONFIG_PATH=$(dirname "${PC/$PREFIX/$TMP/moved}")
FLAGS=$(pkg-config --cflags --libs keelwright-format) || fail "pkg-config"
c++ -std=c++20 "$SOURCE/examples/load_design.cpp" -o "$TMP/by_hand" $FLAGS >"$TMP/cc.log" 2>&1 ||
    { cat "$TMP/cc.log"; fail "compile with pkg-config"; }
"$TMP/by_hand" "$BUILD/Sample" >"$TMP/pc.out" 2>&1 || fail "run the pkg-config build"
cmp -s "$TMP/cmake.out" "$TMP/pc.out" || fail "the two builds print differently"

# A folder that is none says so and fails.
"$TMP/by_hand" "$TMP/nothing" >"$TMP/none.out" 2>&1 && fail "a missing folder succeeded"
grep -q 'no such folder' "$TMP/none.out" || fail "no reason for a missing folder"
echo "ok"
