#!/usr/bin/env bash
# The net install tests under Wine, through Wine's real WININET.DLL, against an HTTP and an FTP server on
# 127.0.0.1 that this script starts (tests/wine/net_servers.py) and stops again; their lifetime is bounded.
#
#   tests/wine/net-install.sh BUILD_DIR      (run by scripts/test.sh inside a throwaway prefix)
set -uo pipefail

build=${1:?build directory}
here=$(cd "$(dirname "$0")/../.." && pwd)
own_wine=""
if [ -z "${SW_WINE_READY:-}" ]; then
    source "$here/scripts/wine-env.sh" && sw_wine_init || exit 1
    own_wine=1
fi
python=/usr/bin/python3
"$python" -c 'import pyftpdlib' 2>/dev/null || { echo "python3-pyftpdlib is missing (scripts/install-prereqs.sh)"; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/sw-net.XXXXXX")
source "$here/tests/wine/servers.sh"
stop_servers() {
    sw_stop_server
    rm -rf "$work"
}
# Replaces the Wine environment's own trap: its cleanup runs here when this script made the prefix.
trap 'stop_servers; [ -n "$own_wine" ] && sw_wine_cleanup' EXIT

if ! sw_start_server "$work/ports" "$work/servers.log" \
    timeout -k 5 900 "$python" "$here/tests/wine/net_servers.py" "$work/root" "$work/ports" 880; then
    echo "the loopback servers did not start:"
    cat "$work/servers.log"
    echo "0 passed, 1 failed"
    exit 1
fi
read -r http ftp closed <"$work/ports"
export SW_NET_HTTP=${http#HTTP=} SW_NET_FTP=${ftp#FTP=} SW_NET_CLOSED=${closed#CLOSED=}
echo "servers: HTTP $SW_NET_HTTP, FTP $SW_NET_FTP, closed port $SW_NET_CLOSED"

passed=0
failed=0
# run EXE FILTER: one GoogleTest program under Wine, its cases counted.
run() {
    local exe=$1 filter=$2 log
    log="$work/$(basename "$exe" .exe).log"
    GTEST_COLOR=no timeout -k 10 600 wine "$exe" --gtest_brief=1 --gtest_filter="$filter" >"$log" 2>&1
    local rc=$?
    tr -d '\r' <"$log" | grep -v -E '^Running main\(\)'
    local ran ok skipped
    ran=$(tr -d '\r' <"$log" | sed -n 's/^\[==========\] \([0-9]*\) tests\{0,1\} from .* ran\..*/\1/p' | tail -n 1)
    ok=$(tr -d '\r' <"$log" | sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\..*/\1/p' | tail -n 1)
    skipped=$(tr -d '\r' <"$log" | sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\{0,1\}\..*/\1/p' | tail -n 1)
    if [ -z "$ran" ]; then
        echo "-- $(basename "$exe"): no summary (exit code $rc)"
        failed=$((failed + 1))
        return
    fi
    local bad=$((ran - ${ok:-0} - ${skipped:-0}))
    [ "$rc" -ne 0 ] && [ "$bad" -eq 0 ] && bad=1
    passed=$((passed + ${ok:-0}))
    failed=$((failed + bad))
}

run "$build/tests/wine_tests.exe" 'NetInstallWine*'
run "$build/tests/contract_tests.exe" 'InternetContract*'
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
