#!/usr/bin/env bash
# The loading program under Wine: a setup.exe joined from PellmoorLoadProgram.exe, a setup.1 holding a
# stand-in setup program (which logs how it was started) with a presetup file, and a files.1; and the first
# disk of a floppy set, the loading program alone with setup.1 beside it in the root of drive A:. Each case
# checks the command line and folder the stand-in got, the exit code passed on, and that no unpacked folder
# is left behind; damaged setups must show a message box (Wine's msgbox trace) and leave nothing; planted
# DLLs beside setup.exe must not be loaded (Wine's loaddll trace).
#
#   tests/wine/loading-program.sh BUILD_DIR      (run by scripts/test.sh inside a throwaway prefix)
set -uo pipefail

build=$(cd "${1:?build directory}" && pwd) || exit 1
here=$(cd "$(dirname "$0")/../.." && pwd)
source "$here/scripts/wine-env.sh" && sw_wine_init || exit 1
loader="$build/src/app/loader/PellmoorLoadProgram.exe"
standin="$build/tests/StandInSetup.exe"
archive="$(dirname "$build")/native/tools/archive/archive"
for f in "$loader" "$standin" "$archive"; do
    [ -f "$f" ] || { echo "no $f"; echo "0 passed, 1 failed"; exit 1; }
done

source "$here/tests/wine/checks.sh"

drive_c="$WINEPREFIX/drive_c"
dist="$drive_c/my dist"
work="$drive_c/loader-work"
rm -rf "$dist" "$work"
mkdir -p "$dist" "$work"
cp "$standin" "$work/MySetup.exe"
touch -d '2020-05-17 10:20:30' "$work/MySetup.exe"
echo "read me" >"$work/readme.txt"
head -c 300000 /dev/urandom >"$work/product.bin"
(cd "$work" && "$archive" add setup.1 MySetup.exe readme.txt && "$archive" add files.1 product.bin) >/dev/null ||
    { echo "archive add failed"; echo "0 passed, 1 failed"; exit 1; }
cp "$loader" "$dist/setup.exe"
"$archive" join "$dist/setup.exe" "$work/setup.1" "$work/files.1" >/dev/null || fail join "archive join failed"
good="$work/good-setup.exe"
cp "$dist/setup.exe" "$good"

listing=$("$archive" list "$dist/setup.exe" 2>&1)
if [[ $listing == *"setup.1 at offset $(stat -c %s "$loader"):"*MySetup.exe*readme.txt*"files.1 at offset"*product.bin* ]]; then
    ok archive-lists-the-setup
else
    fail archive-lists-the-setup "$listing"
fi

unpacked() { find "$drive_c" -type d -name 'PLD*' 2>/dev/null; }
log_file="$dist/log.txt"

# run_setup ARGS...: runs $exe (C:\my dist\setup.exe unless set); sets rc and out (the stand-in's log).
exe='C:\my dist\setup.exe'
run_setup() {
    rm -f "$log_file"
    SW_STANDIN_LOG='C:\my dist\log.txt' sw_wine_run 120 wine "$exe" "$@" >"$work/run.log" 2>&1
    rc=$?
    out=$(tr -d '\r' <"$log_file" 2>/dev/null)
}

# A normal start: -s, -e and -c naming the folder it removes; the exit code passed on; the folder removed.
SW_STANDIN_EXIT=7 run_setup
cmdline=$(sed -n 's/^cmdline=//p' <<<"$out")
folder=$(sed -n 's/^cwd=//p' <<<"$out")
expected="\"$folder\\MySetup.exe\" \"-sC:\\my dist\" \"-esetup.exe\" \"-c$folder\""
if [ "$cmdline" = "$expected" ] && [[ $folder == *'\PLD'* ]]; then
    ok starts-the-setup-program
else
    fail starts-the-setup-program "expected [$expected], got [$cmdline]"
fi
[ "$rc" -eq 7 ] && ok passes-the-exit-code-on || fail passes-the-exit-code-on "exit code $rc"
grep -q '^presetup=yes$' <<<"$out" && ok unpacks-the-presetup-files || fail unpacks-the-presetup-files "$out"
# Every run unpacks a setup program of the same date, the one packed: the install record knows it by it.
packed_date=$(grep 'MySetup\.exe$' <<<"$listing" | grep -o '[0-9]\{4\}-[0-9][0-9]-[0-9][0-9] [0-9:]\{8\}')
unpacked_date=$(sed -n 's/^date=//p' <<<"$out")
if [ "$packed_date" = "2020-05-17 10:20:30" ] && [ "$unpacked_date" = "$packed_date" ]; then
    ok the-setup-program-keeps-its-packed-date
else
    fail the-setup-program-keeps-its-packed-date "packed [$packed_date], unpacked [$unpacked_date]"
fi
[ -z "$(unpacked)" ] && ok removes-the-unpacked-folder || fail removes-the-unpacked-folder "$(unpacked)"

# *TODISK: the floppy mode.
run_setup '*TODISK'
cmdline=$(sed -n 's/^cmdline=//p' <<<"$out")
if [[ $cmdline == *'" "-sC:\my dist" "-esetup.exe" -f' ]]; then
    ok todisk-asks-for-the-floppy-mode
else
    fail todisk-asks-for-the-floppy-mode "[$cmdline]"
fi
[ -z "$(unpacked)" ] || fail todisk-removes-the-unpacked-folder "$(unpacked)"

# A restart registered from the folder keeps it.
SW_STANDIN_RUNONCE=1 run_setup
left=$(unpacked)
if [ -n "$left" ] && [ -f "$left/MySetup.exe" ]; then
    ok a-pending-restart-keeps-the-folder
else
    fail a-pending-restart-keeps-the-folder "nothing left"
fi
sw_wine_run 60 wine reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce' /v SwStandIn /f \
    >/dev/null 2>&1
rm -rf "$left"

# damaged_case NAME [DAMAGED]: runs $exe, which must show one box naming DAMAGED (default $exe) as damaged.
damaged_case() {
    local name=$1 damaged=${2:-$exe} trace="$work/$1.trace" text pid i
    rm -f "$log_file"
    WINEDEBUG=trace+msgbox timeout -k 5 150 wine "$exe" >"$trace" 2>&1 &
    pid=$!
    text=$(sw_wine_box_text "$trace" "$pid")
    # Enter until the box closes: the first may come before the box has the focus.
    for i in $(seq 1 20); do
        sleep 1
        kill -0 "$pid" 2>/dev/null || break
        xdotool key --clearmodifiers Return 2>/dev/null
    done
    wait "$pid"
    local code=$?
    if [ "$text" != "The setup file $damaged is damaged and cannot be run. Please get a new copy of it." ]; then
        fail "$name" "box [$text]"
    elif [ "$code" -ne 1 ] || [ -f "$log_file" ] || [ -n "$(unpacked)" ]; then
        fail "$name" "exit code $code, started: $([ -f "$log_file" ] && echo yes || echo no), left: $(unpacked)"
    else
        ok "$name"
    fi
}

size=$(stat -c %s "$good")
head -c $((size - 30)) "$good" >"$dist/setup.exe"
damaged_case truncated-setup
cp "$good" "$dist/setup.exe"
# setup.1 begins right after the loading program; its first entry's data 177 bytes further on.
printf '\xff\xff\xff\xff\xff\xff\xff\xff' |
    dd of="$dist/setup.exe" bs=1 seek=$(($(stat -c %s "$loader") + 400)) conv=notrunc status=none
damaged_case damaged-setup-archive
cp "$good" "$dist/setup.exe"
printf '\xf0\xff\xff\x7f' | dd of="$dist/setup.exe" bs=1 seek=$((size - 56 + 20)) conv=notrunc status=none
damaged_case trailer-outside-the-file
# An entry named after a device (NUL) would be opened as the device, not written into the folder.
echo device >"$work/NUL.txt"
(cd "$work" && "$archive" add device.1 MySetup.exe NUL.txt) >/dev/null
cp "$loader" "$dist/setup.exe"
"$archive" join "$dist/setup.exe" "$work/device.1" >/dev/null
damaged_case device-name-entry

# The first disk of a floppy set: the loading program alone, setup.1 beside it, in the root of drive A: (a
# folder of the prefix here; tests/e2e/spanned.sh installs from a real 1.44 MB disk). The setup program is
# started without -e, with the root named "A:": a backslash before the closing quote would escape it.
floppy="$work/floppy-a"
mkdir -p "$floppy"
rm -f "$WINEPREFIX/dosdevices/a:"
ln -s "$floppy" "$WINEPREFIX/dosdevices/a:"
cp "$loader" "$floppy/setup.exe"
cp "$work/setup.1" "$floppy/setup.1"
exe='A:\setup.exe'
SW_STANDIN_EXIT=5 run_setup
cmdline=$(sed -n 's/^cmdline=//p' <<<"$out")
folder=$(sed -n 's/^cwd=//p' <<<"$out")
expected="\"$folder\\MySetup.exe\" \"-sA:\" \"-c$folder\""
if [ "$cmdline" = "$expected" ] && [[ $folder == *'\PLD'* ]] && [ "$rc" -eq 5 ] &&
    grep -q '^presetup=yes$' <<<"$out"; then
    ok floppy-disk-starts-the-setup-program-from-setup.1-beside
else
    fail floppy-disk-starts-the-setup-program-from-setup.1-beside \
        "expected [$expected], got [$cmdline], exit code $rc, $(grep presetup <<<"$out")"
fi
if [ -z "$out" ]; then
    fail floppy-disk-removes-the-unpacked-folder "the setup program did not start"
elif [ -n "$(unpacked)" ]; then
    fail floppy-disk-removes-the-unpacked-folder "$(unpacked)"
else
    ok floppy-disk-removes-the-unpacked-folder
fi
rm "$floppy/setup.1"
damaged_case floppy-disk-without-setup.1
printf '\xff\xff\xff\xff\xff\xff\xff\xff' | dd of="$work/setup.1" bs=1 seek=400 conv=notrunc status=none
cp "$work/setup.1" "$floppy/setup.1"
damaged_case floppy-disk-with-a-damaged-setup.1 'A:\setup.1'
: >"$floppy/setup.1"
damaged_case floppy-disk-with-an-empty-setup.1 'A:\setup.1'
exe='C:\my dist\setup.exe'

# The loading program imports from KERNEL32 and ADVAPI32 only: DLLs Windows takes from the system folder
# whatever lies beside setup.exe (USER32, for a message box, it loads by its path in the system folder).
dlls=$(i686-w64-mingw32-objdump -p "$loader" | sed -n 's/^\tDLL Name: //p' | tr '[:lower:]' '[:upper:]' | sort | tr '\n' ' ')
[ "$dlls" = "ADVAPI32.DLL KERNEL32.DLL " ] && ok imports-system-dlls-only || fail imports-system-dlls-only "$dlls"

# DLLs planted beside setup.exe under the names of the MinGW run-times are not loaded. (Wine's own builtin
# DLLs look for msvcrt.dll and the like beside the program too, which Windows does not do for its system
# DLLs, so those names say nothing about the loading program here.)
cp "$good" "$dist/setup.exe"
for dll in libgcc_s_dw2-1.dll libstdc++-6.dll libwinpthread-1.dll mingwm10.dll; do
    cp "$drive_c/windows/system32/version.dll" "$dist/$dll"
done
rm -f "$log_file"
WINEDEBUG=+loaddll SW_STANDIN_LOG='C:\my dist\log.txt' sw_wine_run 120 wine 'C:\my dist\setup.exe' \
    >"$work/loaddll.log" 2>&1
planted=$(tr -d '\r' <"$work/loaddll.log" | grep 'trace:loaddll' | grep -i 'my dist' | grep -v -i 'setup\.exe')
if [ -z "$planted" ] && [ -f "$log_file" ]; then
    ok no-dll-from-the-setup-folder
else
    fail no-dll-from-the-setup-folder "${planted:-the setup program did not start}"
fi

rm -rf "$dist" "$work"
checks_summary
