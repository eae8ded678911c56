#!/usr/bin/env bash
# The demo: a Wine prefix with a title CD in the CD-ROM drive D:, a
# catalogue with a title in every status, the viewer stand-in, and
# Ordavin.exe with an empty Install.log beside it.
#   tools/demo.sh [--no-build]
# With a display (DISPLAY set) Ordavin.exe opens for you to use. Without one,
# or with ZORVALIA_DEMO_XVFB=1, the walk-through (tools/demo/DemoWalk.cpp)
# drives the real program under Xvfb and leaves a picture of each step in
# build/demo/*.png and what changed in build/demo/report.txt.
set -eu
top="$(cd "$(dirname "$0")/.." && pwd)"
. "$top/tools/wineenv.sh"
started=$(date +%s)
fail() { echo "demo.sh: $*" >&2; exit 1; }
trap 'echo "demo.sh: failed at line $LINENO: $BASH_COMMAND" >&2' ERR

build="$top/build/x86_64"
if [ "${1:-}" != "--no-build" ]; then
    "$top/tools/install-packages.sh"
    cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-x86_64.cmake" >/dev/null
    cmake --build "$build" -j "$(nproc)" --target Ordavin ViewerStandIn DemoWalk
fi
for exe in Ordavin.exe tools/viewer/ViewerStandIn.exe tools/demo/DemoWalk.exe; do
    [ -f "$build/$exe" ] || fail "$build/$exe is missing: run tools/demo.sh without --no-build"
done
walk=yes
[ -n "${DISPLAY:-}" ] && [ -z "${ZORVALIA_DEMO_XVFB:-}" ] && walk=no

demo="$top/build/demo"
# A folder of the host as Windows sees it (through Z:).
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
# A text in UTF-8 as a Windows text file: code page 1252, CR LF.
wintext() { iconv -f UTF-8 -t CP1252 | sed 's/$/\r/'; }

# ---- the prefix and its drives ----------------------------------------------
echo "preparing the demo prefix in $demo/prefix"
[ -f "$demo/xvfb.pid" ] && stop_xvfb "$demo/xvfb.pid"
if [ -d "$demo/prefix" ]; then wine_env "$demo/prefix"; stop_wineserver; fi
[ -L "$demo/cd-d" ] && rm -rf "$(readlink "$demo/cd-d")"
rm -rf "$demo"
mkdir -p "$demo/shots"
make_prefix "$demo/prefix" || fail "wineboot could not make the prefix"
c="$WINEPREFIX/drive_c"
if [ $walk = yes ]; then
    # Unmanaged windows: without a window manager Wine takes seconds to
    # destroy a managed one, and real mouse input reaches them directly.
    timeout 60 "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
fi
# D: shows a folder on the memory file system, so that the CD's size (the
# used bytes of its volume) is small, as a real CD's, and C: has room for it.
ln -s "$(mktemp -d /dev/shm/zorvalia-demo-XXXXXX)" "$demo/cd-d"
map_drive d "$demo/cd-d" cdrom
printf "ZORVALIA1" >"$demo/cd-d/.windows-label"
map_drive e "$demo/cd-e" cdrom        # a CD-ROM drive without its CD
map_unc server share "$demo/share"    # \\server\share

# ---- the title CD in D: -----------------------------------------------------
# Copied: the files ending in "0", the ".UPC" files and the notes (".RTF",
# ".TXT" in NOTE). Left on the CD: everything else.
cd1="$demo/cd-d/ZORV1"
mkdir -p "$cd1/NOTE"
# What a program draws reaches the screen under Wine when it waits for
# messages, and while it is busy only once it has not waited for 50 ms. So
# the first file copied (the data file) is large enough to outlast that, and
# the walk-through finds the bar on the screen while the later ones are.
head -c 96000000 /dev/urandom >"$cd1/ZORVALIA.DA0"
head -c 24000000 /dev/urandom >"$cd1/ZORVALIA.V30"
head -c 800000 /dev/urandom >"$cd1/ZORVALIA.IX0"
head -c 120000 /dev/urandom >"$cd1/ZORVALIA.UPC"
head -c 40000 /dev/urandom >"$cd1/REGISTER.UPC"
head -c 50000 /dev/urandom >"$cd1/ZORVALIA.BAK"
head -c 20000 /dev/urandom >"$cd1/NOTE/TITELBLD.BMP"
wintext >"$cd1/NOTE/LIESMICH.TXT" <<'TXT'
Zorvalia Band 1 - Erzählungen
=============================

Dieser Band enthält sämtliche Erzählungen der Ausgabe letzter Hand
in der Textfassung der kritischen Edition, mit Lesarten und einem
Register der Orts- und Personennamen.

Hinweise zur Installation
- Schließen Sie Texorra, bevor Sie den Titel auf die Festplatte
  übertragen oder von dort entfernen.
- Der Titel belegt auf der Festplatte etwa 10 MB.
- Nach der Übertragung startet der Titel auch ohne eingelegte CD.
TXT
wintext >"$cd1/NOTE/HINWEISE.RTF" <<'RTF'
{\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fswiss Arial;}}
\f0\fs20{\b Zorvalia Band 1 - Erz\'e4hlungen}\par
\par
Die Volltextsuche \'fcber alle B\'e4nde ({\i Felvanta}) erfasst diesen Titel, wenn er in Texorra daf\'fcr markiert ist.\par
Korrekturen gegen\'fcber der Druckausgabe sind im Register unter \'84Lesarten\'93 verzeichnet.\par
}
RTF
printf '[autorun]\r\nopen=SETUP.EXE\r\n' >"$demo/cd-d/AUTORUN.INF"
head -c 30000 /dev/urandom >"$demo/cd-d/SETUP.EXE"

# ---- titles elsewhere, and the installer ------------------------------------
mkdir -p "$c/Texorra/Zorvalia/ZORV2" "$demo/share/ZORV5" "$c/Ordavin"
head -c 400000 /dev/urandom >"$c/Texorra/Zorvalia/ZORV2/BAND2.V30"
head -c 300000 /dev/urandom >"$demo/share/ZORV5/BAND5.V30"
cp "$build/Ordavin.exe" "$c/Ordavin/Ordavin.exe"
: >"$c/Ordavin/Install.log"
stop_wineserver    # D: and E: are CD-ROM drives from the next start on

if [ $walk = yes ]; then
    export DISPLAY
    DISPLAY=$(start_xvfb "$demo/xvfb.pid") || fail "Xvfb did not start"
fi
start_wineserver || fail "no wineserver for $WINEPREFIX"
cleanup() {
    stop_wineserver
    [ -f "$demo/xvfb.pid" ] && stop_xvfb "$demo/xvfb.pid"
    [ -L "$demo/cd-d" ] && rm -rf "$(readlink "$demo/cd-d")"
    return 0
}
trap cleanup EXIT

# ---- the viewer's registrations ---------------------------------------------
# The viewer stand-in plays the viewer and its setup: it opens ".V30" and
# ".V60" files, and registers the titles and the machine-wide values.
export ZORVALIA_VIEWER_LOG='C:\viewer-standin.log'
viewer() {
    timeout 60 "$WINE64" "$build/tools/viewer/ViewerStandIn.exe" "$@" </dev/null >/dev/null 2>&1 ||
        fail "ViewerStandIn.exe $* failed"
}
startmenu='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Texorra - Quendramark'
viewer /associate
viewer /setup "$startmenu" 'C:\Texorra\Zorvalia'
viewer /register 'D:\ZORV1\ZORVALIA.V30' "Zorvalia Band 1 - Erzählungen" 1           # CD in the drive
viewer /register 'C:\Texorra\Zorvalia\ZORV2\BAND2.V30' "Zorvalia Band 2 - Briefe" 0 # hard disk
viewer /register 'C:\Texorra\Zorvalia\ZORV3\BAND3.V60' "Zorvalia Band 3 - Gedichte" 1 # missing
viewer /register 'E:\ZORV4\BAND4.V30' "Zorvalia Band 4 - Tagebücher" 0              # CD not inserted
viewer /register '\\server\share\ZORV5\BAND5.V30' "Zorvalia Band 5 - Reden" 1        # network
viewer /register '\\server\share\ZORV6\BAND6.V60' "Zorvalia Band 6 - Nachlass" 0     # network, missing

if [ $walk = no ]; then
    echo "Ordavin.exe is open on $DISPLAY (the demo ends when you close it)"
    "$WINE64" 'C:\Ordavin\Ordavin.exe' || true
    exit 0
fi

# ---- the walk-through -------------------------------------------------------
echo "walk-through on Xvfb $DISPLAY"
timeout 120 "$WINE64" "$build/tools/demo/DemoWalk.exe" 'C:\Ordavin\Ordavin.exe' "$(winpath "$demo/shots")" \
    </dev/null | tr -d '\r' | tee "$demo/walk.txt"
status=${PIPESTATUS[0]}
for bmp in "$demo"/shots/*.bmp; do
    [ -f "$bmp" ] || continue
    convert "$bmp" "$demo/$(basename "${bmp%.bmp}").png"
done
rm -f "$demo"/shots/*.bmp
[ $status -eq 0 ] || fail "the walk-through failed (exit code $status); see above and the pictures in $demo"

state() { iconv -f CP1252 -t UTF-8 "$demo/shots/state-$1.txt"; }
changes() {
    diff --unchanged-line-format='' --old-line-format='  - %L' --new-line-format='  + %L' \
        <(state "$1") <(state "$2") || true
}
{
    echo "Ordavin demo walk-through, $(date '+%Y-%m-%d %H:%M')"
    echo
    echo "Steps (pictures in build/demo/NN-*.png):"
    sed 's/^/  /' "$demo/walk.txt" | grep -v '^ *picture '
    echo
    echo "Before the walk (disk below NuvadoDir, the viewer's per-user registry, the"
    echo "Start-menu group, Install.log and the viewer stand-in's log):"
    state before | sed 's/^/  /'
    echo
    echo "What the installation changed (- gone, + new):"
    changes before installed
    echo
    echo "What removal, dropping the missing title and the launch changed:"
    changes installed after
} >"$demo/report.txt"
echo "pictures: $(ls "$demo"/*.png | wc -l) in $demo; report: $demo/report.txt"
echo "demo time: $(( $(date +%s) - started )) s"
