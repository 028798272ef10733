#!/usr/bin/env bash
# ./run as a user calls it, in a copy of the checkout whose build steps and
# program are stand-ins: options and verbs reach the program as they are, from
# the caller's folder, and only a folder argument becomes a workspace, into
# which nothing is copied.
set -u
SOURCE=$1
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
CO=$TMP/checkout
mkdir -p "$CO/scripts" "$CO/build/app" "$CO/build/Media" "$CO/build/Sample" "$TMP/bin" "$TMP/caller"
cp "$SOURCE/run" "$CO/run"
printf '#!/bin/sh\n' >"$CO/scripts/deps.sh"
printf '#!/bin/sh\n' >"$TMP/bin/cmake"
# The program says where it ran and with what.
printf '#!/bin/sh\npwd >"%s/ran"\nprintf "%%s\\n" "$@" >>"%s/ran"\n' "$TMP" "$TMP" >"$CO/build/app/keelwright"
chmod +x "$CO/scripts/deps.sh" "$TMP/bin/cmake" "$CO/build/app/keelwright"
touch "$CO/build/Media/BG.png" "$CO/build/Sample/Prototypes.pt"
export PATH=$TMP/bin:$PATH
fail=0
# ran ARGS... -- EXPECTED-LINES...: ./run ARGS from the caller's folder gave the program these lines.
ran() {
    local args=() want
    while [ "$1" != -- ]; do args+=("$1"); shift; done
    shift
    rm -f "$TMP/ran"
    (cd "$TMP/caller" && "$CO/run" "${args[@]}" >/dev/null 2>&1)
    want=$(printf '%s\n' "$@")
    [ "$(cat "$TMP/ran" 2>/dev/null)" = "$want" ] ||
        { echo "FAIL: ./run ${args[*]} ran:"; cat "$TMP/ran" 2>/dev/null; echo "not:"; echo "$want"; fail=1; }
}
ran --help -- "$TMP/caller" --help
ran --version -- "$TMP/caller" --version
ran check Designs/1 --json -- "$TMP/caller" check Designs/1 --json
ran render Designs/1 --count 1 -- "$TMP/caller" render Designs/1 --count 1
for stray in --help --version check render Designs; do
    for dir in "$CO" "$TMP/caller"; do
        [ ! -e "$dir/$stray" ] || { echo "FAIL: $dir/$stray was made"; fail=1; }
    done
done
[ ! -e "$CO/workspace" ] || { echo "FAIL: a verb made the workspace"; fail=1; }

mkdir "$TMP/caller/mine"
ran mine -- "$CO" -- "$TMP/caller/mine"
[ -z "$(ls -A "$TMP/caller/mine")" ] || { echo "FAIL: files were put into the user's folder:"; ls -R "$TMP/caller/mine"; fail=1; }
ran -- "$CO" -- "$CO/workspace"
[ -e "$CO/workspace/Designs/1/Prototypes.pt" ] || { echo "FAIL: the default workspace has no sample"; fail=1; }
# Media the workspace lacks are added; the ones it has stay the user's.
echo mine >"$CO/workspace/Media/BG.png"
touch "$CO/build/Media/Mouse.png"
ran -- "$CO" -- "$CO/workspace"
[ "$(cat "$CO/workspace/Media/BG.png")" = mine ] || { echo "FAIL: the workspace's own medium was overwritten"; fail=1; }
[ -e "$CO/workspace/Media/Mouse.png" ] || { echo "FAIL: a missing medium was not added"; fail=1; }
exit $fail
