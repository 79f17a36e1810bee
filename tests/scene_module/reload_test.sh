#!/usr/bin/env bash
# The scenes reload while the show runs, end to end with the real build: a
# headless frame loop watches a scene module; this script moves into its
# place a module with one act changed (a copy of the act, compiled the way
# the build compiles it and linked with the build's other objects), then
# broken modules, then the original. The changed picture must show, each
# broken module must be refused in one line with the picture kept, and the
# original module must bring the original picture back.
#
#   reload_test.sh DRIVER BUILD_DIR      (from the repository root)
set -euo pipefail
driver=$1
build=$(cd "$2" && pwd)
work=$(mktemp -d)
pid=
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "FAIL: $*"; echo "--- driver output:"; cat "$work/log"; exit 1; }

# Waits up to 120 s for the count of lines matching `pattern` to reach `count`.
wait_lines() {
  local pattern=$1 count=$2
  for _ in $(seq 1 1200); do
    [ "$(grep -c -- "$pattern" "$work/log" || true)" -ge "$count" ] && return 0
    kill -0 "$pid" 2>/dev/null || fail "the driver ended while waiting for '$pattern'"
    sleep 0.1
  done
  fail "no '$pattern' line number $count"
}
last_picture() { grep '^picture ' "$work/log" | tail -1 | cut -d' ' -f3; }
# Puts a module in the watched place at once, as a finished link does.
install_module() { cp "$1" "$work/next.so"; mv "$work/next.so" "$work/scenes.so"; }

# Every module first, so that building them and drawing frames do not share
# the processor. The changed one has the empty room scaled (see the script).
tests/support/scene_module_variant.sh "$build" "$work/changed.so"

# Broken ones: not a module at all, one without the entry points, one built
# against another frame layout, one that needs a function the program lacks.
cxx=${CXX:-c++}
for _ in $(seq 1 50); do echo 'not a module'; done >"$work/garbage.so"
echo 'int torvanelUnrelated = 1;' | "$cxx" -shared -fPIC -x c++ - -o "$work/bare.so"
"$cxx" -shared -fPIC -x c++ - -o "$work/layout.so" <<'CPP'
struct Table { const void* groups; int count; };
extern "C" unsigned long long torvanelSceneLayout() { return 1; }
extern "C" Table torvanelSceneTable() { return {nullptr, 0}; }
CPP
"$cxx" -shared -fPIC -x c++ - -o "$work/unresolved.so" <<'CPP'
extern "C" void torvanelNoSuchFunction();
extern "C" void torvanelCaller() { torvanelNoSuchFunction(); }
CPP

cp "$build/torvanel_scenes.so" "$work/scenes.so"
"$driver" "$work/scenes.so" 93 300 320x180 >"$work/log" 2>"$work/err" &
pid=$!
wait_lines '^picture ' 1
wait_lines 'SceneModule - .* loaded' 1
original=$(last_picture)

install_module "$work/changed.so"
wait_lines 'SceneModule - .* loaded' 2
wait_lines '^picture ' 2
[ "$(last_picture)" != "$original" ] || fail "the changed module drew the same picture"

refusals=0
for broken in garbage bare layout unresolved; do
  install_module "$work/$broken.so"
  refusals=$((refusals + 1))
  wait_lines 'SceneModule - .* refused' $refusals
done
grep 'refused' "$work/log" >"$work/refusals"
grep -q 'refused: invalid ELF header' "$work/refusals" || fail "garbage not refused as such"
grep -q 'refused: it lacks torvanelSceneLayout' "$work/refusals" || fail "missing entry not named"
grep -q 'refused: it was built against another SceneFrame layout' "$work/refusals" || fail "layout not compared"
grep -q 'refused: undefined symbol: torvanelNoSuchFunction' "$work/refusals" || fail "unresolved symbol not named"

# The original module again: the first picture is back, and no other came
# between (a refused module never reached a frame).
install_module "$build/torvanel_scenes.so"
wait_lines 'SceneModule - .* loaded' 3
wait_lines '^picture ' 3
[ "$(last_picture)" = "$original" ] || fail "the original module did not bring the original picture back"
[ "$(grep -c '^picture ' "$work/log")" -eq 3 ] || fail "a picture changed while broken modules were refused"
[ "$(grep -c 'refused' "$work/log")" -eq 4 ] || fail "a refusal was printed more than once"
echo "scene module reload ok: 3 pictures, $refusals refusals"
