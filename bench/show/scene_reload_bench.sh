#!/usr/bin/env bash
# How long a rebuilt scene module takes to reach the picture: from the moment
# the finished module lands in place (the end of its build) to the end of the
# first frame drawn with it, in the headless frame loop at 1280 x 720 (on
# llvmpipe where there is no GPU). The build's module and one with a changed
# act take turns. Needs a build configured with -DTORVANEL_SCENE_RELOAD=ON
# (and the tests, for the frame loop); run from the repository root:
#
#   bench/show/scene_reload_bench.sh build [ROUNDS]
set -euo pipefail
build=$(cd "$1" && pwd)
rounds=${2:-10}
work=$(mktemp -d)
pid=
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

tests/support/scene_module_variant.sh "$build" "$work/changed.so"
cp "$build/torvanel_scenes.so" "$work/original.so"
cp "$work/original.so" "$work/scenes.so"
"$build/scene_reload_driver" "$work/scenes.so" 93 3600 1280x720 >"$work/log" 2>/dev/null &
pid=$!

pictures() { grep -c '^picture ' "$work/log" || true; }
# Waits (up to 300 s) for more than `count` picture lines.
wait_picture() {
  for _ in $(seq 1 3000); do
    [ "$(pictures)" -gt "$1" ] && return 0
    kill -0 "$pid" 2>/dev/null || { echo "the frame loop ended" >&2; exit 1; }
    sleep 0.1
  done
  echo "no new picture" >&2; exit 1
}
wait_picture 0

for round in $(seq 1 "$rounds"); do
  module=$([ $((round % 2)) -eq 1 ] && echo changed || echo original)
  cp "$work/$module.so" "$work/next.so"
  before=$(pictures)
  start=$(date +%s.%N)
  mv "$work/next.so" "$work/scenes.so"
  wait_picture "$before"
  shown=$(grep '^picture ' "$work/log" | tail -1 | cut -d' ' -f4)
  awk -v a="$start" -v b="$shown" -v m="$module" 'BEGIN { printf "%-8s %6.0f ms\n", m, (b - a) * 1000 }'
done | tee "$work/rounds"
sort -n -k2 "$work/rounds" | awk '{ t[NR] = $2 } END {
  printf "module in place to new picture, 1280x720: median %.0f ms, min %.0f, max %.0f (%d rounds)\n",
         t[int((NR + 1) / 2)], t[1], t[NR], NR }'
# For scale: the loop's own frame time (a change waits for the frame in
# flight, then shows in the next one).
grep '^picture ' "$work/log" | awk 'NR == 1 { f = $2; w = $4 } END {
  printf "frame loop: %.0f ms a frame\n", ($4 - w) * 1000 / ($2 - f) }'
