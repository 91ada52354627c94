#!/usr/bin/env bash
# The demo's setup.exe under Wine, driven from its command line: each case reads the text of the message box
# the program shows (Wine's msgbox trace), keeps a screenshot of it, and answers it with Enter.
#
#   tests/wine/setup-command-line.sh BUILD_DIR      (run by scripts/test.sh inside a throwaway prefix)
set -uo pipefail

build=${1:?build directory}
setup="$build/examples/demo/setup.exe"
shots="$build/e2e/setup-command-line"
here=$(cd "$(dirname "$0")/../.." && pwd)
[ -n "${SW_WINE_READY:-}" ] || { source "$here/scripts/wine-env.sh" && sw_wine_init; } || exit 1
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
    local pid=$! text="" i
    for i in $(seq 1 120); do
        text=$(tr -d '\r' <"$log" | sed -n 's/^.*trace:msgbox:MSGBOX_OnInit L"\(.*\)"$/\1/p' | head -n 1)
        [ -n "$text" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.5
    done
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
    timeout -k 5 30 wineserver -k 2>/dev/null
    wait "$pid" 2>/dev/null
    # Wine escapes backslashes and quotes in its trace.
    text=$(printf '%s' "$text" | sed -e 's/\\\\/\\/g' -e 's/\\"/"/g')
    if [ "$boxes" -gt 1 ]; then
        echo "FAIL $name: $boxes message boxes, expected one"
        failed=$((failed + 1))
    elif [ -n "${MAXIMIZED:-}" ] && [ "${width:-0}" -lt 1024 ]; then
        echo "FAIL $name: the main form is not maximized (width ${width:-none})"
        failed=$((failed + 1))
    elif [ "$text" = "$expected" ]; then
        echo "ok   $name"
        passed=$((passed + 1))
    else
        echo "FAIL $name: expected [$expected], got [$text]"
        failed=$((failed + 1))
    fi
}

# shellcheck disable=SC2059
for arg in x - -q /b; do
    run_case "invalid-${arg//\//slash}" "$(printf "$invalid" "$arg")" "$arg"
done
run_case d-alone "$no_build_dir" -d
run_case d-blank-s "$no_build_dir" -d "-s   "
run_case b-and-r "The build mode is not built yet" -B -r
run_case f "The transfer to floppies is not built yet" -f
run_case r "Completing an install after a reboot is not built yet" -r
MAXIMIZED=1 run_case install "Install is not built yet"
run_case d-with-s "Install is not built yet" -d "-sC:\\My Build"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
