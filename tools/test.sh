#!/usr/bin/env bash
# Sets up what is missing, builds both targets and runs all tests.
set -eu
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/tools/install-packages.sh"
start=$(date +%s)
"$top/tools/build.sh"
echo "build time: $(( $(date +%s) - start )) s"
cd "$top/build/x86_64"
start=$(date +%s)
status=0
ctest --output-on-failure -LE benchmark "$@" || status=$?
echo "test time: $(( $(date +%s) - start )) s"
exit $status
