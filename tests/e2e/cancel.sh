#!/usr/bin/env bash
# Cancel on a page, as a person changes their mind: Escape on the licence page asks "Do you want to cancel the
# installation?", No keeps the wizard on that page; Cancel on the readme page asks again, Yes ends the run on
# setup incomplete with the user-abort exit code, and the prefix is as it was before. (Cancel on the
# copy-progress window, declined and confirmed, is progress-cancel.sh, whose product copies for seconds.)
#
#   tests/e2e/cancel.sh BUILD_DIR
source "$(dirname "$0")/lib.sh"

question='Do you want to cancel the installation?'
e2e_state "$e2e_tmp/before"
e2e_start_setup

e2e_page 'Select a language' 'Next >' || e2e_abort "the wizard did not start"
sw_page_click "$e2e_id" $SW_NEXT_BTN
e2e_page 'Welcome' 'Next >'
sw_page_keys "$e2e_id" Return
e2e_page 'Software license agreement' 'SETWRIGHT DEMO LICENSE AGREEMENT'
sw_page_keys "$e2e_id" Escape
e2e_box "$question" n
e2e_page 'Software license agreement' 'Next >' '< Previous' 'Cancel'
sw_page_click "$e2e_id" $SW_NEXT_BTN
e2e_page 'Readme information' 'Setwright Demo 1.0'
sw_page_click "$e2e_id" $SW_CANCEL_BTN
e2e_box "$question" y
e2e_page 'Setup incomplete' 'Finish' || e2e_abort "the cancelled run did not end on setup incomplete"
sw_page_click "$e2e_id" $SW_FINISH_BTN
e2e_wait_setup 3

e2e_state "$e2e_tmp/after"
e2e_same "the cancelled run leaves the prefix as before" "$e2e_tmp/before" "$e2e_tmp/after"
e2e_finish
