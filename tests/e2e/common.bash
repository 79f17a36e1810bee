# What the end-to-end scripts share: their own X server, the show's windows
# found by title and size, clicks held across launcher frames, waiting for the
# process. Sourced by a script run as SCRIPT PROGRAM [SCREENSHOT_DIR].
# The server must not reset when its last client leaves: every xdotool call
# is a client, and a program connecting during a reset finds no display.
if [ -z "${TORVANEL_E2E_DISPLAY:-}" ]; then
  exec env TORVANEL_E2E_DISPLAY=1 xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" "$0" "$@"
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

# A press held across a few launcher frames.
click_at() {
  xdotool mousemove --window "$1" "$2" "$3"; sleep 0.15
  xdotool mousedown 1; sleep 0.15
  xdotool mouseup 1; sleep 0.15
}

# The launcher's rows to a 1280 x 720 window: resolution twice (2560 x 1440,
# then 1280 x 720), windowed, run.
choose_1280x720_windowed() {
  click_at "$1" 190 80
  click_at "$1" 190 80
  click_at "$1" 190 110
  click_at "$1" 190 200
}

# Waits up to `seconds` (20 unless given) for the process to end; its status,
# or 124 after killing it.
wait_exit() {
  local pid=$1 tenths=$(( ${2:-20} * 10 ))
  for _ in $(seq 1 $tenths); do
    kill -0 "$pid" 2>/dev/null || { wait "$pid"; return $?; }
    sleep 0.1
  done
  kill -9 "$pid"; return 124
}

# Waits up to `seconds` for a line matching `pattern` in `file` while the
# process lives.
wait_log() {
  local file=$1 pattern=$2 pid=$3 tenths=$(( ${4:-90} * 10 ))
  for _ in $(seq 1 $tenths); do
    grep -q "$pattern" "$file" && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# Starts the program with one argument (its console in $work/out, its errors
# in $work/err), takes the launcher to a 1280 x 720 window and waits until
# loading has built the last program. Sets pid and show.
start_show_1280x720() {
  "$program" keep >"$work/out" 2>"$work/err" &
  pid=$!
  local launcher
  launcher=$(wait_window 380x240) || fail "no 380x240 launcher window"
  sleep 0.5
  choose_1280x720_windowed "$launcher"
  show=$(wait_window 1280x720) || { cat "$work/out" "$work/err"; fail "no 1280x720 show window"; }
  wait_log "$work/out" "f_object" $pid 120 || { tail -20 "$work/out" "$work/err"; fail "the show did not finish loading"; }
}
