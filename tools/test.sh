#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs the whole suite, GL tests included, inside a virtual X server.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build-test -G Ninja -DTORVANEL_SANITIZE=ON -DTORVANEL_SCENE_RELOAD=ON >/dev/null
cmake --build build-test -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# -noreset: between two test programs the server would otherwise reset, and
# a program connecting meanwhile would find no display.
xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" \
  ctest --test-dir build-test --output-on-failure -j"$(nproc)" "$@"
