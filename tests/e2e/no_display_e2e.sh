#!/usr/bin/env bash
# The show where it cannot run: with no display it ends with one line and
# status 1 instead of waiting on a launcher nobody sees; started away from
# its data it names the folders it looked in. No X server here on purpose.
#   no_display_e2e.sh PROGRAM
set -u
program=$(realpath "$1")
fail() { echo "FAIL: $*"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 60 "$program" >"$work/out" 2>"$work/err"
status=$?
[ $status -eq 1 ] || fail "no display: status $status (124: it waited)"
grep -q "^torvanel: cannot open a window" "$work/err" || { cat "$work/err"; fail "no line about the window"; }

(cd "$work" && env -u TORVANEL_DATA timeout 60 "$program" >"$work/out" 2>"$work/err")
status=$?
[ $status -eq 1 ] || fail "no data: status $status"
grep -q "cannot find the show's data (no Resources/ folder) in $work" "$work/err" || { cat "$work/err"; fail "no line naming $work"; }
[ "$(wc -l <"$work/err")" -eq 1 ] || { cat "$work/err"; fail "more than one line"; }
echo "no display end to end: 2 passed, 0 failed"
