#!/usr/bin/env bash
# End to end with hostile data: a copy of the data tree with a frame file
# whose picture claims 20000 x 20000 pixels, a cut-out picture claiming the
# same, and an object shader that includes itself under another spelling of
# its path. Through the launcher, the show must load (one line for each),
# run, and end on Escape with status 0.
#   hostile_data_e2e.sh PROGRAM [SCREENSHOT_DIR]
set -u
program=$(realpath "$1")
shots=$(realpath "${2:-.}")
source "$(dirname "$0")/common.bash"

root=$(pwd)
cp -r "$root/Resources" "$work/Resources"
cd "$work"

python3 - <<'PY'
import struct
def png_claiming(w, h):
    return (b"\x89PNG\r\n\x1a\n" + struct.pack(">I", 13) + b"IHDR" + struct.pack(">II", w, h)
            + bytes([8, 2, 0, 0, 0]) + b"\x12\x34\x56\x78").ljust(8192, b"Z")
# The first walking frame keeps its mesh; its picture becomes the bomb.
path = "Resources/DemoQTR/walkingnude/04800.cor"
data = open(path, "rb").read()
mesh = struct.unpack("<I", data[:4])[0]
keep = data[:4 + mesh + 22 * 12]
bomb = png_claiming(20000, 20000)
open(path, "wb").write(keep + struct.pack("<I", len(bomb)) + bomb)
open("Resources/torvanel/logo.png", "wb").write(png_claiming(20000, 20000))
PY
shader=Resources/shaders/f_object.cpp
{ echo "#include Resources///shaders/./f_object.cpp"; cat "$shader"; } >"$work/f_object.cpp" && mv "$work/f_object.cpp" "$shader"

# Loading ends with the object program built; then a few seconds of show.
start_show_1280x720
sleep 3
kill -0 $pid 2>/dev/null || { tail -20 "$work/out" "$work/err"; fail "the show stopped by itself"; }
import -window "$show" "$shots/e2e_hostile.png" 2>/dev/null
xdotool windowfocus "$show"; sleep 0.2
xdotool key Escape
wait_exit $pid 20; status=$?
[ $status -eq 0 ] || { tail -20 "$work/out" "$work/err"; fail "exit status $status after Escape"; }

expect() { grep -q "$1" "$work/out" || { grep -n "loadMeshFrame\|loadTexture\|loadShader" "$work/out" | head; fail "no line: $1"; }; }
expect "loadMeshFrame - Resources//DemoQTR//walkingnude//04800.cor - picture of 20000 x 20000 pixels is too large"
expect "loadTexture - cannot read or decode Resources//torvanel//logo.png - picture of 20000 x 20000 pixels is too large"
expect "loadShaderSource - include cycle"
echo "hostile data end to end: 1 passed, 0 failed"
