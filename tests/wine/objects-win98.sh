#!/usr/bin/env bash
# The objects' Wine tests again with Wine reporting Windows 98, where the
# version code and the shell folders depend on the personality.
#
#   tests/wine/objects-win98.sh BUILD_DIR      (run by scripts/test.sh inside a throwaway prefix)
set -uo pipefail

build=${1:?build directory}
exe="$build/tests/wine_tests.exe"
here=$(cd "$(dirname "$0")/../.." && pwd)
# Keeps the caller's prefix and display when it made them already.
source "$here/scripts/wine-env.sh" && sw_wine_init || exit 1
[ -f "$exe" ] || { echo "no $exe"; exit 1; }
sw_wine_version win98 || { echo "could not set the Windows version"; exit 1; }

log="$build/tests/objects-win98.wine.log"
SW_WINE_VERSION=win98 GTEST_COLOR=no timeout -k 10 600 wine "$exe" --gtest_brief=1 --gtest_filter='ObjectsWineTest.*' \
    >"$log" 2>&1
rc=$?
tr -d '\r' <"$log"
ran=$(tr -d '\r' <"$log" | sed -n 's/^\[==========\] \([0-9]*\) tests\? from .* ran\..*/\1/p' | tail -n 1)
ok=$(tr -d '\r' <"$log" | sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\..*/\1/p' | tail -n 1)
ran=${ran:-0}
ok=${ok:-0}
failed=$((ran - ok))
[ "$rc" -ne 0 ] && [ "$failed" -eq 0 ] && failed=1
echo "$ok passed, $failed failed"
[ "$failed" -eq 0 ]
