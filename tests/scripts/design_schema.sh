#!/usr/bin/env bash
# The JSON Schema in docs/ against what export writes: the sample's export
# and a generated design's are valid, spoilt copies are not; and export then
# import from a shell gives back the sample's own files.
set -u
SOURCE=$(cd "${1:?source directory}" && pwd)
BUILD=$(cd "${2:?build directory}" && pwd)
BIN=$BUILD/app/keelwright
SAMPLE=$BUILD/Sample
SCHEMA=$SOURCE/docs/design.schema.json
[ -x "$BIN" ] || { echo "skipped: $BIN not built"; exit 77; }
[ -f "$SAMPLE/Prototypes.pt" ] || { echo "skipped: no sample design in $SAMPLE"; exit 77; }
python3 -c 'import jsonschema' 2>/dev/null || { echo "skipped: python3-jsonschema is not installed"; exit 77; }
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
export ASAN_OPTIONS=detect_leaks=0
unset DISPLAY WAYLAND_DISPLAY
fail=0

"$BIN" export "$SAMPLE" --out "$TMP/sample.json" || { echo "FAIL: export of the sample exited $?"; exit 1; }
mkdir "$TMP/back"
"$BIN" import "$TMP/sample.json" "$TMP/back" >/dev/null || { echo "FAIL: import of the sample exited $?"; fail=1; }
for file in "$SAMPLE"/Prototypes.pt "$SAMPLE"/*.spset; do
    cmp -s "$file" "$TMP/back/$(basename "$file")" || { echo "FAIL: $(basename "$file") differs after the round trip"; fail=1; }
done

python3 - "$SCHEMA" "$TMP/sample.json" <<'PY' || fail=1
import copy, json, sys
import jsonschema

schema = json.load(open(sys.argv[1]))
jsonschema.Draft202012Validator.check_schema(schema)
validator = jsonschema.Draft202012Validator(schema)
sample = json.load(open(sys.argv[2]))
errors = [e.message for e in validator.iter_errors(sample)]
if errors:
    print("FAIL: the sample's export breaks the schema:", errors[:5])
    sys.exit(1)
if not sample["prototypes"] or not sample["parts"]:
    print("FAIL: the sample's export is empty")
    sys.exit(1)

# Each spoilt copy must be refused, or the schema says too little.
def spoil(change):
    document = copy.deepcopy(sample)
    change(document)
    return document

spoilt = {
    "no parts": spoil(lambda d: d.pop("parts")),
    "an unknown field": spoil(lambda d: d.update(extra=1)),
    "seven connections": spoil(lambda d: d["prototypes"][0]["connections"].pop()),
    "an allowed index of 24": spoil(lambda d: d["prototypes"][0]["connections"][0]["allows"].append({"index": 24})),
    "a name as a number": spoil(lambda d: d["prototypes"][0].update(name=5)),
    "odd hex digits": spoil(lambda d: d["prototypes"][0].update(name={"hex": "abc"})),
    "a point past 32 bits": spoil(lambda d: d["parts"][0]["offset"].update(x=2**31)),
    "a point with a third value": spoil(lambda d: d["parts"][0]["offset"].update(extra=1)),
    "a fractional point": spoil(lambda d: d["parts"][0]["connections"][0].update(y=0.5)),
    "an active flag as a number": spoil(lambda d: d["prototypes"][0]["connections"][0].update(active=1)),
    "short reserved bytes": spoil(lambda d: d["prototypes"][0].update(reserved="00")),
}
for what, document in spoilt.items():
    if validator.is_valid(document):
        print("FAIL: the schema accepts", what)
        sys.exit(1)
PY

[ "$fail" -eq 0 ] && echo "design schema: all good"
exit "$fail"
