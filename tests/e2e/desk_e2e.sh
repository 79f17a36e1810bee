#!/usr/bin/env bash
# The maker's desk end to end, on a copy of the data: the HUD over the show,
# a bookmark stored from the keyboard and kept in the user's state folder, a
# clip shader saved with a mistake (the show goes on with the last good
# program and names the file and line), then saved fixed.
#   desk_e2e.sh PROGRAM [SCREENSHOT_DIR]
set -u
program=$(realpath "$1")
shots=$(realpath "${2:-.}")
source "$(dirname "$0")/common.bash"

# The shaders are copied (they will be edited); everything else is linked.
root=$(pwd)
mkdir -p "$work/Resources"
for entry in "$root"/Resources/*; do
  name=$(basename "$entry")
  if [ "$name" = shaders ]; then cp -r "$entry" "$work/Resources/"; else ln -s "$entry" "$work/Resources/$name"; fi
done
cd "$work"
export XDG_STATE_HOME="$work/state"

export TORVANEL_START_RAW_TIME=30
start_show_1280x720
# The first frames may take a while on a busy machine: the bookmark key is
# pressed until the show plays and stores it.
xdotool windowfocus "$show"; sleep 0.2
for _ in $(seq 1 60); do
  xdotool key ctrl+3; sleep 1
  grep -q "^bookmark 3 " "$XDG_STATE_HOME/torvanel/desk.txt" 2>/dev/null && break
done
grep -q "^bookmark 3 " "$XDG_STATE_HOME/torvanel/desk.txt" 2>/dev/null || fail "no bookmark 3 in the desk file"
xdotool key h; sleep 4
import -window "$show" "$shots/e2e_desk_hud.png" 2>/dev/null

# A mistake on line 2 of the clip shader, saved as an editor saves: written
# beside it, renamed over it.
shader=Resources/shaders/f_clip.cpp
cp "$shader" "$work/good.cpp"
{ head -1 "$work/good.cpp"; echo "this is not glsl;"; tail -n +2 "$work/good.cpp"; } >"$work/bad.cpp"
mv "$work/bad.cpp" "$shader"
wait_log "$work/out" "Resources//shaders//f_clip.cpp:2: " $pid 30 ||
  { tail -30 "$work/out"; fail "no error naming f_clip.cpp line 2"; }
sleep 4
kill -0 $pid 2>/dev/null || { tail -20 "$work/out" "$work/err"; fail "the show stopped on a broken shader"; }
import -window "$show" "$shots/e2e_desk_shader_error.png" 2>/dev/null

builds=$(grep -c "Fragment loading: Resources//shaders//f_clip.cpp" "$work/out")
cp "$work/good.cpp" "$shader"
for _ in $(seq 1 100); do
  [ "$(grep -c "Fragment loading: Resources//shaders//f_clip.cpp" "$work/out")" -gt "$builds" ] && break
  sleep 0.2
done
[ "$(grep -c "Fragment loading: Resources//shaders//f_clip.cpp" "$work/out")" -gt "$builds" ] ||
  fail "the fixed shader was not rebuilt"
sleep 1

xdotool key Escape
wait_exit $pid 20; status=$?
[ $status -eq 0 ] || { tail -20 "$work/out" "$work/err"; fail "exit status $status after Escape"; }
echo "desk end to end: 1 passed, 0 failed"
