#!/usr/bin/env bash
# The demo's setup.exe under Wine, driven from its command line: each case reads the text of the message box
# the program shows (Wine's msgbox trace), keeps a screenshot of it, and answers it with Enter.
#
#   tests/wine/setup-command-line.sh BUILD_DIR      (run by scripts/test.sh inside a throwaway prefix)
set -uo pipefail

build=$(cd "${1:?build directory}" && pwd) || exit 1
setup="$build/examples/demo/setup.exe"
shots="$build/e2e/setup-command-line"
here=$(cd "$(dirname "$0")/../.." && pwd)
{ source "$here/scripts/wine-env.sh" && sw_wine_init && source "$here/scripts/wizard-walk.sh"; } || exit 1
[ -f "$setup" ] || { echo "no $setup"; exit 1; }
mkdir -p "$shots"

passed=0
failed=0
invalid='Invalid parameter <%s>. Valid command line parameters are: -b (Build), -d (Debug), -f (Transfer to floppies), -e (Called by self-extractor), -r (After reboot)'
no_build_dir='You forgot to pass in the build directory. In Run | Parameters, follow this format: -d "-sC:\My Build"'

# run_case NAME EXPECTED_BOX_TEXT ARGS...: the program must show exactly one box with that text.
run_case() {
    local name=$1 expected=$2
    shift 2
    local log="$shots/$name.log"
    : >"$log"
    WINEDEBUG=trace+msgbox timeout -k 5 60 wine "$setup" "$@" >"$log" 2>&1 &
    local pid=$! text
    # A bad end shows the setup-incomplete page before its error box: Finish there.
    (id=$(sw_page_wait 'Setup incomplete' 40 2>/dev/null) && sw_page_click "$id" $SW_FINISH_BTN) &
    local walker=$!
    text=$(sw_wine_box_text "$log" "$pid")
    sleep 1
    import -window root "$shots/$name.png" 2>/dev/null
    local width=""
    if [ -n "${MAXIMIZED:-}" ]; then
        width=$(xdotool search --onlyvisible --name '^Setwright Demo Setup$' getwindowgeometry 2>/dev/null |
            sed -n 's/^ *Geometry: \([0-9]*\)x.*/\1/p' | head -n 1)
    fi
    xdotool key --clearmodifiers Return 2>/dev/null
    sleep 2
    local boxes
    boxes=$(grep -c 'trace:msgbox:MSGBOX_OnInit' "$log")
    kill "$walker" 2>/dev/null
    wait "$walker" 2>/dev/null
    timeout -k 5 30 wineserver -k 2>/dev/null
    wait "$pid" 2>/dev/null
    # Now and then, in a session booted afresh, Wine's desktop process waits twice 30 s for its RpcSs service
    # and the program's box comes too late: that is Wine's start, not the program, so the case runs once more.
    if [ -z "$text" ] && [ -z "${SW_CASE_RETRIED:-}" ] && grep -q 'Failed to start RpcSs service' "$log"; then
        echo "retry $name: Wine's RpcSs service did not start in this session"
        SW_CASE_RETRIED=1 run_case "$name" "$expected" "$@"
        return
    fi
    if [ "$boxes" -gt 1 ]; then
        echo "FAIL $name: $boxes message boxes, expected one"
        failed=$((failed + 1))
    elif [ -n "${MAXIMIZED:-}" ] && [ "${width:-0}" -lt 1024 ]; then
        echo "FAIL $name: the main form is not maximized (width ${width:-none})"
        failed=$((failed + 1))
    elif sw_box_text_is "$text" "$expected"; then
        echo "ok   $name"
        passed=$((passed + 1))
    else
        echo "FAIL $name: expected [$expected], got [$text]"
        failed=$((failed + 1))
    fi
}

# run_quiet_case NAME ARGS...: the program must end by itself, with exit code 0 and no message box.
run_quiet_case() {
    local name=$1
    shift
    local log="$shots/$name.log"
    WINEDEBUG=trace+msgbox timeout -k 5 120 wine "$setup" "$@" >"$log" 2>&1
    local code=$? boxes
    boxes=$(grep -c 'trace:msgbox:MSGBOX_OnInit' "$log")
    if [ "$code" -eq 124 ]; then
        echo "FAIL $name: still running after two minutes"
        failed=$((failed + 1))
    elif [ "$boxes" -ne 0 ] || [ "$code" -ne 0 ]; then
        echo "FAIL $name: exit code $code, box [$(sw_wine_box_text "$log" 0)]"
        failed=$((failed + 1))
    else
        echo "ok   $name"
        passed=$((passed + 1))
    fi
    timeout -k 5 30 wineserver -w 2>/dev/null
}

# shellcheck disable=SC2059
for arg in x - -q /b; do
    run_case "invalid-${arg//\//slash}" "$(printf "$invalid" "$arg")" "$arg"
done
run_case d-alone "$no_build_dir" -d
run_case d-blank-s "$no_build_dir" -d "-s   "
no_build_inf='Need to have a BUILD.INF file in this directory with the first line specifying the build directory'
run_case b-and-r "$no_build_inf" -B -r
run_case f 'Sorry... You can only transfer this installation to floppies through the self-extracting file. Usage example: setup.exe *TODISK' -f
no_loader='The path of the loading program was not passed correctly. If you are running your install project in the IDE, then you need to add two command line parameters. In Run | Parameters | "Run Parameters", type in: -d "-sBUILDPATH" where BUILDPATH is the path into which you built the distributables. Example: -d "-sC:\My Build".'
run_case r "The TInstall could not either write or read unfinished business from the registry" -r
MAXIMIZED=1 run_case install "$no_loader"
run_case d-with-s-without-the-archives "Cannot open the compressed file C:\\My Build\\files.1" -d "-sC:\\My Build"

# -b with BUILD.INF beside the program and the loading program's folder in the library search path: the
# build writes setup.1, files.1 and the self-extracting setup.exe: the loading program (L bytes), setup.1
# (S bytes), files.1 (F bytes), then the 56-byte trailer whose offsets are L, L + S - 1, L + S, L + S + F - 1.
loader_dir="$build/src/app/loader"
loader="$loader_dir/PellmoorLoadProgram.exe"
build_out="$WINEPREFIX/drive_c/swbuild"
if [ -f "$loader_dir/M41R08.TXT" ]; then
    printf 'C:\\swbuild\r\n' >"$(dirname "$setup")/BUILD.INF"
    timeout -k 5 60 wine reg add 'HKCU\Software\Setwright\Build' /v LibrarySearchPath \
        /d "C:\\nowhere;Z:$(sed 's|/|\\|g' <<<"$loader_dir")" /f >/dev/null 2>&1
    # The demo project names its files relative to the folder it is built from.
    pushd "$(dirname "$setup")" >/dev/null || exit 1
    run_quiet_case b-builds-the-distribution -b
    popd >/dev/null || exit 1
    rm -f "$(dirname "$setup")/BUILD.INF"
    size_of() { stat -c %s "$1" 2>/dev/null || echo 0; }
    l=$(size_of "$loader") s=$(size_of "$build_out/setup.1") f=$(size_of "$build_out/files.1")
    total=$(size_of "$build_out/setup.exe")
    trailer=$(od -An -tu4 -j $((total - 56 + 16)) -N 16 "$build_out/setup.exe" 2>/dev/null | xargs)
    if [ "$s" -gt 0 ] && [ "$f" -gt 0 ] && [ "$total" -eq $((l + s + f + 56)) ] &&
        cmp -s "$loader" <(head -c "$l" "$build_out/setup.exe") &&
        cmp -s "$build_out/setup.1" <(tail -c +$((l + 1)) "$build_out/setup.exe" | head -c "$s") &&
        cmp -s "$build_out/files.1" <(tail -c +$((l + s + 1)) "$build_out/setup.exe" | head -c "$f") &&
        [ "$trailer" = "$l $((l + s - 1)) $((l + s)) $((l + s + f - 1))" ]; then
        echo "ok   b-joined-the-loading-program-setup.1-and-files.1"
        passed=$((passed + 1))
    else
        echo "FAIL b-joined-the-loading-program-setup.1-and-files.1: trailer [$trailer], $(ls -l "$build_out" 2>&1)"
        failed=$((failed + 1))
    fi
    # The Linux build command on the same program, project files and loading program: the same bytes.
    buildsetup="$(dirname "$build")/native/tools/buildsetup/buildsetup"
    native_out=$(mktemp -d "${TMPDIR:-/tmp}/sw-buildsetup.XXXXXX")
    printf 'Z:%s\r\n' "${native_out//\//\\}" >"$(dirname "$setup")/BUILD.INF"
    (cd "$(dirname "$setup")" && "$buildsetup" --tool-dir "$loader_dir" "$setup") >"$shots/buildsetup.log" 2>&1
    code=$?
    rm -f "$(dirname "$setup")/BUILD.INF"
    differing=""
    for name in setup.exe setup.1 files.1; do
        cmp -s "$build_out/$name" "$native_out/$name" || differing="$differing $name"
    done
    if [ "$code" -eq 0 ] && [ -z "$differing" ]; then
        echo "ok   linux-build-command-gives-the-same-bytes"
        passed=$((passed + 1))
    else
        echo "FAIL linux-build-command-gives-the-same-bytes: exit code $code, differing:${differing:- none}" \
            "($(cat "$shots/buildsetup.log"))"
        failed=$((failed + 1))
    fi
    rm -rf "$native_out"
else
    echo "FAIL b-builds-the-distribution: no loading program in $loader_dir"
    failed=$((failed + 1))
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
