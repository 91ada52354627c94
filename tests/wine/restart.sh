#!/usr/bin/env bash
# A restart from a file in use, end to end under Wine: the setup program
# builds its distribution (-b); a second program holds the installed COM
# library open without sharing; the self-extracting setup.exe installs the
# product over it, which leaves the new library under a temporary name and
# its registration for the next start of Windows, registers the restart
# command in RunOnce, and saves the language the first run chose; the user
# puts the restart off. "wineboot -r" restarts the prefix: the rename
# happens, the RunOnce command runs the program with -r, which registers the
# library, ends the install in the saved language and removes the install
# record. The uninstaller is held open too: "UninstallString" and a shortcut
# to the library name the files by the names they have after the restart,
# and the uninstaller then removes the product; a notes file that a handler
# skips leaves the user's own notes of that name alone, uninstall included,
# and gets no shortcut. Once with Wine's default (NT) personality (MoveFileEx), once with
# MoveFileEx refused, where a batch file in RunOnce replaces the library
# (Wine runs the -r command before it, so the -r run must run the batch
# itself first), and once as Windows 98 (WININIT.INI).
#
#   tests/wine/restart.sh BUILD_DIR      (run by scripts/test.sh inside a throwaway prefix)
set -uo pipefail

build=$(cd "${1:?build directory}" && pwd)
here=$(cd "$(dirname "$0")/../.." && pwd)
setup="$build/tests/restart_setup.exe"
uninstaller="$build/src/app/uninstall.exe"
loader_dir="$build/src/app/loader"
# The test servers: a COM library, and a program that holds a file open (/HOLD FILE SECONDS).
com_dll="$build/tests/sw_com_dll.dll"
holder="$build/tests/sw_com_exe.exe"
com_key='HKCR\CLSID\{5E7A1C2B-3F4D-4E5F-8A9B-0C1D2E3F4A5B}'
com_class='Software\\Classes\\CLSID\\{5E7A1C2B-3F4D-4E5F-8A9B-0C1D2E3F4A5B}\\InprocServer32'
source "$here/scripts/wine-env.sh" && sw_wine_init || exit 1
for f in "$setup" "$uninstaller" "$com_dll" "$holder" "$loader_dir/M41R08.TXT"; do
    [ -f "$f" ] || { echo "no $f"; echo "0 passed, 1 failed"; exit 1; }
done
source "$here/tests/wine/checks.sh"

c="$WINEPREFIX/drive_c"
src="$c/swrsrc"
dist="$c/Dist Folder"
product="$c/Program Files/Restart Test"
product_win='C:\Program Files\Restart Test'
record='Software\\Pellmoor\\Install\\Install0'
runonce='Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce'
results='Software\\Setwright Tests\\Restart Test'
french=4 # plFrench
w() { sw_wine_run 300 wine "$@"; }

# hive_value KEY NAME: the data of a value as the machine hive on disk holds it (KEY as written there, with
# doubled backslashes, below HKEY_LOCAL_MACHINE; NAME @ for the default value). Read after wineserver -w.
hive_value() {
    local name='"'$2'"='
    [ "$2" = @ ] && name='@='
    # Through the environment: awk -v would undo the doubled backslashes.
    KEY="[$1]" NAME=$name awk '
        BEGIN { key = tolower(ENVIRON["KEY"]); name = tolower(ENVIRON["NAME"]) }
        { sub(/\r$/, "") }
        tolower(substr($0, 1, length(key))) == key && substr($0, length(key) + 1, 1) ~ /^( |$)/ { inkey = 1; next }
        /^\[/ { inkey = 0 }
        inkey && tolower(substr($0, 1, length(name))) == name { print substr($0, length(name) + 1); found = 1; exit }
        END { exit !found }' "$WINEPREFIX/system.reg"
}
hive_has_key() { grep -qiF "[$1]" "$WINEPREFIX/system.reg"; }

# The distribution, as an author builds it: BUILD.INF beside the program names the build folder; the
# loading program is found through the library search path.
build_distribution() {
    mkdir -p "$src/files"
    cp "$setup" "$src/restart_setup.exe"
    cp "$com_dll" "$src/files/comdll.dll"
    cp "$uninstaller" "$src/files/uninstall.exe"
    echo "read me" >"$src/files/readme.txt"
    echo "the product's notes" >"$src/files/notes.txt"
    printf 'C:\\Dist Folder\r\n' >"$src/BUILD.INF"
    w reg add 'HKCU\Software\Setwright\Build' /v LibrarySearchPath /d "Z:${loader_dir//\//\\}" /f >/dev/null 2>&1
    (cd "$src" && w restart_setup.exe -b >"$build/tests/restart-build.log" 2>&1)
    timeout -k 5 60 wineserver -w
    [ -f "$dist/setup.exe" ]
}

# hold_file NAME: a holder keeps the product's old file NAME open without sharing until it is stopped.
holder_pids=()
hold_file() {
    cp "$holder" "$c/swhold.exe"
    # Started directly, so that its id is the one to stop.
    timeout -k 5 300 wine 'C:\swhold.exe' /HOLD "$product_win\\$1" 600 >/dev/null 2>&1 &
    holder_pids+=($!)
    local i
    for i in $(seq 1 30); do
        # A copy cannot read a file opened without sharing.
        w cmd /c copy /y "$product_win\\$1" 'C:\swprobe.tmp' >/dev/null 2>&1 || return 0
        sleep 1
    done
    return 1
}

# The install from setup.exe; a message box would be an error: its text is kept and it is answered.
first_run() {
    local log="$build/tests/restart-$1-first.log" pid
    WINEDEBUG=trace+msgbox sw_wine_run 300 wine 'C:\Dist Folder\setup.exe' >"$log" 2>&1 &
    pid=$!
    box=$(sw_wine_box_text "$log" "$pid")
    [ -n "$box" ] && { sleep 1; xdotool key --clearmodifiers Return 2>/dev/null; }
    wait "$pid"
    kill "${holder_pids[@]}" 2>/dev/null
    wait "${holder_pids[@]}" 2>/dev/null
    holder_pids=()
    timeout -k 5 120 wineserver -w
}

# In the hive on disk a backslash is doubled.
hive_form() { sed 's/\\/\\\\/g' <<<"$1"; }
unfinished() { hive_value "$record\\\\Unfinished" "$1"; }
restart_command_has_r() { [[ $(hive_value "$runonce" PellmoorUnfinished) == *" -r "* ]]; }
registered_in_product() { [ "$(hive_value "$com_class" @)" = "\"$(hive_form "$product_win\\comdll.dll")\"" ]; }
not_registered() { ! hive_has_key "$com_class"; }
record_gone() { ! hive_has_key "$record"; }
session='HKLM\System\CurrentControlSet\Control\Session Manager'
# Wine's MoveFileEx refuses to add a pending rename while this value is not a list of texts (the restart
# drops it).
refuse_pending_renames() { w reg add "$session" /v PendingFileRenameOperations /t REG_SZ /d refused /f >/dev/null 2>&1; }
allow_pending_renames() { w reg delete "$session" /v PendingFileRenameOperations /f >/dev/null 2>&1; }
# The replacement batch RunOnce names, as a Linux path on drive C:. Read from the hive, not through Wine:
# a new Wine session would run the RunOnce commands before the restart.
pending_batch() {
    local path
    path=$(hive_value "$runonce" PellmoorBatFile) || return 1
    path=${path#\"}
    path=${path%\"}
    path=${path//\\\\//}
    [[ $path == [Cc]:/* ]] && echo "$c/${path:3}"
}
batch_waits() { [ -n "$batch" ] && [ -f "$batch" ]; }
# The uninstall command as the hive holds it, naming the uninstaller by its own name.
uninstall_key='Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Restart Test'
uninstall_names_uninstaller() {
    [ "$(hive_value "$uninstall_key" UninstallString)" = "\"\\\"$(hive_form "$product_win\\uninstall.exe")\\\" Restart Test\"" ]
}
# link_names LINK FILE: the shell link's target is the product's FILE (its text, ANSI or UTF-16, names it).
link_names() {
    local text
    text=$({ strings -a "$1"; strings -a -el "$1"; } 2>/dev/null)
    grep -qiF "$product_win\\$2" <<<"$text" && ! grep -qiF "$product_win\\${2%.*}.1" <<<"$text"
}
# uninstall: runs the uninstaller silently as "UninstallString" starts it and waits for it to go (as
# Windows 98 it goes at the next restart).
uninstall() {
    w "$product_win\\uninstall.exe" /S Restart Test
    local rc=$? i
    for i in $(seq 1 120); do
        [ -e "$product/uninstall.exe" ] && [ "$personality" != win98 ] || break
        sleep 1
    done
    timeout -k 5 120 wineserver -w
    return $rc
}
restart_commands_gone() { ! hive_value "$runonce" PellmoorUnfinished >/dev/null && ! hive_value "$runonce" PellmoorBatFile >/dev/null; }

# restart_case NAME [batch]: with batch, MoveFileEx is refused during the install.
restart_case() {
    local personality=$1 mode=${2:-} batch=
    rm -rf "$product"
    mkdir -p "$product"
    echo "the old library" >"$product/comdll.dll"
    echo "the old uninstaller" >"$product/uninstall.exe"
    echo "the user's notes" >"$product/notes.txt"
    check "$personality: the old library is held open" hold_file comdll.dll
    check "$personality: the old uninstaller is held open" hold_file uninstall.exe
    # While the holder runs, in the same Wine session.
    [ "$mode" = batch ] && refuse_pending_renames
    first_run "$personality"
    # The product's folder in the Programs menu, wherever this personality keeps it.
    links=$(find "$c" -name Server.lnk -printf '%h\n' | head -n 1)
    if [ "$mode" = batch ]; then
        batch=$(pending_batch)
        check "$personality: the replacement batch waits in RunOnce" batch_waits
    fi
    check "$personality: the first run showed no message box${box:+: $box}" [ -z "$box" ]
    check "$personality: the old library stays until the restart" \
        [ "$(cat "$product/comdll.dll" 2>/dev/null)" = "the old library" ]
    check "$personality: the new library waits under a temporary name" cmp -s "$product/comdll.1" "$com_dll"
    check "$personality: the readme is in place" [ "$(cat "$product/readme.txt" 2>/dev/null)" = "read me" ]
    check "$personality: the registration waits for the restart" [ "$(unfinished ServerFile)" = '"0"' ]
    check "$personality: the chosen language is saved" [ "$(hive_value "$record" Language)" = "dword:0000000$french" ]
    check "$personality: the restart command runs the program with -r" restart_command_has_r
    check "$personality: the library is not registered before the restart" not_registered
    check "$personality: the new uninstaller waits under a temporary name" cmp -s "$product/uninstall.1" "$uninstaller"
    check "$personality: UninstallString names the uninstaller by its own name" uninstall_names_uninstaller
    check "$personality: the shortcut names the library by its own name" link_names "$links/Server.lnk" comdll.dll
    check "$personality: the skipped notes file left the user's notes" \
        [ "$(cat "$product/notes.txt" 2>/dev/null)" = "the user's notes" ]
    check "$personality: the skipped notes file got no shortcut" [ ! -e "$links/Notes.lnk" ]

    timeout -k 10 300 wineboot -r >/dev/null 2>&1
    timeout -k 5 120 wineserver -w
    check "$personality: after the restart the new library is in place" cmp -s "$product/comdll.dll" "$com_dll"
    check "$personality: the temporary name is gone" [ ! -e "$product/comdll.1" ]
    check "$personality: the library registered itself after the restart" registered_in_product
    check "$personality: the good end ran in the saved language" \
        [ "$(hive_value "$results" GoodEndLanguage)" = "\"$french\"" ]
    check "$personality: the install record is gone" record_gone
    check "$personality: RunOnce is empty again" restart_commands_gone
    check "$personality: after the restart the new uninstaller is in place" cmp -s "$product/uninstall.exe" "$uninstaller"
    check "$personality: the shortcut's target is the new library" cmp -s "$product/comdll.dll" "$com_dll"
    check "$personality: the uninstaller runs as UninstallString says" uninstall
    check "$personality: the uninstaller removed the readme" [ ! -e "$product/readme.txt" ]
    check "$personality: the uninstaller removed the library" [ ! -e "$product/comdll.dll" ]
    [ "$personality" = win98 ] ||
        check "$personality: the uninstaller removed itself" [ ! -e "$product/uninstall.exe" ]
    check "$personality: the uninstaller removed the shortcut" [ ! -e "$links/Server.lnk" ]
    check "$personality: the user's notes survive the uninstall" \
        [ "$(cat "$product/notes.txt" 2>/dev/null)" = "the user's notes" ]
    if [ "$mode" = batch ]; then
        check "$personality: the batch is deleted" [ ! -e "$batch" ]
        allow_pending_renames
    fi
    # The next case starts from a machine without the product.
    w reg delete 'HKLM\Software\Setwright Tests' /f >/dev/null 2>&1
    w reg delete "$com_key" /f >/dev/null 2>&1
    w reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Restart Test' /f >/dev/null 2>&1
    rm -rf "$product" "$c/swprobe.tmp" "$links"
}

check "the setup program builds its distribution" build_distribution
[ "$failed" -eq 0 ] || { checks_summary; exit 1; }
restart_case default
restart_case batch batch
sw_wine_version win98 || { echo "could not set the Windows version"; exit 1; }
restart_case win98

checks_summary
