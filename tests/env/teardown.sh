#!/usr/bin/env bash
# Ends what setup.sh started: the wineserver of the prefix and the display.
set -u
dir="$1"
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/../../tools/wineenv.sh"
if [ -f "$dir/env.sh" ]; then
    . "$dir/env.sh"
    stop_wineserver
fi
stop_xvfb "$dir/xvfb.pid"
mountpoint -q "$dir/small" && umount "$dir/small"
# D:'s folder on the memory file system (see setup.sh).
[ -L "$dir/cd-d" ] && rm -rf "$(readlink "$dir/cd-d")" "$dir/cd-d"
exit 0
