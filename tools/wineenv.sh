# Shell functions shared by the test fixture and the demo: a private Wine
# prefix with simulated drives, and an Xvfb display. Source this file.

WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
# Seconds a wineboot may take; its 32-bit part under emulation takes minutes.
WINEBOOT_TIMEOUT=${WINEBOOT_TIMEOUT:-180}

# The prefix runs German, as the programs' users do: Wine takes the user's
# locale, the ANSI code page (1252) and OEM code page (850) and the language
# of its own texts (message box buttons "Ja"/"Nein", the folder browser's
# "Verzeichnis auswählen") from the host locale of each process it starts.
# Every Wine process also writes that locale into the prefix's registry, so
# it must be the same for every Wine call made on a prefix: setup, tests and
# demo all take it from here (tests/env/setup.sh copies it into env.sh).
# Wine reads LC_ALL even where the host has no such locale generated;
# tools/install-packages.sh generates it all the same.
WINE_LOCALE=de_DE.UTF-8

# wine_env PREFIX: exports what every Wine call here needs.
wine_env() {
    export WINEPREFIX="$1"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
    export LC_ALL="$WINE_LOCALE"
}

# Wine's own fonts (package fonts-wine) for a prefix. Debian's Wine looks for
# them in "<data dir>/../fonts", i.e. /usr/share/fonts, while fonts-wine puts
# them in /usr/share/wine/fonts, so a new prefix has none of them. Without
# Marlett, the symbol font in which user32 draws the caption buttons, the
# close box showed the letter "r" (Marlett's code for the close symbol) in
# whatever font stood in for it. Without the bitmap "MS Sans Serif"
# (sserife.fon) the dialogs' font fell back to Liberation Sans, whose wider
# letters broke labels that fit on Windows (such as "vom CD-Laufwerk:").
# Fonts in the prefix's Windows\Fonts folder are always loaded.
WINE_FONTS=/usr/share/wine/fonts

# make_prefix PREFIX: a fresh prefix with Wine's fonts (above) and without
# the crash dialog. Text is drawn without smoothing, so that what a program
# shows (and what a test reads off its pixels) does not depend on the host's
# fonts and their smoothing.
make_prefix() {
    wine_env "$1"
    rm -rf "$1"
    mkdir -p "$1"
    timeout "$WINEBOOT_TIMEOUT" "$WINE64" wineboot -i >/dev/null 2>&1 || return 1
    # Before the first program draws: each Wine process reads this folder.
    mkdir -p "$1/drive_c/windows/Fonts"
    cp "$WINE_FONTS"/* "$1/drive_c/windows/Fonts/" || return 1
    cat >"$1/drive_c/settings.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Control Panel\Desktop]
"FontSmoothing"="0"
"FontSmoothingType"=dword:00000001
REG
    timeout 60 "$WINE64" regedit /S 'C:\settings.reg' >/dev/null 2>&1
    rm -f "$1/drive_c/settings.reg"
}

# map_drive LETTER FOLDER [cdrom]: drive LETTER: shows FOLDER; with cdrom it
# is a CD-ROM drive once the wineserver restarts (stop_wineserver).
map_drive() {
    local letter="$1" folder="$2" kind="${3:-}"
    mkdir -p "$folder"
    ln -sfn "$folder" "$WINEPREFIX/dosdevices/$letter:"
    if [ "$kind" = cdrom ]; then
        timeout 60 "$WINE64" reg add 'HKLM\Software\Wine\Drives' /v "$letter:" /d cdrom /f >/dev/null 2>&1
    fi
}

# map_unc SERVER SHARE FOLDER: \\SERVER\SHARE shows FOLDER.
map_unc() {
    mkdir -p "$WINEPREFIX/dosdevices/unc/$1" "$3"
    ln -sfn "$3" "$WINEPREFIX/dosdevices/unc/$1/$2"
}

# start_wineserver: a persistent server for the prefix, kept until
# stop_wineserver. Wine's own processes (services, the desktop) then stay
# too, so each program started later skips Wine's start-up. They are
# started here with their output sent nowhere: a process that inherited a
# caller's output pipe would keep it open for good.
start_wineserver() {
    "$WINESERVER" -p </dev/null >/dev/null 2>&1 || return 1
    timeout "$WINEBOOT_TIMEOUT" "$WINE64" wineboot </dev/null >/dev/null 2>&1
    timeout 60 "$WINE64" rundll32 user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1
    return 0
}

# stop_wineserver: also when none runs (callers may run under set -e).
stop_wineserver() {
    timeout 60 "$WINESERVER" -k >/dev/null 2>&1 || true
    timeout 60 "$WINESERVER" -w >/dev/null 2>&1 || true
    return 0
}

# start_xvfb PIDFILE: starts a display; prints its name (":N").
start_xvfb() {
    local pidfile="$1" fifo display
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    echo $! >"$pidfile"
    display=$(timeout 30 head -n1 "$fifo")
    rm -f "$fifo"
    [ -n "$display" ] || return 1
    echo ":$display"
}

# stop_xvfb PIDFILE
stop_xvfb() {
    local pid
    pid=$(cat "$1" 2>/dev/null) || return 0
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    rm -f "$1"
    return 0
}
