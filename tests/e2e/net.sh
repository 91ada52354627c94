#!/usr/bin/env bash
# The demo as a net distribution (DistributeType dtWeb: only the uninstaller travels in setup.exe, every other
# file is fetched from pub/setup on an HTTP server at 127.0.0.1), served slowly enough that each download lasts
# a while, installed through the wizard with the default choices. While an archive downloads, the copy-progress
# window shows its transfer picture; every archive comes from the server; the install leaves what the default
# choices install, and the uninstaller leaves the prefix as before.
#
# The project names 127.0.0.1 with HTTP's default port 80: the script runs in a network namespace of its own
# (unshare -n), where that port is free whatever else runs on the machine.
#
#   tests/e2e/net.sh BUILD_DIR
source "$(dirname "$0")/../wine/own-network.sh" "the net path" "$@"
source "$(dirname "$0")/lib.sh"
source "$e2e_root/tests/wine/servers.sh"
trap 'sw_stop_server; sw_wine_cleanup' EXIT

net_dist="$e2e_build/tests/e2e-net-distribution"
if [ ! -f "$net_dist/setup.exe" ]; then
    cmake --build "$e2e_build" --target e2e_net_distribution >"$e2e_tmp/net-distribution.log" 2>&1 ||
        { cat "$e2e_tmp/net-distribution.log"; e2e_abort "the demo's net distribution does not build"; }
fi
archives=("$net_dist/127.0.0.1/pubsetup/"*)
[ -f "${archives[0]}" ] || e2e_abort "the net distribution has no files for the server"
cp "$net_dist/setup.exe" "$e2e_drive/Downloads/setup.exe"

# The server's tree, as the author copies the net folder up; HTTP sends 32 KB a second.
mkdir -p "$e2e_tmp/root/pub/setup" "$e2e_tmp/server"
cp "${archives[@]}" "$e2e_tmp/root/pub/setup/"
sw_start_server "$e2e_tmp/server/ready" "$e2e_tmp/server.log" timeout -k 5 600 /usr/bin/python3 \
    "$e2e_root/tests/wine/dist_servers.py" "$e2e_tmp/root" 80 21 "$e2e_tmp/server" 590 32768 ||
    { cat "$e2e_tmp/server.log"; e2e_abort "the server does not start"; }
transfers="$e2e_tmp/server/transfers.log"

# The copy-progress window's screenshots, every 0.3 s while it shows, as $e2e_tmp/progress/NNN.png.
mkdir -p "$e2e_tmp/progress"
(
    end=$((SECONDS + 300))
    while [ $SECONDS -lt $end ] && [ -z "$(xdotool search --onlyvisible --name '^Copying installation files$')" ]; do
        sleep 0.1
    done
    n=0
    while id=$(xdotool search --onlyvisible --name '^Copying installation files$' | head -n 1) && [ -n "$id" ]; do
        n=$((n + 1))
        timeout -k 2 20 import -window "$id" "$(printf '%s/progress/%03d.png' "$e2e_tmp" $n)" 2>/dev/null
        sleep 0.3
    done
) 2>/dev/null &
watch_pid=$!

# colours SHOT X Y: the number of colours in the 40 x 40 square at X, Y of the window's client area.
colours() { convert "$1" -crop "40x40+$((3 + $2))+$((22 + $3))" +repage -format %k info: 2>/dev/null; }
# The transfer picture is at 8, 62 of the client area, under the unpacking picture at 8, 8; hidden, it is the
# window's plain face.
transfer_shown() { [ "$(colours "$1" 12 66)" -gt 1 ] && [ "$(colours "$1" 12 12)" -gt 1 ]; }

e2e_state "$e2e_tmp/before"
e2e_start_setup
e2e_walk_defaults || e2e_abort "the wizard did not reach the copy"
e2e_page 'Setup complete' 'Finish' || e2e_abort "the install did not complete"
kill "$watch_pid" 2>/dev/null
wait "$watch_pid" 2>/dev/null
shots=("$e2e_tmp"/progress/*.png)
[ -f "${shots[0]}" ] || shots=()
check "the copy-progress window showed (${#shots[@]} screenshots)" [ ${#shots[@]} -gt 0 ]
shown=""
for shot in "${shots[@]}"; do
    transfer_shown "$shot" && { shown=$shot; break; }
done
check "the copy-progress window showed the transfer picture while an archive downloaded" [ -n "$shown" ]
[ -n "$shown" ] && cp "$shown" "$e2e_shots/copy-progress-transfer.png"
[ ${#shots[@]} -gt 0 ] && cp "${shots[-1]}" "$e2e_shots/copy-progress-last.png"
sw_page_click "$e2e_id" $SW_FINISH_BTN
e2e_wait_setup 0

fetched_all() {
    local f missing=""
    for f in "${archives[@]}"; do
        grep -q -x -F "HTTP /pub/setup/$(basename "$f") complete" "$transfers" || missing+=" $(basename "$f")"
    done
    [ -z "$missing" ] || { echo "     not fetched:$missing"; return 1; }
}
check "every file of the server came by HTTP" fetched_all
e2e_defaults_installed_and_removed
sw_stop_server
e2e_finish
