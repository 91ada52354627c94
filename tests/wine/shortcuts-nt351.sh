#!/usr/bin/env bash
# The shortcuts' Wine tests again with Wine reporting Windows NT 3.51, where
# shortcuts are Program Manager groups and items made over DDE.
#
#   tests/wine/shortcuts-nt351.sh BUILD_DIR      (run by scripts/test.sh inside a throwaway prefix)
set -uo pipefail

source "$(dirname "$0")/wine-version-tests.sh"
sw_wine_tests_as "${1:?build directory}" nt351 'ShortcutsWineTest.*' shortcuts-nt351
