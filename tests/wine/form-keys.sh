#!/usr/bin/env bash
# A dialog form driven like a person under Wine: formviewer shows select-folder; the client area seen on the
# screen is the form's own picture (so clicks land where the layout says), Tab moves the focus, a click checks
# "I agree", Return and Escape leave the form open, Alt+F4 closes it and the viewer ends. Screenshots of each
# step are kept under BUILD_DIR/e2e/form-keys.
#
#   tests/wine/form-keys.sh BUILD_DIR      (run by scripts/test.sh inside a throwaway prefix)
set -uo pipefail

build=${1:?build directory}
viewer="$build/tools/formviewer/formviewer.exe"
shots="$build/e2e/form-keys"
here=$(cd "$(dirname "$0")/../.." && pwd)
source "$here/scripts/wine-env.sh" && sw_wine_init || exit 1
[ -f "$viewer" ] || { echo "no $viewer"; exit 1; }
rm -rf "$shots"
mkdir -p "$shots"

passed=0
failed=0
pass() { echo "ok: $1"; passed=$((passed + 1)); }
fail() { echo "FAILED: $1"; failed=$((failed + 1)); }
# The number of pixels that differ between two pictures.
differ() { compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1; }

form="$here/tests/fixtures/forms/select-folder.txt"
title="Select folder in start menu"
timeout -k 5 120 wine "$viewer" "$form" --screenshot "$shots/client.bmp" >"$shots/client.log" 2>&1 &&
    convert "$shots/client.bmp" "$shots/client.png"

timeout -k 5 180 wine "$viewer" "$form" >"$shots/viewer.log" 2>&1 &
pid=$!
if ! window=$(sw_window_wait "$title" 60); then
    fail "the form did not show"
    kill "$pid" 2>/dev/null
    echo "$passed passed, $failed failed"
    exit 1
fi

# A sizeable frame: the client area starts 4,23 into the window.
sw_window_shot "$window" "$shots" 1-shown
convert "$shots/1-shown.png" -crop 470x368+4+23 +repage "$shots/1-client.png"
n=$(differ "$shots/client.png" "$shots/1-client.png")
# The focus rectangle of the live window is the one difference allowed.
if [ -n "$n" ] && [ "$n" -lt 400 ] 2>/dev/null; then
    pass "the client area on the screen is the form's picture ($n pixels differ)"
else
    fail "the client area on the screen is not the form's picture ($n pixels differ)"
fi

sw_window_keys "$window" Tab
sw_window_shot "$window" "$shots" 2-tab
sw_window_keys "$window" shift+Tab
sw_window_shot "$window" "$shots" 3-shift-tab
if [ "$(differ "$shots/1-shown.png" "$shots/2-tab.png")" != 0 ] &&
    [ "$(differ "$shots/2-tab.png" "$shots/3-shift-tab.png")" != 0 ]; then
    pass "Tab and Shift+Tab move the focus"
else
    fail "Tab and Shift+Tab changed nothing on the screen"
fi

sw_window_click "$window" 160 308 4 23
sw_window_shot "$window" "$shots" 4-agree
if [ "$(differ "$shots/3-shift-tab.png" "$shots/4-agree.png")" != 0 ]; then
    pass "a click on \"I agree\" by its place in the layout changes the box"
else
    fail "a click on \"I agree\" changed nothing"
fi

sw_window_keys "$window" Return Escape
sw_window_shot "$window" "$shots" 5-return-escape
if kill -0 "$pid" 2>/dev/null; then
    pass "Return and Escape press the form's buttons and leave it open"
else
    fail "Return or Escape ended the viewer"
fi

sw_window_keys "$window" alt+F4
rc=
for _ in $(seq 1 40); do
    if ! kill -0 "$pid" 2>/dev/null; then
        wait "$pid"
        rc=$?
        break
    fi
    sleep 0.25
done
if [ "$rc" = 0 ]; then
    pass "Alt+F4 closes the form and the viewer ends"
else
    fail "Alt+F4: the viewer ${rc:+ended with $rc}${rc:-is still running}"
    kill "$pid" 2>/dev/null
    tr -d '\r' <"$shots/viewer.log" | tail -n 5
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
