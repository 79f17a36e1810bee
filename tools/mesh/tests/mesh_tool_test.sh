#!/usr/bin/env bash
# The mesh tool round trip: an OBJ with a picture becomes a frame file whose
# info matches the mesh; decoding it gives a PLY the tool reads back. Then the
# command line: options in any position, help, usage mistakes.
#   mesh_tool_test.sh TOOL
set -u
tool=$(realpath "$1")
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

# Options anywhere after the command, or before it; "--" ends them.
for args in "info --json $work/quad.cor" "--json info $work/quad.cor"; do
  other=$("$tool" $args) || fail "$args"
  [ "$other" = "$json" ] || fail "$args gave $other"
done
cp "$work/quad.cor" "$work/-dash.cor"
dashed=$(cd "$work" && "$tool" info --json -- -dash.cor) || fail "-- before a dashed name"
[ "$dashed" = "$json" ] || fail "-- before a dashed name gave $dashed"

# Help on standard output with status 0; mistakes on standard error with status 2.
for args in "--help" "-h" "info --help" "decode a b --help"; do
  "$tool" $args >"$work/out" 2>"$work/err"; status=$?
  [ $status -eq 0 ] || fail "$args gave status $status"
  grep -q '^usage: torvanel-mesh info' "$work/out" || fail "$args: no usage on standard output"
  [ ! -s "$work/err" ] || fail "$args wrote to standard error: $(cat "$work/err")"
done
for args in "" "info" "info a b" "--json" "info $work/quad.cor --yaml" "encode --json a b c" "decode a" "mirror a"; do
  "$tool" $args >"$work/out" 2>"$work/err"; status=$?
  [ $status -eq 2 ] || fail "'$args' gave status $status"
  grep -q '^usage: torvanel-mesh' "$work/err" || fail "'$args': no usage on standard error"
  [ ! -s "$work/out" ] || fail "'$args' wrote to standard output"
done
echo "mesh tool: 1 passed, 0 failed"
