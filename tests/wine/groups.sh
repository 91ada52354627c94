#!/usr/bin/env bash
# The file-group page of the demo's wizard under Wine, driven with the mouse and keyboard: the tree with its
# three groups, the Samples sub-group shown and unchecked (the drive totals drop), the Documentation folder
# changed through the real folder browser with its added edit and create button, a new folder made there;
# then the install puts the Documentation files into that folder and no file of the unchosen group anywhere.
# Screenshots go to BUILD_DIR/e2e/groups.
#
#   tests/wine/groups.sh BUILD_DIR      (run by scripts/test.sh inside a throwaway prefix)
set -uo pipefail

build=$(cd "${1:?build directory}" && pwd) || exit 1
here=$(cd "$(dirname "$0")/../.." && pwd)
dist="$build/examples/demo/distribution/setup.exe"
if [ ! -f "$dist" ]; then
    cmake --build "$build" --target demo_distribution >/dev/null 2>&1 ||
        { echo "the demo's distribution does not build"; echo "0 passed, 1 failed"; exit 1; }
fi
# Sourced also under scripts/test.sh, whose prefix sw_wine_init keeps: its functions do not reach a new process.
{ source "$here/scripts/wine-env.sh" && sw_wine_init && source "$here/scripts/wizard-walk.sh"; } || exit 1
shots="$build/e2e/groups"
rm -rf "$shots"
mkdir -p "$shots"
drive_c="$WINEPREFIX/drive_c"
cp "$dist" "$drive_c/groups-setup.exe"

passed=0
failed=0
check() {
    if eval "$2"; then
        echo "ok: $1"
        passed=$((passed + 1))
    else
        echo "FAILED: $1"
        failed=$((failed + 1))
    fi
}

# window TITLE: the id of the window titled exactly TITLE, waiting 60 s at most.
window() {
    local id
    for _ in $(seq 60); do
        id=$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1)
        [ -n "$id" ] && { sleep 2; echo "$id"; return 0; }
        sleep 1
    done
    return 1
}
# at ID DX DY: clicks at DX, DY from the top left of window ID.
at() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove $((X + $2)) $((Y + $3)) click 1
    sleep 1
}
shot() { import -window root "$shots/$1.png" 2>/dev/null; }

sw_wine_run 300 wine 'C:\groups-setup.exe' >"$shots/setup.log" 2>&1 &
setup=$!
# The pages before the file-group page, each with a click on Next.
for title in 'Select a language' 'Welcome' 'Software license agreement' 'Readme information'; do
    id=$(sw_page_wait "$title" 120) && sw_page_click "$id" $SW_NEXT_BTN
done
page=$(window "Select components to install")
check "the wizard shows the file-group page" '[ -n "$page" ]'
if [ -n "$page" ]; then
    shot 1-page
    at "$page" 197 110 # Documentation's button: Samples shows
    shot 2-expanded
    at "$page" 156 125 # Samples' check box
    shot 3-samples-unchecked
    at "$page" 251 110 # Documentation
    at "$page" 419 266 # Browse...
    browser=$(window "Browse for Folder")
    check "Browse opens the folder browser" '[ -n "$browser" ]'
    if [ -n "$browser" ]; then
        shot 4-browser
        at "$browser" 146 227 # the added path edit
        xdotool key --clearmodifiers End shift+Home
        xdotool type --delay 50 'C:\Demo Guides'
        sleep 1
        shot 5-typed
        at "$browser" 64 274 # the added create button: makes the folder, reopens the browser there
        sleep 2
        browser=$(window "Browse for Folder")
        shot 6-reopened
        check "the create button made the typed folder" '[ -d "$drive_c/Demo Guides" ]'
        [ -n "$browser" ] && xdotool key --clearmodifiers Return
        sleep 2
    fi
    shot 7-page-after-browse
    at "$page" 339 363 # Next
    id=$(sw_page_wait 'Select folder in start menu' 60) && sw_page_click "$id" $SW_NEXT_BTN
    id=$(sw_page_wait 'Setup complete' 300) && sw_page_click "$id" $SW_FINISH_BTN
fi
wait "$setup"
rc=$?
check "the install ended with exit code 0 (was $rc)" '[ "$rc" -eq 0 ]'
check "the guide went to the chosen folder" '[ -f "$drive_c/Demo Guides/GUIDE.TXT" ]'
check "no file of the unchosen Samples group was installed" \
    '[ -z "$(find "$drive_c" -iname SAMPLE.TXT -print -quit)" ]'
check "the folder made for the browser was taken away again" \
    '[ ! -d "$drive_c/Program Files/Setwright Demo/Docs" ]'
check "the program group installed where it always does" '[ -f "$drive_c/Program Files/Setwright Demo/README.TXT" ]'
echo "screenshots in $shots"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
