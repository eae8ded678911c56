#!/usr/bin/env bash
# Test fixture: a fresh Wine prefix, display and persistent wineserver for
# one test run.
#   setup.sh DIR     DIR/env.sh then holds what wine-run.sh needs; DIR is a
#                    folder directly in the build folder.
#
# Drives: C: as usual (hard-disk titles below C:\HD), D: a CD-ROM drive with
# a volume label, E: a CD-ROM drive, \\server\share a network share, T: a
# file system of 4 MB that fills up (a tmpfs, where one can be mounted; the
# tests that need it skip without it). The folders behind the drives and
# the share live in DIR.
set -eu
trap 'echo "setup.sh: failed at line $LINENO: $BASH_COMMAND" >&2' ERR
dir="$1"
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/../../tools/wineenv.sh"

[ -f "$dir/xvfb.pid" ] && stop_xvfb "$dir/xvfb.pid"
mkdir -p "$dir"
make_prefix "$dir/prefix"
# Without a window manager Wine takes seconds to destroy a managed top-level
# window; unmanaged windows go at once.
timeout 60 "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# D: lies on the memory file system where there is one: the CD's size (the
# used bytes of its volume) is then small, as a real CD's, and the target
# drive has room for it.
[ -L "$dir/cd-d" ] && rm -rf "$(readlink "$dir/cd-d")"
rm -rf "$dir/cd-d"
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    ln -s "$(mktemp -d /dev/shm/zorvalia-cd-XXXXXX)" "$dir/cd-d"
fi
map_drive d "$dir/cd-d" cdrom
map_drive e "$dir/cd-e" cdrom
printf "ZORVALIA1" >"$dir/cd-d/.windows-label"
map_unc server share "$dir/share"
mountpoint -q "$dir/small" && umount "$dir/small"
mkdir -p "$dir/small"
if mount -t tmpfs -o size=4m,mode=0777 tmpfs "$dir/small" 2>/dev/null; then
    map_drive t "$dir/small"
else
    echo "no tmpfs for drive T: (mount refused); its tests will skip" >&2
fi
mkdir -p "$WINEPREFIX/drive_c/HD"
# Links for removal's checks (tests skip without them): Wine reports a Unix
# link to a folder as a directory that is a reparse point (0x410), as
# Windows reports a junction. links/Titel/NOTE leads to the user's own
# links/Eigene; links/Verweis, a title folder, leads to links/Ziel.
rm -rf "$dir/links"
mkdir -p "$dir/links/Eigene" "$dir/links/Titel" "$dir/links/Ziel"
ln -s "$dir/links/Eigene" "$dir/links/Titel/NOTE"
ln -s "$dir/links/Ziel" "$dir/links/Verweis"
stop_wineserver

display=$(start_xvfb "$dir/xvfb.pid")
# One wineserver for the whole run (teardown.sh ends it): a test program
# then starts in a fraction of a second instead of seconds.
export DISPLAY="$display"
start_wineserver || { echo "setup.sh: no persistent wineserver for $WINEPREFIX" >&2; exit 1; }
cat >"$dir/env.sh" <<ENV
export WINEPREFIX='$WINEPREFIX'
export WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
export LC_ALL='$WINE_LOCALE'
export DISPLAY='$display'
export ZORVALIA_TEST_DIR='$dir'
export ZORVALIA_BUILD_DIR='$(cd "$dir/.." && pwd)'
ENV
echo "test prefix $WINEPREFIX, display $display"
