#!/usr/bin/env bash
# The trace tool headless (no DISPLAY): JSON Lines on standard output only,
# a header per time, the same trace for a time whatever ran before it, only a
# header past the end, frames as PNG in a folder it makes, nothing on
# standard error unless asked, and usage, folder and data errors.
set -euo pipefail
tool=$(realpath "$1")
out=$(realpath -m "$2")
rm -rf "$out"
mkdir -p "$out"

env -u DISPLAY "$tool" --png "$out/png" 30 150 30 --scene 9 --scene 143.5 --flag 1 --scene 290 \
  >"$out/trace.jsonl" 2>"$out/log.txt"

python3 - "$out" <<'PY'
import json, sys, os
out = sys.argv[1]
lines = [json.loads(l) for l in open(os.path.join(out, "trace.jsonl"))]
frames = []
for line in lines:
    if "raw" in line:
        frames.append((line, []))
    else:
        frames[-1][1].append(line)
assert len(frames) == 6, len(frames)
heads = [f[0] for f in frames]
assert heads[0]["raw"] == 30 and abs(heads[0]["scene"] - 27.0163) < 1e-3 and heads[0]["flag"] == 0, heads[0]
assert heads[1]["flag"] == 1 and abs(heads[1]["scene"] - 143.1) < 0.05, heads[1]
assert heads[3]["scene"] == 9 and heads[4]["flag"] == 1, heads[3:5]
assert frames[0][1] == frames[2][1], "the trace at 30 s changed after drawing 150 s"
assert frames[0][1], "nothing drawn at 30 s"
assert frames[5][1] == [] and heads[5]["scene"] == 290, "past the end only the header"
for call in frames[0][1]:
    assert set(call) == {"group", "kind", "name", "ot", "mode", "color", "mv", "extra"}, call
    assert len(call["mv"]) == 16 and len(call["color"]) == 4
    assert 1 <= call["group"] <= 62
groups = [c["group"] for c in frames[0][1]]
assert groups == sorted(groups), "calls out of table order"
for name in ["frame_30.000.png", "frame_150.000.png", "frame_scene_9.000.png", "frame_scene_143.500.png"]:
    path = os.path.join(out, "png", name)
    assert os.path.getsize(path) > 10000, path
assert not os.path.exists(os.path.join(out, "png", "frame_scene_290.000.png"))
print("trace ok:", sum(len(f[1]) for f in frames), "calls")
PY
[ ! -s "$out/log.txt" ] || { echo "standard error not quiet:"; head "$out/log.txt"; exit 1; }

# A --png path that is a file: status 2, one line, before loading anything.
touch "$out/plain"
set +e
env -u DISPLAY "$tool" --png "$out/plain/png" 30 >"$out/bad.out" 2>"$out/bad.err"
status=$?
set -e
[ "$status" -eq 2 ] && grep -q "is not a folder" "$out/bad.err" && [ "$(wc -l <"$out/bad.err")" -eq 1 ] ||
  { echo "a file as --png folder gave status $status:"; cat "$out/bad.err"; exit 1; }

# Started away from the data: one line naming where it looked, status 1,
# nothing on standard output and no frame written.
mkdir -p "$out/elsewhere"
set +e
(cd "$out/elsewhere" && env -u DISPLAY -u TORVANEL_DATA "$tool" --png frames 30 >"$out/none.out" 2>"$out/none.err")
status=$?
set -e
[ "$status" -eq 1 ] && grep -q "cannot find the show's data (no Resources/ folder) in $(realpath "$out/elsewhere")" \
  "$out/none.err" && [ ! -s "$out/none.out" ] && [ ! -e "$out/elsewhere/frames/frame_30.000.png" ] ||
  { echo "no data gave status $status:"; cat "$out/none.err"; exit 1; }

# Usage errors: status 2 and a line on standard error, nothing on standard output.
for args in "" "--size 12" "--scene" "soon"; do
  set +e
  env -u DISPLAY "$tool" $args >"$out/usage.out" 2>"$out/usage.err"
  status=$?
  set -e
  [ "$status" -eq 2 ] || { echo "'$args' gave status $status"; exit 1; }
  [ ! -s "$out/usage.out" ] || { echo "'$args' wrote to standard output"; exit 1; }
done
"$tool" --help | grep -q -- "--scene T"
echo "usage ok"
