#!/usr/bin/env bash
# Runs a Windows test program under wine64.
#
# Under ctest, ZORVALIA_WINE_ENV names the file that the test fixture wrote
# (prefix and display of this test run). Without it (test discovery) the
# program runs in a prefix of its own beside it, made on first use; listing
# the tests needs no display.
set -u
. "$(cd "$(dirname "$0")" && pwd)/../../tools/wineenv.sh"
if [ -n "${ZORVALIA_WINE_ENV:-}" ] && [ -f "$ZORVALIA_WINE_ENV" ]; then
    # shellcheck disable=SC1090
    . "$ZORVALIA_WINE_ENV"
else
    wine_env "$(cd "$(dirname "$1")" && pwd)/wine-discover"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        timeout 180 "$WINE64" wineboot -i >/dev/null 2>&1
        timeout 60 "$WINESERVER" -w >/dev/null 2>&1
    fi
fi
exec timeout "${ZORVALIA_TEST_TIMEOUT:-300}" "$WINE64" "$@"
