#!/usr/bin/env bash
# The whole wizard without the mouse: on every page Tab reaches each control and button and Shift+Tab goes
# back; the arrow keys choose a language and move through the groups and the program folders, space presses
# the focused button, Enter the default one, and Escape closes the folder browser. The install then leaves
# what the defaults leave.
#
#   tests/e2e/keyboard.sh BUILD_DIR
source "$(dirname "$0")/lib.sh"

e2e_state "$e2e_tmp/before"
e2e_start_setup

e2e_page 'Select a language' 'Next >' || e2e_abort "the wizard did not start"
e2e_tab_reaches 'Select a language' 3 'SetwrightControl:' 'Next >' 'Cancel'
e2e_focus_to 'Select a language' 'SetwrightControl:' # the grid
sw_page_keys "$e2e_id" Right
e2e_page 'Select a language' 'Suivant >' # French, at once
sw_page_keys "$e2e_id" Left
e2e_page 'Select a language' 'Next >'
sw_page_keys "$e2e_id" Return

e2e_page 'Welcome' 'Next >'
e2e_tab_reaches 'Welcome' 3 '< Previous' 'Next >' 'Cancel'
e2e_focus_to 'Welcome' 'Next >' && sw_page_keys "$e2e_id" space

e2e_page 'Software license agreement' 'SETWRIGHT DEMO LICENSE AGREEMENT'
e2e_tab_reaches 'Software license agreement' 4 'RICHEDIT:' '< Previous' 'Next >' 'Cancel'
# Next is not the licence page's default button: Enter does not accept the licence.
e2e_focus_to 'Software license agreement' 'Next >' && sw_page_keys "$e2e_id" space

e2e_page 'Readme information' 'Setwright Demo 1.0'
e2e_tab_reaches 'Readme information' 4 'RICHEDIT:' '< Previous' 'Next >' 'Cancel'
e2e_focus_to 'Readme information' 'Next >' && sw_page_keys "$e2e_id" Return

e2e_page 'Select components to install' '&Browse...' || e2e_abort "no file-group page"
e2e_tab_reaches 'Select components to install' 8 'SysTreeView32:' 'Edit:' '&Browse...' '< Previous' 'Next >' \
    'Cancel'
e2e_focus_to 'Select components to install' '&Browse...' && sw_page_keys "$e2e_id" space
page=$e2e_id
if e2e_page 'Browse for Folder' 'OK' 'Cancel'; then
    sw_page_keys "$e2e_id" Escape
    sleep 1
    check "Escape closes the folder browser" \
        [ -z "$(xdotool search --onlyvisible --name '^Browse for Folder$' 2>/dev/null)" ]
fi
e2e_id=$page
sw_page_keys "$e2e_id" Return

e2e_page 'Select folder in start menu' 'E&xisting Folders' || e2e_abort "no folder page"
e2e_tab_reaches 'Select folder in start menu' 6 'Edit:' 'ListBox:' '< Previous' 'Next >' 'Cancel'
e2e_focus_to 'Select folder in start menu' 'Setwright Demo' && sw_page_keys "$e2e_id" Return

e2e_page 'Setup complete' 'Finish' || e2e_abort "the install did not complete"
e2e_focus_to 'Setup complete' 'Finish' && sw_page_keys "$e2e_id" Return
e2e_wait_setup 0

e2e_defaults_installed_and_removed
e2e_finish
