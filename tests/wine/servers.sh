# Sourced, not run: the loopback server of a Wine test script, started in the background and stopped again.
#
#   source tests/wine/servers.sh
#   sw_start_server READY LOG COMMAND...  # starts COMMAND, output to LOG; true once the file READY exists
#                                         # (10 s at most), false when it never appears or the server ends
#   sw_stop_server                        # stops it, when one was started
sw_server_pid=""

sw_start_server() {
    local ready=$1 log=$2
    shift 2
    "$@" >"$log" 2>&1 &
    sw_server_pid=$!
    for _ in $(seq 1 100); do
        [ -e "$ready" ] && return 0
        kill -0 "$sw_server_pid" 2>/dev/null || break
        sleep 0.1
    done
    [ -e "$ready" ]
}

sw_stop_server() {
    if [ -n "$sw_server_pid" ]; then
        kill "$sw_server_pid" 2>/dev/null
        wait "$sw_server_pid" 2>/dev/null
        sw_server_pid=""
    fi
}
