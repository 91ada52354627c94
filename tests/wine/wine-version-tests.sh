# Sourced by the scripts that run some of wine_tests.exe again with Wine
# reporting another Windows version; not run by itself.
#
#   sw_wine_tests_as BUILD_DIR VERSION FILTER NAME
#
# Runs the tests FILTER selects with Wine set to VERSION (SW_WINE_VERSION tells
# the tests), keeps the output in BUILD_DIR/tests/NAME.wine.log, and ends with
# "N passed, N failed"; fails when any failed.
sw_wine_tests_as() {
    local build=$1 version=$2 filter=$3 name=$4
    local exe="$build/tests/wine_tests.exe"
    local here
    here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
    # Keeps the caller's prefix and display when it made them already.
    source "$here/scripts/wine-env.sh" && sw_wine_init || return 1
    [ -f "$exe" ] || { echo "no $exe"; return 1; }
    sw_wine_version "$version" || { echo "could not set the Windows version"; return 1; }

    local log="$build/tests/$name.wine.log" rc ran ok skipped failed
    SW_WINE_VERSION=$version GTEST_COLOR=no timeout -k 10 600 wine "$exe" --gtest_brief=1 --gtest_filter="$filter" \
        >"$log" 2>&1
    rc=$?
    tr -d '\r' <"$log"
    ran=$(tr -d '\r' <"$log" | sed -n 's/^\[==========\] \([0-9]*\) tests\? from .* ran\..*/\1/p' | tail -n 1)
    ok=$(tr -d '\r' <"$log" | sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\..*/\1/p' | tail -n 1)
    skipped=$(tr -d '\r' <"$log" | sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\?[.,].*/\1/p' | tail -n 1)
    ran=${ran:-0}
    ok=${ok:-0}
    # A test that does not apply to this version skips, and says so in the log.
    failed=$((ran - ok - ${skipped:-0}))
    [ "$rc" -ne 0 ] && [ "$failed" -eq 0 ] && failed=1
    echo "$ok passed, $failed failed"
    [ "$failed" -eq 0 ]
}
