#!/usr/bin/env bash
# Builds the release twice from scratch, in two build folders of different
# names, and compares the results byte for byte: a time stamp or a build
# path in an executable shows as a difference. Then checks the release as
# a user would (checksums, headers, manifest).
#   reproducible.sh WORK_DIR
set -u
here="$(cd "$(dirname "$0")" && pwd)"
top="$(cd "$here/../.." && pwd)"
work="$1"
rm -rf "$work"
mkdir -p "$work"
for run in first second-build; do
    start=$(date +%s)
    if ! "$top/tools/release.sh" "$work/$run" "$work/dist-$run" >"$work/$run.log" 2>&1; then
        echo "FAIL release build $run:"; tail -20 "$work/$run.log"; exit 1
    fi
    echo "build $run: $(( $(date +%s) - start )) s"
done
fail=0
for f in Ordavin.exe Velmora.exe README.txt SHA256SUMS; do
    if cmp "$work/dist-first/$f" "$work/dist-second-build/$f"; then echo "ok   same bytes: $f"; else fail=1; fi
done
for exe in Ordavin.exe Velmora.exe; do
    stamp=$(i686-w64-mingw32-objdump -p "$work/dist-first/$exe" | sed -n 's/^Time\/Date[[:space:]]*//p')
    case "$stamp" in *1970*) echo "ok   no time stamp: $exe" ;; *) echo "FAIL time stamp in $exe: $stamp"; fail=1 ;; esac
done
if (cd "$work/dist-first" && sha256sum -c SHA256SUMS); then echo "ok   SHA256SUMS"; else fail=1; fi
"$here/check-executable.sh" "$work/dist-first/Ordavin.exe" x86 || fail=1
[ $fail = 0 ] && rm -rf "$work"
exit $fail
