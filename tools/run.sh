#!/usr/bin/env bash
# Builds the show (optimised) with everything it reads, then starts it from
# the repository root. Extra arguments go to the program: one argument keeps
# its console log on standard output.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTORVANEL_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)"
exec build/torvanel "$@"
