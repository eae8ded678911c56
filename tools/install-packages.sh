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
packages="g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 wine64 fonts-wine fonts-liberation xvfb xauth imagemagick cmake make googletest python3 locales wine32:i386 qemu-user-static"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    # A mirror that is being synchronised serves an index that does not
    # match its release file ("File has unexpected size"): try again, and go
    # on with the lists that could be read.
    for try in 1 2 3; do
        apt-get update -qq && break
        echo "apt-get update failed (try $try of 3)" >&2
        sleep $((try * 10))
    done
    # Without the security suite's i386 index the i386 libraries exist only
    # in older versions than their amd64 twins of the security suite, which
    # multi-arch requires to be the same: then take both from the release
    # itself. The resolver needs gstreamer's i386 library named to find
    # that way.
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    i386_only=$(printf '%s\n' $missing | grep ':i386$' || true)
    # shellcheck disable=SC2086
    if ! apt-get install -y -qq --no-install-recommends $missing >/dev/null; then
        echo "installing from $codename alone" >&2
        # shellcheck disable=SC2086
        if ! apt-get install -y -qq --no-install-recommends -t "$codename" $missing \
            ${i386_only:+libgstreamer-plugins-base1.0-0:i386} >/dev/null; then
            # The 64-bit tests need no i386 package; the 32-bit part then
            # reports itself skipped.
            echo "the i386 packages cannot be installed; installing the others" >&2
            # shellcheck disable=SC2086
            apt-get install -y -qq --no-install-recommends $(printf '%s\n' $missing | grep -v ':i386$') >/dev/null
        fi
    fi
fi
# The Wine prefixes run German (tools/wineenv.sh): the host locale, so that
# the host's tools agree with Wine on it.
if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf-\?8'; then
    echo "generating the locale de_DE.UTF-8"
    localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
