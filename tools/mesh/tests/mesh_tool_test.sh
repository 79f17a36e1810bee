#!/usr/bin/env bash
# The mesh tool round trip: an OBJ with a picture becomes a frame file whose
# info matches the mesh; decoding it gives a PLY the tool reads back.
#   mesh_tool_test.sh TOOL
set -u
tool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cat > "$work/quad.obj" <<'OBJ'
v 0 0 0
v 1000 0 0
v 1000 1000 0
v 0 1000 0
vt 0 0
vt 1 0
vt 1 1
vt 0 1
f 1/1 2/2 3/3 4/4
OBJ
printf 'not really a picture, but bytes the frame carries' > "$work/pic.jpg"

"$tool" encode "$work/quad.obj" "$work/pic.jpg" "$work/quad.cor" >/dev/null || fail "encode"
json=$("$tool" info "$work/quad.cor" --json) || fail "info"
echo "$json" | grep -q '"vertices": 4, "faces": 2' || fail "counts: $json"
echo "$json" | grep -q '"uv_sum": \[2, 2\]' || fail "uvs: $json"
echo "$json" | grep -q '"picture_bytes": 49' || fail "picture: $json"

"$tool" decode "$work/quad.cor" "$work/back.ply" || fail "decode"
back=$("$tool" info "$work/back.ply" --json) || fail "info of the decoded PLY"
echo "$back" | grep -q '"vertices": 4, "faces": 2' || fail "decoded counts: $back"

# Damaged input: one line, status 1, no crash.
head -c 30 "$work/quad.cor" > "$work/cut.cor"
"$tool" info "$work/cut.cor" 2>"$work/err"; status=$?
[ $status -eq 1 ] || fail "truncated file gave status $status"
[ "$(wc -l < "$work/err")" -eq 1 ] || fail "truncated file: $(cat "$work/err")"
"$tool" 2>/dev/null; [ $? -eq 2 ] || fail "usage status"
echo "mesh tool: 1 passed, 0 failed"
