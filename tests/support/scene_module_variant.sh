#!/usr/bin/env bash
# Builds a scene module that differs from the build's in one act: the empty
# room's picture (scene time 89 to 97 s) drawn scaled by 0.9. It is built the
# way the build builds its module (the build's own compile and link commands,
# run in its folder) from a copy of the act, so the sources stay untouched
# and only that copy is compiled; the other acts are the build's objects.
#
#   scene_module_variant.sh BUILD_DIR OUT.so
#
# The build must be configured with TORVANEL_SCENE_RELOAD=ON (Ninja) and its
# module built. Run from the repository root.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 BUILD_DIR OUT.so" >&2; exit 2; }
build=$(cd "$1" && pwd)
out=$(realpath -m "$2")
act=show/scenes/act_empty_room.cpp
object=CMakeFiles/torvanel_scenes.dir/$act.o

copy=$out.act.cpp
cp "$act" "$copy"
sed -i 's|drawImage(f, "emptyroom");|S(0.9);\n    drawImage(f, "emptyroom");|' "$copy"
if cmp -s "$act" "$copy"; then
  echo "scene_module_variant: the line to change is gone from $act" >&2
  exit 1
fi

compile=$(ninja -C "$build" -t commands -s "$object")
link=$(ninja -C "$build" -t commands -s torvanel_scenes.so)
source=$(grep -o "[^ ]*/$act\$" <<<"$compile" || true)
if [ -z "$source" ] || [[ $link != *" -o torvanel_scenes.so "* ]]; then
  echo "scene_module_variant: $build has no scene module commands" >&2
  exit 1
fi
cmd=${compile//"$source"/$copy}
(cd "$build" && eval "${cmd//"$object"/$out.o}")
cmd=${link//"$object"/$out.o}
(cd "$build" && eval "${cmd//" -o torvanel_scenes.so "/ -o $out }")
rm -f "$copy" "$out.o" "$out.o.d"
