#!/usr/bin/env bash
# Builds the release packages from a Release build: the Debian package
# (torvanel_VERSION_ARCH.deb) and the portable tarball
# (torvanel-VERSION-Linux-ARCH.tar.gz, its own libraries inside), into
# build-release/packages/ unless a folder is given.
#   tools/package.sh [OUT_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-release"
out=$(realpath -m "${1:-$build/packages}")
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)

cmake -S "$root" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release -DTORVANEL_TESTS=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" --parallel "$(nproc)"
mkdir -p "$out"
(cd "$build" && cpack -B "$out" >/dev/null)
rm -rf "$out/_CPack_Packages"
ls -l "$out"/*.deb "$out"/*.tar.gz
