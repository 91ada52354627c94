#!/usr/bin/env bash
# The whole wizard in English, as a person meets it: the language page, welcome, licence, readme, the file-group
# page (Samples unchecked, the Documentation folder typed in the real folder browser and made there with its
# create button),
# the program folder typed, the copy-progress window while the files are copied (its screenshot caught), setup
# complete, Finish. Then the files, shortcut, registry values and uninstall key
# are those the choices ask for, and the uninstaller leaves the prefix as it was before.
#
#   tests/e2e/full-english.sh BUILD_DIR
source "$(dirname "$0")/lib.sh"

# at DX DY: clicks at DX, DY from the top left of the window e2e_id (its frame included).
at() {
    local X Y
    eval "$(xdotool getwindowgeometry --shell "$e2e_id")"
    xdotool mousemove $((X + $1)) $((Y + $2)) click 1
    sleep 1
}

folder='Demo Tools'
guides='C:\Demo Guides'
e2e_state "$e2e_tmp/before"
e2e_start_setup

e2e_page 'Select a language' 'Next >' 'Cancel' || e2e_abort "the wizard did not start"
sw_page_click "$e2e_id" $SW_NEXT_BTN
e2e_page 'Welcome' 'Next >' '< Previous' 'Cancel'
sw_page_keys "$e2e_id" Return
e2e_page 'Software license agreement' 'SETWRIGHT DEMO LICENSE AGREEMENT'
sw_page_click "$e2e_id" $SW_NEXT_BTN
e2e_page 'Readme information' 'Setwright Demo 1.0'
sw_page_keys "$e2e_id" Return

e2e_page 'Select components to install' '&Browse...' || e2e_abort "no file-group page"
at 197 110 # Documentation's expand button: Samples shows
at 156 125 # Samples' check box
sw_page_shot "$e2e_id" "$e2e_shots/groups-samples-unchecked.png"
at 251 110 # Documentation
at 419 266 # Browse...
page=$e2e_id
if e2e_page 'Browse for Folder' 'OK' 'Cancel'; then
    at 146 227 # the added path edit
    xdotool key --clearmodifiers End shift+Home
    xdotool type --delay 50 "$guides"
    sleep 1 # the browser follows the typed path before the create button shows again
    at 64 274 # the added create button: makes the folder, opens the browser again there
    for _ in $(seq 1 20); do [ -d "$e2e_drive/Demo Guides" ] && break; sleep 0.5; done
    check "the create button made the typed folder" [ -d "$e2e_drive/Demo Guides" ]
    e2e_page 'Browse for Folder' && xdotool key --clearmodifiers Return
    sleep 2
fi
e2e_id=$page
sw_page_shot "$e2e_id" "$e2e_shots/groups-after-browse.png"
at 339 363 # Next

e2e_page 'Select folder in start menu' 'E&xisting Folders' || e2e_abort "no folder page"
e2e_focus_to 'Select folder in start menu' 'Edit:'
sw_page_keys "$e2e_id" End shift+Home BackSpace
sw_page_type "$e2e_id" "$folder"
# The copy-progress window shows while the files are copied; the demo's files are small, so it shows briefly.
e2e_catch 'Copying installation files' "$e2e_shots/copy-progress.png" 60
sw_page_keys "$e2e_id" Return
e2e_page 'Setup complete' 'Finish' || e2e_abort "the install did not complete"
kill "$e2e_catch_pid" 2>/dev/null
wait "$e2e_catch_pid" 2>/dev/null
check "the copy-progress window showed while the files were copied" [ -s "$e2e_shots/copy-progress.png.id" ]
sw_page_click "$e2e_id" $SW_FINISH_BTN
e2e_wait_setup 0

e2e_state "$e2e_tmp/after"
e2e_added "$e2e_tmp/before" "$e2e_tmp/after" >"$e2e_tmp/added"
expected="$(dirname "$0")/expect/full-english.files"
check "the files installed are those the choices ask for" diff "$expected" "$e2e_tmp/added"
check "no file of the unchosen Samples group was installed" \
    [ -z "$(find "$e2e_drive" -iname SAMPLE.TXT -print -quit)" ]
check "the folder made for the browser was taken away again" \
    [ ! -d "$e2e_drive/Program Files/Setwright Demo/Docs" ]
check "the product's registry values are written" \
    grep -q -i 'Setwright Demo' <(sed -n '/^\[HKLM\\Software\\Setwright Samples\]/,/^\[/p' "$e2e_tmp/after")
check "the uninstall key names the uninstaller" grep -q 'UninstallString' "$e2e_tmp/after"

e2e_uninstall
e2e_state "$e2e_tmp/clean"
# The uninstaller removes files only inside the product's folder (and shortcuts and shared libraries): the guide
# in the folder the user chose outside it stays, as the uninstaller reports.
check "the guide outside the product's folder is left in place" [ -f "$e2e_drive/Demo Guides/GUIDE.TXT" ]
grep -v -F './Demo Guides/GUIDE.TXT' "$e2e_tmp/clean" >"$e2e_tmp/clean-but-guide"
mv "$e2e_tmp/clean-but-guide" "$e2e_tmp/clean"
e2e_same "the uninstaller leaves the prefix as before" "$e2e_tmp/before" "$e2e_tmp/clean"
e2e_finish
