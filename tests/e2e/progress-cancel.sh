#!/usr/bin/env bash
# The copy-progress window, as a user sees it. A product of one large file (its install slowed to the pace of a
# slow disk by the project's handler), a small one and the uninstaller (the progress_distribution target, built
# once with the Linux build command) is installed from its setup.exe:
#   1. the progress window shows while the large file is extracted: two screenshots 0.7 s apart, its texts
#      ("Processing", the file's name, the two bar labels, Cancel), its picture (not a flat area) and both bars
#      moving between the two shots; the install ends with "Setup complete" and every file in place, the
#      files added those of expect/progress.files; the uninstaller leaves the prefix as before;
#   2. Cancel clicked in the window while the large file comes: the project's OnUserAbort asks "Do you want to
#      cancel the installation?"; No lets the copying go on, the window still open; Cancel again, and Yes: the
#      install stops at once ("Setup incomplete" within a second of the answer, exit code 3), and the prefix is
#      as before: no file of the product, no uninstall key, no install record.
#
#   tests/e2e/progress-cancel.sh BUILD_DIR
e2e_distribution=progress_distribution
e2e_dist=tests/e2e-progress/dist
e2e_product='Progress Test'
source "$(dirname "$0")/lib.sh"
e2e_keys+=('HKLM\Software\Pellmoor\Install')

progress_title='Copying installation files'
question='Do you want to cancel the installation?'
product="$e2e_build/tests/e2e-progress/product"
installed="$e2e_drive/Program Files/Progress Test"
cancel_at="418 24" # the window's Cancel button, in its client area
# The window's client area starts 3,22 into its screenshot (Wine's dialog frame and caption bar).
crop() { convert "$1" -crop "$2" +repage "$3" 2>/dev/null; }
mean() { convert "$1" -colorspace Gray -format '%[fx:mean]' info: 2>/dev/null; }
spread() { convert "$1" -colorspace Gray -format '%[fx:standard_deviation]' info: 2>/dev/null; }
product_files() { find "$installed" -type f 2>/dev/null; }
key_there() { sw_wine_run 60 wine reg query "$1" >/dev/null 2>&1; }
progress_shown() { xdotool search --onlyvisible --name "^${progress_title}\$" >/dev/null 2>&1; }

# 1. The whole install, with the window shown while it copies.
e2e_state "$e2e_tmp/before"
e2e_start_setup
e2e_page "$progress_title" 'Processing' 'large.bin' 'File progress' 'Total progress' 'Cancel' ||
    e2e_abort "no progress window while the large file is copied"
one=$(ls "$e2e_shots"/*.png | tail -n 1)
sleep 0.7
two="$e2e_shots/mid-copy-0.7s-later.png"
sw_page_shot "$e2e_id" "$two"
e2e_page 'Setup complete' 'Finish' || e2e_abort "the install did not complete"
sw_page_keys "$e2e_id" Return
e2e_wait_setup 0

# The picture (client 8,8, 48 x 48) is drawn; both bars (client 160,59 and 160,87, 198 x 17) fill between the
# two screenshots.
crop "$two" 48x48+11+30 "$e2e_tmp/picture.png"
crop "$one" 198x17+163+81 "$e2e_tmp/file-1.png"
crop "$two" 198x17+163+81 "$e2e_tmp/file-2.png"
crop "$one" 198x17+163+109 "$e2e_tmp/total-1.png"
crop "$two" 198x17+163+109 "$e2e_tmp/total-2.png"
picture=$(spread "$e2e_tmp/picture.png")
file1=$(mean "$e2e_tmp/file-1.png") file2=$(mean "$e2e_tmp/file-2.png")
total1=$(mean "$e2e_tmp/total-1.png") total2=$(mean "$e2e_tmp/total-2.png")
check "the progress window paints its picture (grey spread $picture)" \
    awk -v p="$picture" 'BEGIN { exit !(p > 0.05) }'
check "both bars move while copying (file bar $file1 -> $file2, total bar $total1 -> $total2)" \
    awk -v a="$file1" -v b="$file2" -v c="$total1" -v d="$total2" 'BEGIN { exit !(a != b && c != d) }'
check "every file is installed as it was packed" eval 'cmp -s "$installed/large.bin" "$product/large.bin" &&
    cmp -s "$installed/second.bin" "$product/second.bin" && cmp -s "$installed/uninstall.exe" "$product/uninstall.exe"'
e2e_state "$e2e_tmp/after"
e2e_added "$e2e_tmp/before" "$e2e_tmp/after" >"$e2e_tmp/added"
check "the files installed are those of the product" diff "$e2e_root/tests/e2e/expect/progress.files" "$e2e_tmp/added"
check "the uninstall key names the uninstaller" grep -q 'UninstallString' "$e2e_tmp/after"
e2e_uninstall
e2e_state "$e2e_tmp/clean"
e2e_same "the uninstaller leaves the prefix as before" "$e2e_tmp/before" "$e2e_tmp/clean"

# 2. Cancel while the large file comes: declined, then confirmed.
e2e_start_setup
e2e_page "$progress_title" 'Processing' 'Cancel' || e2e_abort "no progress window for the cancel"
sw_window_click "$e2e_id" $cancel_at
e2e_box "$question" n
sleep 0.5
check "No to the question lets the copying go on, the window open" progress_shown
sw_window_click "$e2e_id" $cancel_at
e2e_box "$question" Return
stopped=""
sw_window_wait 'Setup incomplete' 60 >/dev/null && stopped=$(date +%s.%N)
took=$([ -n "$stopped" ] && awk -v a="$e2e_answered" -v b="$stopped" 'BEGIN { printf "%.2f", b - a }')
check "Yes stops the install at once (Setup incomplete ${took:-never} s after the answer)" \
    awk -v t="${took:-99}" 'BEGIN { exit !(t < 1.0) }'
e2e_page 'Setup incomplete' 'Finish' || e2e_abort "the cancelled install did not end on setup incomplete"
sw_page_keys "$e2e_id" Return
e2e_wait_setup 3
check "the cancelled install leaves no file of the product" [ -z "$(product_files)" ]
check "the cancelled install leaves no uninstall key and no install record" \
    eval '! key_there "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$e2e_product" &&
    ! key_there "HKLM\\SOFTWARE\\Pellmoor\\Install\\Install0"'
e2e_state "$e2e_tmp/cancelled"
e2e_same "the cancelled install leaves the prefix as before" "$e2e_tmp/before" "$e2e_tmp/cancelled"
e2e_finish
