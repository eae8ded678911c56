#!/usr/bin/env bash
# The i686 release executables (the bytes that go into dist/) run by the
# 32-bit Wine loader in a 64-bit prefix of their own, driven by the 64-bit
# check program release_i686_checks.exe (one short scenario per program),
# and the 64-bit build's end-to-end installation and removal run against the
# i686 Ordavin.exe.
#   test-i686.sh [I686_BUILD [X86_64_BUILD]]   defaults: build/i686, build/x86_64
# Exit status: 0 when both passed, else 1; 77 when the 32-bit part cannot run here,
# after a line "i686 tests SKIPPED: <reason>".
#
# The 32-bit loader is an i386 Linux program. A kernel with IA32 emulation
# runs it itself; elsewhere qemu-i386-static runs it, registered through
# binfmt_misc for this run only (ZORVALIA_I686_EMULATE=1 asks for qemu even
# where the kernel could do without). While the interpreter is registered,
# every i386 program of the machine goes through it, and every new prefix's
# wineboot sets up its 32-bit side under emulation (minutes): so it is
# registered after the 64-bit tests and removed again on the way out.
set -u
top="$(cd "$(dirname "$0")/.." && pwd)"
i686="$(cd "${1:-$top/build/i686}" && pwd)"
x64="$(cd "${2:-$top/build/x86_64}" && pwd)"
dir="$x64/wine-i686"
. "$top/tools/wineenv.sh"
WINE32=/usr/lib/wine/wine
QEMU=/usr/bin/qemu-i386-static
BINFMT=/proc/sys/fs/binfmt_misc
# The usual qemu-i386 entry: i386 ELF executables and shared objects.
BINFMT_ENTRY=':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$QEMU"':F'

skip() {
    echo "i686 tests SKIPPED: $*"
    exit 77
}

registered=""
cleanup() {
    [ -f "$dir/env.sh" ] && "$top/tests/env/teardown.sh" "$dir"
    if [ -n "$registered" ]; then
        echo -1 >"$BINFMT/qemu-i386" 2>/dev/null || echo "test-i686.sh: could not remove $BINFMT/qemu-i386" >&2
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The 32-bit loader can start when it can print its version.
loader_runs() { timeout 600 "$WINE32" --version >/dev/null 2>&1; }

[ -x "$WINE32" ] || skip "no 32-bit Wine loader $WINE32 (package wine32:i386)"
for f in "$i686/Ordavin.exe" "$i686/velmora/Velmora.exe" "$x64/tests/release_i686_checks.exe" \
    "$x64/tests/ordavin_tests.exe"; do
    [ -f "$f" ] || skip "$f is missing (tools/build.sh builds it)"
done

mode=native
if [ "${ZORVALIA_I686_EMULATE:-}" = 1 ] || ! loader_runs; then
    mode=emulated
    [ -x "$QEMU" ] || skip "the kernel does not run i386 programs and $QEMU is missing (package qemu-user-static)"
    if [ ! -e "$BINFMT/register" ]; then
        mount -t binfmt_misc binfmt_misc "$BINFMT" 2>/dev/null ||
            skip "binfmt_misc is not mounted at $BINFMT and cannot be mounted here"
    fi
    # An entry someone else made is used and left in place.
    if [ ! -e "$BINFMT/qemu-i386" ]; then
        printf '%b' "$BINFMT_ENTRY" >"$BINFMT/register" 2>/dev/null ||
            skip "cannot register $QEMU with binfmt_misc (needs root)"
        registered=yes
    fi
    grep -q '^enabled' "$BINFMT/qemu-i386" 2>/dev/null || skip "$BINFMT/qemu-i386 is disabled"
    loader_runs || skip "$WINE32 does not start under $QEMU"
fi
echo "i686 tests: 32-bit loader $mode"
if [ "$mode" = emulated ]; then
    export WINEBOOT_TIMEOUT=1800
fi

# The prefix as the 64-bit tests have it (drives, title CD in D:, display,
# persistent wineserver); its wineboot sets up the 32-bit side too. The
# values a 32-bit viewer writes machine-wide land in the registry's 32-bit
# view (HKLM\Software\Wow6432Node\...), and there "ProgramFilesDir" is the
# x86 folder; the checks set "StartMenu" and "NuvadoDir" themselves.
"$top/tests/env/setup.sh" "$dir" || exit 1
. "$dir/env.sh"
pf32=$(timeout 120 "$WINE64" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion' /v ProgramFilesDir /reg:32 2>/dev/null |
    tr -d '\r' | sed -n 's/.*REG_SZ *//p')
[ "$pf32" = 'C:\Program Files (x86)' ] || { echo "test-i686.sh: the prefix's 32-bit ProgramFilesDir is '$pf32'" >&2; exit 1; }

export ZORVALIA_ORDAVIN32="$i686/Ordavin.exe" ZORVALIA_VELMORA32="$i686/velmora/Velmora.exe"
# Under emulation a 32-bit program's start takes a minute or more.
if [ "$mode" = emulated ]; then
    export ZORVALIA_I686_EMULATED=1 ZORVALIA_I686_WAIT_MS=600000 ZORVALIA_TEST_TIMEOUT=3600
fi
export ZORVALIA_WINE_ENV="$dir/env.sh"
status=0
"$top/tests/env/wine-run.sh" "$x64/tests/release_i686_checks.exe" || status=1
out="$dir/e2e.out"
"$top/tests/env/wine-run.sh" "$x64/tests/ordavin_tests.exe" \
    --gtest_filter=OrdavinExe.InstallsACdTitleAndRemovesItAgain 2>&1 | tee "$out" || status=1
grep -q '^\[  PASSED  \] 1 test' "$out" || status=1
# A case that skipped has shown nothing: the run is no pass.
if [ $status = 0 ] && grep -q '^\[  SKIPPED \]' "$out"; then
    skip "the end-to-end installation and removal skipped itself (see above)"
fi
exit $status
