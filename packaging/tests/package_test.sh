#!/usr/bin/env bash
# The release packages as a user gets them: the Debian package unpacked into
# a temporary root (dpkg-deb -x) and the portable tarball unpacked into a
# temporary folder. Each holds every data file the program reads, starts
# headless from another folder, renders the frame the build tree renders and
# writes nothing inside itself; the tarball's programs load every library
# outside a short allow-list from the bundle; the launcher finds its data
# through a symbolic link. Packages are made with cpack from BUILD_DIR unless
# TORVANEL_PACKAGES names a folder holding them already.
#   package_test.sh BUILD_DIR
set -euo pipefail
build=$(realpath "$1")
source_dir=$(pwd)
fail() { echo "FAIL: $*"; exit 1; }
work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
passed=0
pass() { passed=$((passed + 1)); echo "ok: $*"; }

packages=${TORVANEL_PACKAGES:-}
if [ -z "$packages" ]; then
  packages="$work/packages"
  (cd "$build" && cpack -B "$packages" >"$work/cpack.log" 2>&1) || { tail "$work/cpack.log"; fail "cpack"; }
fi
deb=$(ls "$packages"/torvanel_*.deb)
tarball=$(ls "$packages"/torvanel-*.tar.gz)
mkdir -p "$work/deb" "$work/tgz" "$work/elsewhere"
dpkg-deb -x "$deb" "$work/deb"
tar xzf "$tarball" -C "$work/tgz"
roots=("$work/deb/usr" "$(ls -d "$work"/tgz/torvanel-*)")
tgz=${roots[1]}

# Contents and declared dependencies.
for root in "${roots[@]}"; do
  for f in games/torvanel bin/torvanel-trace bin/torvanel-capture bin/torvanel-mesh share/applications/torvanel.desktop \
    share/icons/hicolor/scalable/apps/torvanel.svg share/man/man6/torvanel.6.gz share/man/man1/torvanel-capture.1.gz \
    share/man/man1/torvanel-trace.1.gz share/man/man1/torvanel-mesh.1.gz share/torvanel/Resources/shaders/f_clip.xxx; do
    [ -e "$root/$f" ] || fail "$root lacks $f"
  done
  [ -z "$(find "$root/share/torvanel" -name '*.cpp')" ] || fail "plain shader sources in $root"
done
[ -x "$tgz/torvanel" ] || fail "no start script in the tarball"
dpkg-deb -f "$deb" Depends | grep -q libsdl2 || fail "Depends lacks SDL: $(dpkg-deb -f "$deb" Depends)"
[ "$(dpkg-deb -f "$deb" Recommends)" = ffmpeg ] || fail "ffmpeg is not recommended"
pass "contents and dependencies"

# Every data file the build tree's program opens is in both packages (a
# shader as its scrambled copy). Needs strace, and ptrace allowed; the leak
# checker of a sanitizer build cannot run under ptrace, so it is off there.
if strace -f -o /dev/null true 2>/dev/null; then
  (cd "$source_dir" && env -u DISPLAY ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0" strace -f -e trace=openat -o "$work/opens" "$build/torvanel-trace" 30 150 >/dev/null 2>&1)
  grep -v ENOENT "$work/opens" | grep -o '"[^"]*Resources/[^"]*"' | tr -d '"' | sed 's|^.*Resources/|Resources/|; s|//*|/|g' |
    sed 's|^\(Resources/shaders/.*\)\.cpp$|\1.xxx|' | sort -u >"$work/read"
  [ "$(wc -l <"$work/read")" -gt 50 ] || fail "only $(wc -l <"$work/read") data files seen read"
  for root in "${roots[@]}"; do
    while read -r f; do [ -f "$root/share/torvanel/$f" ] || fail "$root lacks $f, which the program reads"; done <"$work/read"
  done
  pass "all $(wc -l <"$work/read") data files read at run time are in both packages"
else
  echo "skipped: strace cannot run here, so the files read are not listed"
fi

# Headless from another folder, a read-only installation: the frame the
# build tree renders, and nothing written inside the installation.
(cd "$source_dir" && env -u DISPLAY "$build/torvanel-trace" --png "$work/reference" 30 >/dev/null)
for root in "${roots[@]}"; do
  (cd "$root" && find . -type f -exec md5sum {} + | sort) >"$work/before"
  chmod -R a-w "$root"
  name=$(basename "$(dirname "$root")")
  (cd "$work/elsewhere" && env -u DISPLAY -u TORVANEL_DATA "$root/bin/torvanel-trace" --png "frames-$name" 30 >/dev/null) ||
    fail "$root/bin/torvanel-trace"
  (cd "$work/elsewhere" && env -u DISPLAY -u TORVANEL_DATA "$root/bin/torvanel-capture" --at 30 "capture-$name.png") ||
    fail "$root/bin/torvanel-capture"
  cmp -s "$work/reference/frame_30.000.png" "$work/elsewhere/frames-$name/frame_30.000.png" ||
    fail "$root's trace frame differs from the build tree's"
  python3 - "$work/reference/frame_30.000.png" "$work/elsewhere/capture-$name.png" <<'PY' || fail "$root's capture frame differs"
import sys, zlib, struct
def pixels(path):
    data = open(path, "rb").read()
    at, idat = 8, b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        if kind == b"IDAT": idat += data[at + 8:at + 8 + length]
        if kind == b"IHDR": size = data[at + 8:at + 16]
        at += 12 + length
    return size, zlib.decompress(idat)
sys.exit(0 if pixels(sys.argv[1]) == pixels(sys.argv[2]) else 1)
PY
  chmod -R u+w "$root"
  (cd "$root" && find . -type f -exec md5sum {} + | sort) >"$work/after"
  diff -q "$work/before" "$work/after" >/dev/null || fail "a run wrote inside $root: $(diff "$work/before" "$work/after" | head -3)"
done
pass "both packages render the build tree's frame from another folder and write nothing inside themselves"

# The tarball's programs: every library loaded outside the allow-list (the C
# library and loader, GL/EGL and the GL driver's own, X11 and what it needs
# itself, ALSA) comes from the bundle.
allowed='/(ld-linux[^/]*|lib(c|m|dl|pthread|rt|resolv|util)\.so[^/]*|libGL[^/]*|libOpenGL[^/]*|libEGL[^/]*|libgbm[^/]*|libglapi[^/]*|libgallium[^/]*|libdrm[^/]*|libLLVM[^/]*|libX[^/]*|libxcb[^/]*|libxshmfence[^/]*|libwayland[^/]*|libsensors[^/]*|libelf[^/]*|libedit[^/]*|libtinfo[^/]*|libz3[^/]*|libpciaccess[^/]*|libbsd[^/]*|libmd\.so[^/]*|libasound[^/]*|dri/[^/]*)$'
for run in "bin/torvanel-trace 30" "bin/torvanel-capture --at 30 ld.png" "bin/torvanel-mesh --help" "games/torvanel"; do
  rm -f "$work"/ld.*
  (cd "$work/elsewhere" && env -u DISPLAY -u TORVANEL_DATA LD_DEBUG=libs LD_DEBUG_OUTPUT="$work/ld" $tgz/$run >/dev/null 2>&1) || true
  sed -n 's/.*calling init: //p' "$work"/ld.* | sed 's#/\(bin\|games\)/\.\./lib/#/lib/#' | sort -u >"$work/loaded"
  [ -s "$work/loaded" ] || fail "no LD_DEBUG output for $run"
  outside=$(grep -v "^$tgz/lib/" "$work/loaded" | grep -Ev "$allowed" || true)
  [ -z "$outside" ] || fail "$run loads libraries from outside the bundle: $outside"
done
pass "the tarball's programs load their libraries from the bundle"

# Started through a symbolic link from another folder, with no display, the
# launcher finds its data (it gets as far as the window).
ln -s "$tgz/torvanel" "$work/elsewhere/start-link"
ln -s "$work/deb/usr/games/torvanel" "$work/elsewhere/deb-link"
for link in start-link deb-link; do
  set +e
  (cd /tmp && env -u DISPLAY -u WAYLAND_DISPLAY -u TORVANEL_DATA timeout 60 "$work/elsewhere/$link" >/dev/null 2>"$work/link.err")
  status=$?
  set -e
  [ $status -eq 1 ] && grep -q "cannot open a window" "$work/link.err" || { cat "$work/link.err"; fail "$link: status $status"; }
done
pass "the launcher finds its data through a symbolic link"

# The cooked pictures and figure frames are shipped, and the installed
# program takes every picture and frame from them: each source it opens has
# its ".cooked" file opened beside it, and nothing says it fell back to
# decoding (a stale or damaged cooked file says so in a line).
cooked=$(cd "$source_dir" && find Resources -name '*.cooked' -type f -print -quit)
if [ -z "$cooked" ]; then
  fail "the build made no cooked data"
elif ! strace -f -o /dev/null true 2>/dev/null; then
  echo "skipped: strace cannot run here, so cooked reads cannot be seen"
else
  for root in "${roots[@]}"; do [ -f "$root/share/torvanel/$cooked" ] || fail "$root lacks $cooked"; done
  (cd "$work/elsewhere" && env -u DISPLAY ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0" strace -f -e trace=openat -o "$work/cooked-opens" \
    "$tgz/bin/torvanel-trace" --verbose 30 >/dev/null 2>"$work/cooked-log")
  grep -v ENOENT "$work/cooked-opens" | grep -o '"[^"]*Resources/[^"]*"' | tr -d '"' | sed 's|//*|/|g' >"$work/opened"
  sources=$(grep -E '\.(png|jpg|cor)$' "$work/opened" | sort -u)
  [ "$(echo "$sources" | wc -l)" -gt 100 ] || fail "only $(echo "$sources" | wc -l) pictures and frames seen read"
  while read -r f; do grep -qxF "$f.cooked" "$work/opened" || fail "$f was read without its cooked file"; done <<<"$sources"
  ! grep -q "cooked - " "$work/cooked-log" || fail "fell back to decoding: $(grep -m1 'cooked - ' "$work/cooked-log")"
  pass "cooked data shipped; all $(echo "$sources" | wc -l) pictures and frames taken from it"
fi
echo "packages: $passed passed, 0 failed"
