#!/usr/bin/env bash
# Builds the release: the 32-bit executables Ordavin.exe and Velmora.exe in
# dist/, with their SHA-256 checksums (SHA256SUMS) and README.txt.
#   tools/release.sh [BUILD_DIR [DIST_DIR]]   defaults: build/release, dist
# Two runs on the same commit give the same bytes, whatever the folders.
set -eu
top="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$top/build/release}"
dist="${2:-$top/dist}"

cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-i686.cmake" -DZORVALIA_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target Ordavin Velmora

rm -rf "$dist"
mkdir -p "$dist"
cp "$build/Ordavin.exe" "$build/velmora/Velmora.exe" "$dist/"
# The text for Windows users: CRLF line ends, and the commit it was built
# from (with "-dirty" when the tree had changes).
commit=$(git -C "$top" describe --always --dirty 2>/dev/null || echo unknown)
sed "s/@COMMIT@/$commit/" "$top/tools/release/README.txt" | sed 's/$/\r/' >"$dist/README.txt"
(cd "$dist" && sha256sum --binary Ordavin.exe Velmora.exe README.txt >SHA256SUMS)
echo "release in $dist:"
cat "$dist/SHA256SUMS"
