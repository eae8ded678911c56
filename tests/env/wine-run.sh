#!/usr/bin/env bash
# Runs a Windows test program under wine64.
#
# Under ctest, ZORVALIA_WINE_ENV names the file that the test fixture wrote
# (prefix and display of this test run). Without it (test discovery) the
# program runs in a prefix of its own beside it, made on first use; listing
# the tests needs no display.
set -u
if [ -n "${ZORVALIA_WINE_ENV:-}" ] && [ -f "$ZORVALIA_WINE_ENV" ]; then
    # shellcheck disable=SC1090
    . "$ZORVALIA_WINE_ENV"
else
    export WINEPREFIX="$(cd "$(dirname "$1")" && pwd)/wine-discover"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
    export LC_CTYPE=C.UTF-8
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        timeout 180 /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
        timeout 60 /usr/lib/wine/wineserver -w >/dev/null 2>&1
    fi
fi
exec timeout "${ZORVALIA_TEST_TIMEOUT:-300}" /usr/lib/wine/wine64 "$@"
