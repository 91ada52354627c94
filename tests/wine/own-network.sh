# Sourced first by a script whose servers take the default ports of 127.0.0.1 (80, 21): runs the script again
# in a network namespace of its own (unshare -n), where those ports are free whatever else runs on the
# machine, and brings its loopback interface up there.
#
#   source tests/wine/own-network.sh WHAT "$@"     # WHAT: what cannot run without one, for the message
own_network_what=$1
shift
if [ -z "${SW_NET_NAMESPACE:-}" ]; then
    if ! unshare -n true 2>/dev/null; then
        echo "no network namespace can be made here (unshare -n needs CAP_SYS_ADMIN), so the servers cannot"
        echo "have the ports of 127.0.0.1 to themselves: $own_network_what cannot run"
        echo "0 passed, 1 failed"
        exit 1
    fi
    # Wine's server makes the sockets of its programs: it has to start inside the namespace as well.
    [ -n "${WINEPREFIX:-}" ] && timeout -k 5 30 wineserver -k >/dev/null 2>&1
    SW_NET_NAMESPACE=1 exec unshare -n "$BASH" "$0" "$@"
fi
ip link set lo up || { echo "cannot bring up the loopback interface"; echo "0 passed, 1 failed"; exit 1; }
