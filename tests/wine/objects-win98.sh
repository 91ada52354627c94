#!/usr/bin/env bash
# The objects' Wine tests again with Wine reporting Windows 98, where the
# version code and the shell folders depend on the personality.
#
#   tests/wine/objects-win98.sh BUILD_DIR      (run by scripts/test.sh inside a throwaway prefix)
set -uo pipefail

source "$(dirname "$0")/wine-version-tests.sh"
sw_wine_tests_as "${1:?build directory}" win98 'ObjectsWineTest.*' objects-win98
