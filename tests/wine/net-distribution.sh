#!/usr/bin/env bash
# Net distributions under Wine, end to end. "setup.exe -b" of a dtWeb and of a dtTraditionalNet project (the
# demo's files) writes the net archives and filelist.lst, which must read back to the sizes, dates and
# versions of the source files. Then the dtWeb distribution, served by loopback HTTP and FTP servers
# (tests/wine/dist_servers.py), installs from its setup.exe alone: once straight through, once after a
# transfer cut half-way, which ends the first run badly with its record kept, and a second run that resumes
# with the record's local copies (the servers' transfer log tells what was fetched again).
#
# The projects name 127.0.0.1 with the default ports 80 and 21: the test runs in a network namespace of its
# own (unshare -n), where those ports are free whatever else runs on the machine.
#
#   tests/wine/net-distribution.sh BUILD_DIR      (run by scripts/test.sh inside a throwaway prefix)
set -uo pipefail

build=$(cd "${1:?build directory}" && pwd) || exit 1
here=$(cd "$(dirname "$0")/../.." && pwd)

source "$here/tests/wine/own-network.sh" "the net distribution test" "$@"

source "$here/scripts/wine-env.sh" && sw_wine_init || exit 1
source "$here/tests/wine/checks.sh"
python=/usr/bin/python3
archive="$(dirname "$build")/native/tools/archive/archive"
demo_files="$build/examples/demo/files"
loader_dir="$build/src/app/loader"
for f in "$archive" "$build/tests/net_web_setup.exe" "$build/tests/net_tradnet_setup.exe" \
    "$demo_files/SwDemoLib.dll" "$loader_dir/PellmoorLoadProgram.exe"; do
    [ -f "$f" ] || { echo "no $f"; echo "0 passed, 1 failed"; exit 1; }
done
"$python" -c 'import pyftpdlib' 2>/dev/null || { echo "python3-pyftpdlib is missing (scripts/install-prereqs.sh)"; echo "0 passed, 1 failed"; exit 1; }

c="$WINEPREFIX/drive_c"
work=$(mktemp -d "${TMPDIR:-/tmp}/sw-netdist.XXXXXX")
source "$here/tests/wine/servers.sh"
stop_servers() {
    sw_stop_server
    rm -rf "$work"
}
trap 'stop_servers; sw_wine_cleanup' EXIT

# run_program NAME SECONDS COMMAND...: runs a Windows program to its end; the text of the message box it
# shows (none expected but an error's) goes to $work/NAME.boxes and is answered with Enter.
run_program() {
    local name=$1 seconds=$2
    shift 2
    local trace="$work/$name.trace" started=$SECONDS pid rc text
    : >"$trace"
    WINEDEBUG=trace+msgbox sw_wine_run "$seconds" "$@" >"$trace" 2>&1 &
    pid=$!
    text=$(sw_wine_box_text "$trace" "$pid")
    printf '%s' "$text" >"$work/$name.boxes"
    if [ -n "$text" ]; then
        echo "  $name: message box \"$text\": Enter"
        # Enter until the program ends: the first may come before the box has the focus.
        while kill -0 "$pid" 2>/dev/null; do
            sleep 1
            xdotool key --clearmodifiers Return 2>/dev/null
        done
    fi
    wait "$pid"
    rc=$?
    timeout -k 5 60 wineserver -w
    echo "  $name: exit code $rc after $((SECONDS - started)) s"
    return $rc
}

no_boxes() { [ ! -s "$work/$1.boxes" ]; }

# The loading program is found through the folder with the marker file, listed in the library search path.
timeout -k 5 60 wine reg add 'HKCU\Software\Setwright\Build' /v LibrarySearchPath \
    /d "Z:${loader_dir//\//\\}" /f >/dev/null 2>&1

# build_distribution NAME SETUP: "setup.exe -b" in C:\nettest\NAME beside a copy of the demo's files; the
# distribution goes to C:\nettest\NAME\dist.
build_distribution() {
    local name=$1 folder="$c/nettest/$1"
    mkdir -p "$folder"
    cp -r "$demo_files" "$folder/files"
    cp "$2" "$folder/setup.exe"
    printf 'C:\\nettest\\%s\\dist\r\n' "$name" >"$folder/BUILD.INF"
    (cd "$folder" && run_program "build-$name" 300 wine setup.exe -b)
}

# check_list NAME EXPECTED: filelist.lst and the archives of C:\nettest\NAME\dist against the source files;
# EXPECTED is "component=file=archive" words, the archive relative to the distribution.
check_list() {
    local name=$1 dist="$c/nettest/$1/dist"
    shift
    "$python" "$here/tests/wine/check_filelist.py" "$archive" "$dist" "$c/nettest/$name/files" "$@"
}

echo "== builds"
build_distribution web "$build/tests/net_web_setup.exe"
rc=$?
check "dtWeb: -b ends well without a message box" eval "[ $rc -eq 0 ] && no_boxes build-web"
web="$c/nettest/web/dist"
check "dtWeb: setup.exe and setup.1 are built" test -f "$web/setup.exe" -a -f "$web/setup.1"
check "dtWeb: filelist.lst and the net archives read back to the source files" check_list web \
    DemoProgram=SwDemo.exe=127.0.0.1/pubsetup/ProgramGroup.1 Readme=README.TXT=127.0.0.1/pubsetup/ProgramGroup.1 \
    SharedLibrary=SwDemoLib.dll=127.0.0.1/pubsetup/SharedLibrary.1 Guide=docs/GUIDE.TXT=127.0.0.1/-pub-docs/DocsGroup.1

build_distribution tradnet "$build/tests/net_tradnet_setup.exe"
rc=$?
check "dtTraditionalNet: -b ends well without a message box" eval "[ $rc -eq 0 ] && no_boxes build-tradnet"
check "dtTraditionalNet: the local files are in files.1, the net files in net archives, all in filelist.lst" \
    check_list tradnet DemoProgram=SwDemo.exe=files.1 Guide=docs/GUIDE.TXT=files.1 \
    Readme=README.TXT=127.0.0.1/pubsetup/ProgramGroup.1 SharedLibrary=SwDemoLib.dll=127.0.0.1/pubsetup/SharedLibrary.1

echo "== installs from the servers"
# The servers' tree, as the author copies the net folders up: HTTP serves pub/setup, FTP pub/docs.
mkdir -p "$work/root/pub/setup" "$work/root/pub/docs" "$work/state"
cp "$web/127.0.0.1/pubsetup/"* "$work/root/pub/setup/" 2>/dev/null
cp "$web/127.0.0.1/-pub-docs/"* "$work/root/pub/docs/" 2>/dev/null
if ! sw_start_server "$work/state/ready" "$work/servers.log" \
    timeout -k 5 900 "$python" "$here/tests/wine/dist_servers.py" "$work/root" 80 21 "$work/state" 880; then
    echo "the servers did not start:"
    cat "$work/servers.log"
    check "the servers start" false
    checks_summary
    exit
fi

mkdir -p "$c/Downloads"
cp "$web/setup.exe" "$c/Downloads/setup.exe"
product="$c/Program Files/Net Test"
transfers="$work/state/transfers.log"
: >"$transfers"

# installed: every file in place, as its source.
installed() {
    local f
    for f in SwDemo.exe README.TXT SwDemoLib.dll; do
        cmp -s "$demo_files/$f" "$product/$f" || return 1
    done
    cmp -s "$demo_files/docs/GUIDE.TXT" "$product/Docs/GUIDE.TXT"
}
# The install records as the prefix's registry file holds them once Wine's server has ended, into $records.
read_records() { records=$(tr -d '\r' <"$WINEPREFIX/system.reg" | grep -i -A3 '^\[Software\\\\Pellmoor\\\\Install\\\\'); }
record_gone() { ! grep -q -i '^\[Software\\\\Pellmoor\\\\Install\\\\Install[0-9]' <<<"$records"; }
# local_file COMPONENT: whether Install0 lists a local copy of the component's archive.
local_file() { grep -i -A3 '\\\\Install0\\\\'"$1"'\]' <<<"$records" | grep -q '^"LocalFile"="'; }
# fetched PROTOCOL PATH OUTCOME: how many such transfers the log holds since the last mark.
fetched() { tail -n +$((mark + 1)) "$transfers" | grep -c -x -F "$1 $2 $3"; }
# Local copies of downloaded archives left in the temporary folders.
local_copies() { find "$c/windows/temp" "$c"/users/*/Temp -maxdepth 1 -iname 'bat*.1' 2>/dev/null; }

mark=0
run_program install 300 wine 'C:\Downloads\setup.exe'
rc=$?
read_records
check "the install ends well without a message box" eval "[ $rc -eq 0 ] && no_boxes install"
check "every file is in place" installed
check "the install record is gone" record_gone
check "no local copy of an archive is left" eval '[ -z "$(local_copies)" ]'
check "filelist.lst and the two archives came by HTTP" eval \
    '[ "$(fetched HTTP /pub/setup/filelist.lst complete)$(fetched HTTP /pub/setup/ProgramGroup.1 complete)$(fetched HTTP /pub/setup/SharedLibrary.1 complete)" = 111 ]'
check "the documentation's archive came by FTP with the user's login" eval \
    '[ "$(fetched FTP /pub/docs/DocsGroup.1 complete)" = 1 ]'

echo "== a transfer cut half-way, then a second run"
rm -rf "$product"
mark=$(wc -l <"$transfers")
echo SharedLibrary.1 >"$work/state/cut"
run_program cut 300 wine 'C:\Downloads\setup.exe'
cut_code=$?
read_records
check "the cut transfer ends the run with an error message" eval "grep -q 'SharedLibrary.1' '$work/cut.boxes'"
check "the cut run's bad end gives exit code 2" [ "$cut_code" -eq 2 ]
check "the server cut SharedLibrary.1" eval '[ "$(fetched HTTP /pub/setup/SharedLibrary.1 cut)" = 1 ]'
check "the record is kept with the complete archive's local copy" local_file ProgramGroup
check "the cut archive has no local copy in the record" eval '! local_file SharedLibrary'
check "the documentation was not reached" eval '[ ! -e "$product/Docs/GUIDE.TXT" ]'

mark=$(wc -l <"$transfers")
run_program resume 300 wine 'C:\Downloads\setup.exe'
rc=$?
read_records
check "the second run ends well without a message box" eval "[ $rc -eq 0 ] && no_boxes resume"
check "every file is in place after the second run" installed
check "the record is gone after the second run" record_gone
check "the complete archive was not downloaded again" eval '[ "$(fetched HTTP /pub/setup/ProgramGroup.1 complete)" = 0 ]'
check "the cut archive and the rest were downloaded whole" eval \
    '[ "$(fetched HTTP /pub/setup/SharedLibrary.1 complete)$(fetched FTP /pub/docs/DocsGroup.1 complete)" = 11 ]'
check "no local copy of an archive is left after the second run" eval '[ -z "$(local_copies)" ]'
echo "  transfers of the second run:"
tail -n +$((mark + 1)) "$transfers" | sed 's/^/    /'

checks_summary
