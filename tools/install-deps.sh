#!/usr/bin/env bash
# Installs the Debian packages the show, its forges and its tests need, and
# nothing when they are all present already.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config clang
  # the engine
  libsdl2-dev libglew-dev libglu1-mesa-dev libopencv-dev libjpeg-dev libmpg123-dev librtmidi-dev
  # cooked pictures and figure frames: compression and content hash
  liblz4-dev libxxhash-dev
  # the forges that write Resources/
  librsvg2-dev libcairo2-dev openclipart-svg lame
  # the capture tool's video
  ffmpeg
  # the packages (tools/package.sh) and their checks
  dpkg-dev patchelf lintian fakeroot strace util-linux
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  xvfb xauth libgl1-mesa-dri xdotool imagemagick
  # clang's libFuzzer and sanitizer runtimes for tools/fuzz.sh (clang only recommends them)
  libclang-rt-dev
)

# The real delaunator, run under node as the triangulator's test oracle; its
# test skips when this cannot be installed.
oracle="$(dirname "$0")/../lib/delaunay/oracle"
if command -v npm >/dev/null && [ ! -d "$oracle/node_modules" ]; then
  npm ci --prefix "$oracle" --no-audit --no-fund --silent || echo "delaunator oracle not installed; its test skips"
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
