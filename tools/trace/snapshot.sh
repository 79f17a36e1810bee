#!/usr/bin/env bash
# Records what the show draws, so that a change meant to leave the picture
# alone can be checked: the draw trace (with uniforms) at 60 raw times spread
# over the show and the finished frames at 12 of them.
#
#   tools/trace/snapshot.sh BUILD_DIR OUT_DIR     # record
#   tools/trace/snapshot.sh --compare A B          # two records: same or not
#
# Run it before and after the change from the repository root (the trace
# tool reads Resources/ from there), then compare. Needs no display.
set -euo pipefail

if [ "${1:-}" = "--compare" ]; then
  [ $# -eq 3 ] || { echo "usage: $0 --compare A B" >&2; exit 2; }
  if diff -q "$2/trace.jsonl" "$3/trace.jsonl" >/dev/null; then
    echo "trace: identical ($(wc -l <"$2/trace.jsonl") lines)"
  else
    echo "trace: DIFFERENT; first difference:"
    diff "$2/trace.jsonl" "$3/trace.jsonl" | head -4
    status=1
  fi
  for png in "$2"/png/*.png; do
    name=$(basename "$png")
    if ! cmp -s "$png" "$3/png/$name"; then
      echo "frame $name: DIFFERENT"
      status=1
    fi
  done
  [ "${status:-0}" -eq 0 ] && echo "frames: identical ($(ls "$2"/png | wc -l) PNGs)"
  exit "${status:-0}"
fi

[ $# -eq 2 ] || { echo "usage: $0 BUILD_DIR OUT_DIR | --compare A B" >&2; exit 2; }
trace="$1/torvanel-trace"
out="$2"
mkdir -p "$out/png"

# 60 raw times: every 4.6 s from 0.3 s, so both replayed stretches, the
# skipped one and every act are sampled off the whole seconds.
times=()
for i in $(seq 0 59); do times+=("$(awk -v i="$i" 'BEGIN { printf "%.3f", 0.3 + i * 4.6 }')"); done
"$trace" --uniforms "${times[@]}" >"$out/trace.jsonl" 2>/dev/null

# Frames at every fifth of those times.
pngs=()
for i in $(seq 0 5 59); do pngs+=("${times[$i]}"); done
"$trace" --png "$out/png" "${pngs[@]}" >/dev/null 2>&1
echo "recorded $(wc -l <"$out/trace.jsonl") trace lines and $(ls "$out/png" | wc -l) frames in $out"
