#!/usr/bin/env bash
# Checks a built Ordavin.exe or Velmora.exe from the outside: PE headers,
# hardening, the libraries imported at load time and, for Ordavin, manifest,
# version resource and the order of its icon groups.
#   check-executable.sh EXE ARCH     ARCH: x86 (the release) or amd64
# Exits 77 (skipped) when the executable has not been built.
set -u
exe="$1" arch="$2"
[ -f "$exe" ] || { echo "not built: $exe"; exit 77; }
case "$arch" in
    x86) prefix=i686-w64-mingw32 magic=010b ;;
    *) prefix=x86_64-w64-mingw32 magic=020b ;;
esac
fail=0
check() {   # check DESCRIPTION COMMAND...
    if "${@:2}" >/dev/null 2>&1; then echo "ok   $1"; else echo "FAIL $1"; fail=1; fi
}
headers=$("$prefix-objdump" -p "$exe")
resources=$("$prefix-windres" -i "$exe" -J coff -O rc 2>/dev/null | sed -z 's/"\n *"//g')

check "PE magic $magic" grep -q "^Magic[[:space:]]*$magic" <<<"$headers"
check "GUI subsystem" grep -q "^Subsystem[[:space:]]*00000002" <<<"$headers"
if [ "$arch" = x86 ]; then
    check "minimum OS version 5.0" grep -Pzq 'MajorOSystemVersion\t5\nMinorOSystemVersion\t0\n' <<<"$headers"
    check "subsystem version 5.0" grep -Pzq 'MajorSubsystemVersion\t5\nMinorSubsystemVersion\t0\n' <<<"$headers"
fi
# Randomised base and no-execute data; 64-bit also high-entropy addresses.
flags=$(sed -n 's/^DllCharacteristics[[:space:]]*//p' <<<"$headers")
check "DYNAMIC_BASE and NX_COMPAT (DllCharacteristics $flags)" test $(( 0x$flags & 0x140 )) = $(( 0x140 ))
[ "$arch" = x86 ] || check "HIGH_ENTROPY_VA" test $(( 0x$flags & 0x20 )) = $(( 0x20 ))
# Stack canaries, linked statically: by symbol, or in a stripped release by
# the canary's initial value (framework/StackGuard.cpp, 0x2B992DDF).
has_stack_guard() {
    "$prefix-nm" "$exe" 2>/dev/null | grep -q "__stack_chk_fail" ||
        LC_ALL=C grep -qaP '\xDF\x2D\x99\x2B' "$exe"
}
check "stack protector" has_stack_guard
# Only libraries the system always takes from its own folder (known DLLs
# and the C runtime); comctl32 is delay-imported, winmm loaded by full path.
imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr 'a-z' 'A-Z' | sort | tr '\n' ' ')
others=$(tr ' ' '\n' <<<"$imports" | grep -vxE 'ADVAPI32\.DLL|GDI32\.DLL|KERNEL32\.DLL|MSVCRT\.DLL|OLE32\.DLL|OLEAUT32\.DLL|SHELL32\.DLL|USER32\.DLL|')
check "imports only known DLLs (got: $imports)" test -z "$others"
check "no WINMM import" test -z "$(grep -o WINMM <<<"$imports")"
[ "$(basename "$exe")" = Ordavin.exe ] || exit $fail

check "file version 2.3.0.9" grep -q "FILEVERSION 2, 3, 0, 9" <<<"$resources"
check "product version 2.3.0.9" grep -q "PRODUCTVERSION 2, 3, 0, 9" <<<"$resources"
check "manifest: requireAdministrator" grep -q 'requestedExecutionLevel level=""requireAdministrator""' <<<"$resources"
check "manifest: identity" grep -q 'assemblyIdentity name=""Quendramark.TexorraXP.Ordavin.exe"" version=""5.1.0.0"" processorArchitecture=""'"$arch"'"" type=""win32""' <<<"$resources"
check "manifest: description" grep -q '<description>V30 Installer</description>' <<<"$resources"
check "manifest: common controls 6" grep -q 'name=""Microsoft.Windows.Common-Controls"" version=""6.0.0.0"" processorArchitecture=""'"$arch"'"" publicKeyToken=""6595b64144ccf1df"" language=""\*""' <<<"$resources"
# Icon groups in ascending id order; the shortcut icon (index 7) is 32583.
groups=$("$prefix-windres" -i "$exe" -J coff -O rc 2>/dev/null | sed -n 's/^\([0-9]*\) 14 .*RT_GROUP_ICON.*/\1/p' | tr '\n' ' ')
check "icon groups 128 130 887 888 32580..32585 (got: $groups)" test "$groups" = "128 130 887 888 32580 32581 32582 32583 32584 32585 "
exit $fail
