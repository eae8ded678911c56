#!/usr/bin/env bash
# The demo: a Wine prefix with a simulated title CD in drive D: and a small
# catalogue, and Ordavin.exe opened in it. Without a display it runs under
# Xvfb and leaves a screenshot in build/demo/ordavin.png.
#   tools/demo.sh [--no-build]
set -eu
top="$(cd "$(dirname "$0")/.." && pwd)"
. "$top/tools/wineenv.sh"
if [ "${1:-}" != "--no-build" ]; then
    "$top/tools/install-packages.sh"
    "$top/tools/build.sh"
fi
exe="$top/build/x86_64/Ordavin.exe"
demo="$top/build/demo"
# The CD folder lives on a small file system, so that the CD's size (the used
# bytes of its volume) is that of the simulated CD and not of the host disk.
cdroot="/dev/shm/zorvalia-demo-$$"
mkdir -p "$demo"

make_prefix "$demo/prefix"
rm -rf /dev/shm/zorvalia-demo-*
map_drive d "$cdroot/cd-d" cdrom
printf "ZORVALIA1" >"$cdroot/cd-d/.windows-label"
mkdir -p "$cdroot/cd-d/ZORV1/NOTE" "$WINEPREFIX/drive_c/Zorvalia/ZORV2"
head -c 3000000 /dev/zero >"$cdroot/cd-d/ZORV1/ZORVALIA.V30"
head -c 200000 /dev/zero >"$cdroot/cd-d/ZORV1/ZORVALIA.UPC"
printf 'Hinweise zum Titel\r\n' >"$cdroot/cd-d/ZORV1/NOTE/LIESMICH.TXT"
head -c 1000 /dev/zero >"$WINEPREFIX/drive_c/Zorvalia/ZORV2/BAND2.V30"
stop_wineserver

# The viewer stand-in plays the viewer: it registers the title file types
# and the titles, as the viewer and its setup would.
viewer="$top/build/x86_64/tools/viewer/ViewerStandIn.exe"
export ZORVALIA_VIEWER_LOG='C:\viewer-standin.log'
viewer() { timeout 60 "$WINE64" "$viewer" "$@" >/dev/null 2>&1; }
viewer /associate
viewer /setup 'C:\Zorvalia-Startmenue' 'C:\Zorvalia'
viewer /register 'D:\ZORV1\ZORVALIA.V30' "Zorvalia Band 1 - Erzählungen" 1
viewer /register 'C:\Zorvalia\ZORV2\BAND2.V30' "Zorvalia Band 2 - Briefe" 0
viewer /register 'C:\Zorvalia\ZORV3\BAND3.V60' "Zorvalia Band 3 - Gedichte" 1

if [ -n "${DISPLAY:-}" ] && [ "${ZORVALIA_DEMO_XVFB:-}" = "" ]; then
    "$WINE64" "$exe"
else
    export DISPLAY
    DISPLAY=$(start_xvfb "$demo/xvfb.pid")
    "$WINE64" explorer /desktop=Zorvalia,1024x768 "$exe" &
    sleep "${ZORVALIA_DEMO_SECONDS:-10}"
    import -window root "$demo/ordavin.png"
    echo "screenshot: $demo/ordavin.png"
    stop_wineserver
    stop_xvfb "$demo/xvfb.pid"
fi
rm -rf "$cdroot"
