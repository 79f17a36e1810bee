#!/usr/bin/env bash
# End to end: the real program plays to its end and ends itself. Through the
# launcher into a 1280 x 720 window; TORVANEL_START_RAW_TIME starts the clock
# at raw 277.8 s (scene time 272.4 s), and the show must end the process with
# status 0 when scene time reaches 273 s, with no key pressed, after loading
# everything.
#   show_end_e2e.sh PROGRAM [SCREENSHOT_DIR]   (the directory is not used)
set -u
program=$1
source "$(dirname "$0")/common.bash"

TORVANEL_START_RAW_TIME=277.8 "$program" keep >"$work/out" 2>"$work/err" &
pid=$!
launcher=$(wait_window 380x240) || fail "no 380x240 launcher window"
sleep 0.5
choose_1280x720_windowed "$launcher"
wait_window 1280x720 >/dev/null || { cat "$work/out" "$work/err"; fail "no 1280x720 show window"; }

# Loading takes seconds; then the show has 0.77 s of raw time left, which
# slow frames stretch (a frame over 0.35 s counts as 0.05 s).
wait_exit $pid 100
status=$?
[ $status -ne 124 ] || { tail -20 "$work/out"; fail "still running 100 s after the show window opened"; }
[ $status -eq 0 ] || { tail -20 "$work/out" "$work/err"; fail "exit status $status at the end of the show"; }
grep -q "f_object" "$work/out" || fail "the show ended before it finished loading"
! grep -q "^KEY: " "$work/out" || fail "a key was pressed: $(grep '^KEY: ' "$work/out" | head -1)"
echo "show end to end: 1 passed, 0 failed"
