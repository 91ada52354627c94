#!/usr/bin/env bash
# The demo: builds the demo product's setup program, builds its distribution with "setup.exe -b" under Wine,
# installs the product from the self-extracting setup.exe alone, as an end user would, reports what the install
# left, then uninstalls it and reports that the machine is as before. Everything runs in a throwaway Wine prefix
# on a virtual display; screenshots go to build/win32/demo/.
set -uo pipefail

cd "$(dirname "$0")/.." || exit 1
root=$PWD
native_dir="$root/build/native"
win32_dir="$root/build/win32"
demo_dir="$win32_dir/examples/demo"
setup="$demo_dir/setup.exe"
loader_dir="$win32_dir/src/app/loader"
shots="$win32_dir/demo"
product='Setwright Demo'

step() {
    echo "==== $* ===="
}

fail() {
    echo "demo: $*" >&2
    exit 1
}

step "prerequisites"
bash scripts/install-prereqs.sh || fail "installing the prerequisites failed"

# The win32 build compiles its text forms with the native formtext; the native archive tool reports.
step "native build"
cmake --preset native >/dev/null && cmake --build --preset native --target formtext archive >/dev/null ||
    fail "the native build failed (cmake --build --preset native shows why)"
archive_tool="$native_dir/tools/archive/archive"
step "win32 build"
source scripts/build-dir.sh
sw_fresh_build_dir "$win32_dir"
cmake --preset win32 -DSW_FORMTEXT="$native_dir/tools/formtext/formtext" >/dev/null &&
    cmake --build --preset win32 --target setup >/dev/null ||
    fail "the win32 build of the setup program failed (cmake --build --preset win32 --target setup shows why)"
[ -f "$setup" ] || fail "$setup was not built"

step "Wine prefix"
source scripts/wine-env.sh
wine_path=$(sw_wine_path) || fail "32-bit Linux programs do not run here, not even through qemu-i386"
echo "Wine path: $wine_path"
sw_wine_init || fail "Wine did not start"
drive_c="$WINEPREFIX/drive_c"
rm -rf "$shots"
mkdir -p "$shots"

# run_program NAME TIMEOUT COMMAND...: runs a Windows program to its end. A message box is reported (Wine's
# msgbox trace), kept as a screenshot and answered with Enter; any box makes the step fail.
run_program() {
    local name=$1 seconds=$2
    shift 2
    local trace="$SW_WINE_TMP/$name.trace" boxes_seen=0 pid rc
    : >"$trace"
    WINEDEBUG=trace+msgbox sw_wine_run "$seconds" "$@" >"$trace" 2>&1 &
    pid=$!
    sw_wine_answer_boxes "$trace" "$pid" enter_box
    wait "$pid"
    rc=$?
    timeout -k 5 60 wineserver -w
    echo "  $name ended with exit code $rc"
    [ "$rc" -eq 0 ] && [ "$boxes_seen" -eq 0 ]
}

# enter_box TEXT N: reports the N-th box of run_program's program, keeps a screenshot, answers with Enter.
enter_box() {
    boxes_seen=$2
    sleep 1
    import -window root "$shots/$name-box-$2.png" 2>/dev/null
    echo "  message box: \"$1\": Enter"
    xdotool key --clearmodifiers Return 2>/dev/null
}

# The files of the prefix, without Wine's own logs, caches and temporary files.
prefix_files() {
    (cd "$drive_c" && find . -path ./windows/temp -prune -o -path './users/*/Temp' -prune -o -type f -print) |
        grep -v -i -E '^\./windows/(inf|logs)/|\.log$|^\./(Setwright Demo Dist|Downloads)/' | sort
}

# The values of a registry key and its subkeys, or nothing when it does not exist.
reg_dump() {
    sw_wine_run 60 wine reg query "$1" /s 2>/dev/null | tr -d '\r' | sed -n '/[^[:space:]]/s/^/    /p'
}

step "building the distribution: setup.exe -b"
dist="$drive_c/Setwright Demo Dist"
# BUILD.INF beside the program names the build folder; the loading program is found through the folder
# that holds the marker file M41R08.TXT, listed in the library search path.
printf 'C:\\Setwright Demo Dist\r\n' >"$demo_dir/BUILD.INF"
sw_wine_run 60 wine reg add 'HKCU\Software\Setwright\Build' /v LibrarySearchPath \
    /d "Z:${loader_dir//\//\\}" /f >/dev/null 2>&1 || fail "could not register the library search path"
# The project names its files relative to the folder it is built from.
(cd "$demo_dir" && run_program build 600 wine setup.exe -b)
built=$?
rm -f "$demo_dir/BUILD.INF"
[ $built -eq 0 ] || fail "the build failed"
echo "  the distribution:"
(cd "$dist" && find . -type f -printf '    %-12P %10s bytes\n' | sort)
echo "  the archives inside setup.exe:"
"$archive_tool" list "$dist/setup.exe" | sed 's/^/    /' || fail "the archive tool cannot read setup.exe"

# walk_wizard: the user's part of the install, keyboard and mouse on each page, a screenshot of each page
# (wizard-*.png); fails when a page does not come.
folder='Demo Tools'
walk_wizard() {
    local id
    id=$(sw_page_wait 'Select a language' 300) || return 1
    sw_page_shot "$id" "$shots/wizard-0-language.png"
    echo "  Select a language: a click on Next"
    sw_page_click "$id" $SW_NEXT_BTN
    id=$(sw_page_wait 'Welcome' 60) || return 1
    sw_page_shot "$id" "$shots/wizard-1-welcome.png"
    echo "  Welcome: Enter"
    sw_page_keys "$id" Return
    id=$(sw_page_wait 'Software license agreement' 60) || return 1
    sw_page_shot "$id" "$shots/wizard-2-license.png"
    echo "  Software license agreement: a click on Next"
    sw_page_click "$id" $SW_NEXT_BTN
    id=$(sw_page_wait 'Readme information' 60) || return 1
    sw_page_shot "$id" "$shots/wizard-3-readme.png"
    echo "  Readme information: Enter"
    sw_page_keys "$id" Return
    id=$(sw_page_wait 'Select components to install' 60) || return 1
    sw_page_shot "$id" "$shots/wizard-3a-groups.png"
    echo "  Select components to install: a click on Next"
    sw_page_click "$id" $SW_NEXT_BTN
    id=$(sw_page_wait 'Select folder in start menu' 60) || return 1
    sw_page_shot "$id" "$shots/wizard-4-folder.png"
    echo "  Select folder in start menu: types \"$folder\", Enter"
    sw_page_click "$id" $SW_FOLDER_EDIT
    sw_page_keys "$id" End shift+Home BackSpace
    sw_page_type "$id" "$folder"
    sw_page_shot "$id" "$shots/wizard-5-folder-typed.png"
    sw_page_keys "$id" Return
    id=$(sw_page_wait 'Setup complete' 300) || return 1
    sw_page_shot "$id" "$shots/wizard-6-complete.png"
    echo "  Setup complete: a click on Finish"
    sw_page_click "$id" $SW_FINISH_BTN
}

step "installing from setup.exe alone, through the wizard"
source scripts/wizard-walk.sh
# The folder page's edit, below its description and label.
SW_FOLDER_EDIT="310 83"
mkdir -p "$drive_c/Downloads"
cp "$dist/setup.exe" "$drive_c/Downloads/setup.exe"
prefix_files >"$SW_WINE_TMP/files.before"
walk_wizard &
walker=$!
run_program install 600 wine 'C:\Downloads\setup.exe' || fail "the install did not end well"
wait "$walker" || fail "the wizard did not show its pages"
prefix_files >"$SW_WINE_TMP/files.after"
link=$(grep -i -E "/Programs/$folder/Setwright Demo\.lnk\$" "$SW_WINE_TMP/files.after")
[ -n "$link" ] || fail "no shortcut in the folder \"$folder\" typed on the folder page"
echo "  the shortcut in the folder typed: C:${link#.}"

step "what the install left"
echo "  files (size in bytes):"
comm -13 "$SW_WINE_TMP/files.before" "$SW_WINE_TMP/files.after" | while read -r f; do
    printf '    C:%-64s %8s\n' "${f#.}" "$(stat -c %s "$drive_c/$f")"
done
echo "  version of the shared library (as packed): $("$archive_tool" list "$dist/setup.exe" |
    awk '/SwDemoLib\.dll$/ { print $4 }')"
leftover=$(find "$drive_c/windows/temp" "$drive_c"/users/*/Temp -mindepth 1 -maxdepth 1 -type d 2>/dev/null)
echo "  unpacked setup left in a temporary folder: ${leftover:-none}"
echo "  registry:"
for key in 'HKLM\Software\Setwright Samples' \
    "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product"; do
    echo "  $key"
    reg_dump "$key"
done
echo "  shared library counter:"
reg_dump 'HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs' | grep -i 'SwDemoLib' ||
    echo "    none"

step "uninstalling"
uninstall_string=$(sw_wine_run 60 wine reg query \
    "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product" /v UninstallString 2>/dev/null |
    tr -d '\r' | sed -n 's/^ *UninstallString *REG_SZ *//p')
[ -n "$uninstall_string" ] || fail "the install left no UninstallString"
echo "  UninstallString: $uninstall_string"
# As the string says, silently: the program, /S, then the product name.
program=$(sed -n 's/^"\([^"]*\)".*/\1/p' <<<"$uninstall_string")
run_program uninstall 300 wine "$program" /S "$product" || fail "the uninstaller did not end well"
sleep 2
timeout -k 5 60 wineserver -w
prefix_files >"$SW_WINE_TMP/files.clean"

step "is the machine clean again?"
clean=1
if ! diff <(sed 's/^/    /' "$SW_WINE_TMP/files.before") <(sed 's/^/    /' "$SW_WINE_TMP/files.clean") >"$SW_WINE_TMP/files.diff"; then
    echo "  files that differ from before the install (< before, > now):"
    grep '^[<>]' "$SW_WINE_TMP/files.diff"
    clean=
fi
# The company's key above the product's is not on the lists: the uninstaller leaves it.
for key in "HKLM\\Software\\Setwright Samples\\$product" \
    "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product"; do
    if sw_wine_run 60 wine reg query "$key" >/dev/null 2>&1; then
        echo "  registry key left: $key"
        clean=
    fi
done
if reg_dump 'HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs' | grep -q -i 'SwDemoLib'; then
    echo "  shared library counter left"
    clean=
fi
[ -n "$clean" ] || fail "the uninstall left the machine changed"
echo "  yes: the files and registry are as before the install"

step "a second install, cancelled on the readme page"
# walk_to_cancel: Next through welcome and licence, Cancel on the readme page (run_program answers the
# project's question whether to cancel with Enter: Yes), then Finish on the setup-incomplete page.
walk_to_cancel() {
    local id
    id=$(sw_page_wait 'Select a language' 300) || return 1
    sw_page_shot "$id" "$shots/cancel-0-language.png"
    echo "  Select a language: a click on Next"
    sw_page_click "$id" $SW_NEXT_BTN
    id=$(sw_page_wait 'Welcome' 60) || return 1
    sw_page_keys "$id" Return
    id=$(sw_page_wait 'Software license agreement' 60) || return 1
    sw_page_click "$id" $SW_NEXT_BTN
    id=$(sw_page_wait 'Readme information' 60) || return 1
    echo "  Readme information: a click on Cancel"
    sw_page_click "$id" $SW_CANCEL_BTN
    id=$(sw_page_wait 'Setup incomplete' 120) || return 1
    sw_page_shot "$id" "$shots/wizard-7-incomplete.png"
    echo "  Setup incomplete: a click on Finish"
    sw_page_click "$id" $SW_FINISH_BTN
}
walk_to_cancel &
walker=$!
# The cancelled install ends with exit code 0 or not; what counts is what it leaves.
run_program cancelled 600 wine 'C:\Downloads\setup.exe'
wait "$walker" || fail "the cancelled install did not show the setup-incomplete page"
prefix_files >"$SW_WINE_TMP/files.cancelled"
diff "$SW_WINE_TMP/files.clean" "$SW_WINE_TMP/files.cancelled" >/dev/null ||
    fail "the cancelled install left files: $(diff "$SW_WINE_TMP/files.clean" "$SW_WINE_TMP/files.cancelled" | grep '^>')"
echo "  nothing installed: the files are as before"
echo "  screenshots of the wizard, in $shots: $(cd "$shots" && ls wizard-*.png | tr '\n' ' ')"
