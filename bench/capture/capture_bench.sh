#!/usr/bin/env bash
# Capture speed: frames per second of a headless capture at 1280 x 720 and
# 1920 x 1080 under the GL driver at hand, over two seconds of the show at
# 30 fps (loading not counted: the tool's own progress figure).
#   bench/capture/capture_bench.sh build/torvanel-capture [FROM]
set -euo pipefail
tool=$1
from=${2:-150}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for size in 1280x720 1920x1080; do
  env -u DISPLAY "$tool" --size "$size" --from "$from" --to "$(awk -v f="$from" 'BEGIN { print f + 2 }')" --fps 30 --out "$out" \
    2>&1 | grep -a "frames/s" | tail -1 | sed "s/^/$size: /"
done
