#!/usr/bin/env bash
# End to end: the real program in its own X server. The launcher opens at
# 380 x 240; three clicks choose 1280 x 720 windowed; the run row opens the
# show window at (100, 140); Escape ends the process with status 0. With one
# argument the log reaches standard output, with none it stays silent.
#   launcher_e2e.sh PROGRAM [SCREENSHOT_DIR]
set -u
program=$1
shots=${2:-.}
if [ -z "${TORVANEL_E2E_DISPLAY:-}" ]; then
  exec env TORVANEL_E2E_DISPLAY=1 xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$@"
fi
fail() { echo "FAIL: $*"; exit 1; }
title="Torvanel quillaret by Ulv - 2024"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -n "${TORVANEL_E2E_KEEP:-}" ] && trap - EXIT && echo "logs in $work"

# Waits up to 20 s for a window with the title and the given size.
wait_window() {
  local size=$1
  for _ in $(seq 1 200); do
    for id in $(xdotool search --name "$title" 2>/dev/null); do
      if xdotool getwindowgeometry "$id" 2>/dev/null | grep -q "Geometry: $size"; then
        echo "$id"; return 0
      fi
    done
    sleep 0.1
  done
  return 1
}

# A press held across a few launcher frames (the menu samples the mouse once a frame).
click_at() {
  xdotool mousemove --window "$1" "$2" "$3"; sleep 0.15
  xdotool mousedown 1; sleep 0.15
  xdotool mouseup 1; sleep 0.15
}

wait_exit() {
  local pid=$1
  for _ in $(seq 1 200); do
    kill -0 "$pid" 2>/dev/null || { wait "$pid"; return $?; }
    sleep 0.1
  done
  kill -9 "$pid"; return 124
}

# --- With one argument: through the launcher into the show ---
"$program" keep >"$work/out1" 2>"$work/err1" &
pid=$!
launcher=$(wait_window 380x240) || fail "no 380x240 launcher window"
sleep 0.5
import -window "$launcher" "$shots/e2e_launcher.png" || fail "no launcher screenshot"
click_at "$launcher" 190 80    # resolution: 2560 x 1440
click_at "$launcher" 190 80    # resolution: 1280 x 720
click_at "$launcher" 190 110   # mode: windowed
click_at "$launcher" 190 200   # run
show=$(wait_window 1280x720) || { cat "$work/out1" "$work/err1"; fail "no 1280x720 show window"; }
xdotool getwindowgeometry "$show" | grep -q "Position: 100,140" || fail "show window not at (100, 140): $(xdotool getwindowgeometry "$show")"
sleep 1
import -window "$show" "$shots/e2e_show.png"
xdotool windowfocus "$show"; sleep 0.2
xdotool key Escape
wait_exit $pid; status=$?
[ $status -eq 0 ] || fail "exit status $status after Escape"
grep -q "^KEY: 41$" "$work/out1" || { cat "$work/out1"; fail "no 'KEY: 41' on standard output"; }

# --- Without arguments: standard output stays silent ---
"$program" >"$work/out0" 2>"$work/err0" &
pid=$!
launcher=$(wait_window 380x240) || fail "no launcher window without arguments"
xdotool windowfocus "$launcher"; sleep 0.2
xdotool key Escape
wait_exit $pid; status=$?
[ $status -eq 0 ] || fail "exit status $status after Escape in the launcher"
[ ! -s "$work/out0" ] || { cat "$work/out0"; fail "standard output not silent without arguments"; }

echo "launcher end to end: 1 passed, 0 failed"
