#!/usr/bin/env bash
# End to end: the real program in its own X server. The launcher opens at
# 380 x 240; three clicks choose 1280 x 720 windowed; the run row opens the
# show window at (100, 140); Escape ends the process with status 0. With one
# argument the log reaches standard output, with none it stays silent.
#   launcher_e2e.sh PROGRAM [SCREENSHOT_DIR]
set -u
program=$1
shots=${2:-.}
source "$(dirname "$0")/common.bash"

# --- With one argument: through the launcher into the show ---
"$program" keep >"$work/out1" 2>"$work/err1" &
pid=$!
launcher=$(wait_window 380x240) || fail "no 380x240 launcher window"
sleep 0.5
import -window "$launcher" "$shots/e2e_launcher.png" || fail "no launcher screenshot"
choose_1280x720_windowed "$launcher"
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
