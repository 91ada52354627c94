#!/usr/bin/env bash
# A file held open by another program during the install is replaced when
# Windows restarts: the in-use case of FilesWineTest leaves the new file under
# a temporary name with its rename scheduled (MoveFileEx on Wine's default
# NT personality, WININIT.INI [Rename] as Windows 98), then "wineboot -r"
# restarts the prefix and the new contents must be in place under the file's
# own name.
#
#   tests/wine/in-use-restart.sh BUILD_DIR      (run by scripts/test.sh inside a throwaway prefix)
set -uo pipefail

build=${1:?build directory}
exe="$build/tests/wine_tests.exe"
here=$(cd "$(dirname "$0")/../.." && pwd)
source "$here/scripts/wine-env.sh" && sw_wine_init || exit 1
[ -f "$exe" ] || { echo "no $exe"; echo "0 passed, 1 failed"; exit 1; }
source "$here/tests/wine/checks.sh"
c="$WINEPREFIX/drive_c"

restart_case() {
    local personality=$1 log="$build/tests/in-use-restart-$1.wine.log"
    rm -rf "$c/swinuse"
    SW_RESTART_SCRATCH='C:\swinuse' GTEST_COLOR=no timeout -k 10 300 wine "$exe" --gtest_brief=1 \
        --gtest_filter='FilesWineTest.AFileHeldOpenByAnotherProgramIsReplacedAtTheRestart' >"$log" 2>&1
    check "$personality: the install left the file for the restart" \
        grep -q '^\[  PASSED  \] 1 test' <(tr -d '\r' <"$log")
    check "$personality: before the restart the old file is in place" \
        [ "$(cat "$c/swinuse/dest/inuse.txt" 2>/dev/null)" = "old" ]
    timeout -k 10 300 wineboot -r >/dev/null 2>&1
    timeout -k 5 120 wineserver -w
    check "$personality: after the restart the new file is in place" \
        [ "$(cat "$c/swinuse/dest/inuse.txt" 2>/dev/null)" = "new contents" ]
    check "$personality: the temporary name is gone" [ ! -e "$c/swinuse/dest/inuse.1" ]
    rm -rf "$c/swinuse"
}

restart_case default
sw_wine_version win98 || { echo "could not set the Windows version"; exit 1; }
restart_case win98

checks_summary
