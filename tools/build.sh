#!/usr/bin/env bash
# Configures and builds both targets:
#   build/i686    the release (32-bit)
#   build/x86_64  the build that runs here under wine64, with the tests
set -eu
top="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"
for arch in i686 x86_64; do
    cmake -S "$top" -B "$top/build/$arch" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-$arch.cmake" \
        -DZORVALIA_RELEASE_DIR="$top/build/i686" >/dev/null
    cmake --build "$top/build/$arch" -j "$jobs"
done
