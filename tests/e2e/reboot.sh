#!/usr/bin/env bash
# A file of the product in use: an older README.TXT in the product's folder, held open without sharing by another
# program, cannot be replaced during the install, so after the copy the wizard shows the reboot page with "Yes"
# chosen. The user chooses "No" and Finish: nothing restarts, the old file stays, the new one waits under a
# temporary name and the restart command in RunOnce. "wineboot -r" then restarts the prefix: the new file takes
# the old one's place and the command completes the install, up to its finish page. The prefix then holds what
# the default choices install, and the uninstaller leaves it as before.
#
#   tests/e2e/reboot.sh BUILD_DIR
source "$(dirname "$0")/lib.sh"

holder="$e2e_build/tests/sw_com_exe.exe"
new_readme="$e2e_build/examples/demo/files/README.TXT"
[ -f "$holder" ] || e2e_abort "no $holder, the program that holds the file open (the win32 build makes it)"
product="$e2e_drive/Program Files/Setwright Demo"
readme='C:\Program Files\Setwright Demo\README.TXT'
runonce='HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce'
title='Reboot windows'
yes='Yes, I would like to reboot windows'
no='No, I would not like to reboot windows'
no_at="250 120" # the "No" item of the radio group, at its page position

# held: the file cannot be read by another program (a copy fails).
held() {
    ! sw_wine_run 60 wine cmd /c copy /y "$readme" "Z:${e2e_tmp//\//\\}\\probe" >/dev/null 2>&1
}
# checked TEXT: the radio button showing TEXT on the reboot page is the chosen one.
checked() { e2e_texts "$title" | grep -q -F "Button	$1	checked"; }
restart_command() {
    sw_wine_run 60 wine reg query "$runonce" /v PellmoorUnfinished 2>/dev/null | tr -d '\r' | grep -q -- ' -r '
}
# The install record, a key Install<N> below this one, holds the unfinished list.
record_gone() {
    ! sw_wine_run 60 wine reg query 'HKLM\Software\Pellmoor\Install' /s 2>/dev/null | grep -q -i -E '\\Install[0-9]+'
}
# The product's program notes its first run in place of "not yet".
first_run() {
    sw_wine_run 60 wine reg query 'HKLM\Software\Setwright Samples\Setwright Demo' /v FirstRun 2>/dev/null |
        tr -d '\r' | grep -q -E 'FirstRun +REG_SZ +[0-9]{4}-'
}
readme_is() { [ "$(cat "$product/README.TXT" 2>/dev/null)" = "$1" ]; }

e2e_state "$e2e_tmp/before"
mkdir -p "$product"
echo "the old readme" >"$product/README.TXT"
# Started from the build folder, so that the prefix gets no file of its own.
timeout -k 5 900 wine "$holder" /HOLD "$readme" 900 >/dev/null 2>&1 &
holder_pid=$!
for _ in $(seq 1 30); do held && break; sleep 1; done
held || e2e_abort "the old README.TXT is not held open"

e2e_start_setup
e2e_walk_defaults || e2e_abort "the wizard did not reach the copy"
e2e_page "$title" 'Several components could not be installed' "$yes" "$no" 'Finish' ||
    e2e_abort "no reboot page after the copy"
check "the reboot page comes with \"Yes\" chosen" checked "$yes"
sw_page_click "$e2e_id" $no_at
check "a click on \"No\" chooses it" checked "$no"
sw_page_shot "$e2e_id" "$e2e_shots/reboot-no.png"
sw_page_click "$e2e_id" $SW_FINISH_BTN
for _ in $(seq 1 120); do kill -0 "$e2e_setup_pid" 2>/dev/null || break; sleep 0.5; done

# The holder still runs, and so does this Wine session: whatever a new session does at its start has not run.
check "Finish on the reboot page ends the setup without its finish page" \
    [ -z "$(xdotool search --onlyvisible --name '^Setup complete$' 2>/dev/null)" ]
check "no restart: the old file is in place" readme_is "the old readme"
check "the new file waits under a temporary name" cmp -s "$new_readme" "$product/README.1"
check "the restart command waits in RunOnce, with -r" restart_command
check "the install record is kept for the restart" eval '! record_gone'
check "the product's program has not run yet" eval '! first_run'
kill "$holder_pid" 2>/dev/null
wait "$holder_pid" 2>/dev/null
e2e_wait_setup 0
check "the old file is in place until the restart" readme_is "the old readme"

# The restart runs the command, whose run shows the install's finish page. Until that run ends, Wine starts no
# other Windows program (pagetext neither): the page is known by its title.
timeout -k 10 300 wineboot -r >/dev/null 2>&1 &
boot_pid=$!
e2e_page 'Setup complete' && sw_page_click "$e2e_id" $SW_FINISH_BTN
wait "$boot_pid"
timeout -k 5 60 wineserver -w
check "after the restart the new file is in place" cmp -s "$new_readme" "$product/README.TXT"
check "the temporary name is gone" [ ! -e "$product/README.1" ]
check "the restart command is gone from RunOnce" eval '! restart_command'
check "the install record and its unfinished list are gone" record_gone
check "the run after the restart started the product's program" first_run
e2e_defaults_installed_and_removed
e2e_finish
