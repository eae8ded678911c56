#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, if
# any is missing.
#
# The 32-bit release run (tools/test-i686.sh) needs Wine's 32-bit loader
# from the i386 architecture, and qemu-user-static where the kernel cannot
# run i386 programs itself. Neither changes the 64-bit tests: qemu is only
# ever registered for that run, and without it a kernel that lacks IA32
# emulation merely fails the 32-bit half of a 64-bit prefix's wineboot.
set -eu
packages="g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 wine64 fonts-wine fonts-liberation xvfb xauth imagemagick cmake make googletest python3 wine32:i386 qemu-user-static"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    apt-get update -qq
    # shellcheck disable=SC2086
    apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi
