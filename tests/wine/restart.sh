#!/usr/bin/env bash
# The run after a restart, under Wine: a first run of a setup.exe whose
# archive is corrupt ends badly and keeps its install record; unfinished business is added to
# the record with the restart command in RunOnce, as a run that replaced a
# file in use leaves them; "wineboot -r" restarts the prefix, which runs the
# command once. The r run must complete the list (the rename batch deleted),
# end well, remove the record, and RunOnce must be empty again. Once with
# Wine's default personality and once as Windows 98.
#
#   tests/wine/restart.sh BUILD_DIR      (run by scripts/test.sh inside a throwaway prefix)
set -uo pipefail

build=${1:?build directory}
setup="$build/tests/restart_setup.exe"
here=$(cd "$(dirname "$0")/../.." && pwd)
source "$here/scripts/wine-env.sh" && sw_wine_init || exit 1
[ -f "$setup" ] || { echo "no $setup"; echo "0 passed, 1 failed"; exit 1; }

source "$here/tests/wine/checks.sh"
c="$WINEPREFIX/drive_c"
dist="$c/Dist Folder"
record='HKLM\SOFTWARE\Pellmoor\Install\Install0'
runonce='HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce'
q() { timeout -k 5 120 wine reg query "$@" >/dev/null 2>&1; }
add() { timeout -k 5 120 wine reg add "$@" /f >/dev/null 2>&1; }

# first_run: setup.exe fails reading its corrupt archive, shows the error,
# which is answered, and keeps its record.
first_run() {
    local log="$build/tests/restart-first-run.log"
    WINEDEBUG=trace+msgbox timeout -k 5 120 wine 'C:\Dist Folder\setup.exe' -d "-sC:\\Dist Folder" >"$log" 2>&1 &
    local pid=$! i
    for i in $(seq 1 120); do
        grep -q 'trace:msgbox:MSGBOX_OnInit' "$log" && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.5
    done
    sleep 1
    xdotool key --clearmodifiers Return 2>/dev/null
    wait "$pid" 2>/dev/null
    timeout -k 5 60 wineserver -w
}

restart_case() {
    local personality=$1
    mkdir -p "$dist"
    cp "$setup" "$dist/setup.exe"
    yes "not an archive" | head -c 3000 >"$dist/files.1"
    first_run
    check "$personality: the failed run kept its record" q "$record" /v Path
    echo "rename" >"$c/swren1.bat"
    echo "keep" >"$c/swkeep.bat"
    add "$record\\Unfinished" /v 'C:\swren1.bat' /d 1
    add "$record\\Unfinished" /v 'C:\swgone.bat' /d 1
    add "$record\\Unfinished" /v 'Strange' /d 7
    add "$runonce" /v PellmoorUnfinished /d '"C:\Dist Folder\setup.exe" -r "-sC:\Dist Folder"'
    timeout -k 10 300 wineboot -r >/dev/null 2>&1
    timeout -k 5 120 wineserver -w
    check "$personality: the rename batch was deleted" [ ! -e "$c/swren1.bat" ]
    check "$personality: an unlisted file stays" [ -f "$c/swkeep.bat" ]
    check "$personality: the record is gone after the good end" eval "! q '$record'"
    check "$personality: the restart command ran once" eval "! q '$runonce' /v PellmoorUnfinished"
    rm -rf "$dist" "$c/swkeep.bat"
}

restart_case default
sw_wine_version win98 || { echo "could not set the Windows version"; exit 1; }
restart_case win98

checks_summary
