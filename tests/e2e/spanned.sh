#!/usr/bin/env bash
# Floppy transfer onto a real 1.44 MB file system: a tmpfs of size=1440k mapped as Wine's drive A:. The
# distribution of a product larger than one disk (built with the Linux build command) is copied to floppies
# with "setup.exe *TODISK"; each "Please insert disk N" box is answered after swapping the disk's contents
# (the files on A: are put aside, those of disk N put back). The disks must hold the loading program,
# setup.1 and a spanned files.1 set that verifies; then A:\setup.exe, the loading program on disk 1,
# installs the set as a user would start it: its change-disk window asks for disk 2 (screenshot kept), the
# disk is swapped and Proceed pressed, and the install ends well, leaving no folder in the temporary folder;
# Cancel in that window ends the install as a user abort. Cancel at disk 2 of the transfer must give
# "Aborted by user".
# Where mounting is not permitted, the script says so and skips: the fake backend's FloppyTransferTest
# (engine_tests) runs the transfer and the install from the disks with "-sA:", and loading-program.sh the
# loading program on disk 1 (setup.1 beside it).
#
#   tests/wine/floppy.sh BUILD_DIR      (run by scripts/test.sh inside a throwaway prefix)
set -uo pipefail

build=$(cd "${1:?build directory}" && pwd) || exit 1
here=$(cd "$(dirname "$0")/../.." && pwd)
native="$(dirname "$build")/native"
program="$build/tests/floppy_setup.exe"
loader_dir="$build/src/app/loader"
buildsetup="$native/tools/buildsetup/buildsetup"
archive="$native/tools/archive/archive"
shots="$build/e2e/floppy"
mkdir -p "$shots"

source "$here/tests/wine/checks.sh"

for f in "$program" "$loader_dir/PellmoorLoadProgram.exe" "$buildsetup" "$archive"; do
    [ -f "$f" ] || { fail prerequisites "no $f"; checks_end; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/sw-floppy.XXXXXX") || exit 1
disk="$work/disk"
mkdir -p "$disk"
if ! timeout 30 mount -t tmpfs -o size=1440k,mode=0777 swfloppy "$disk" 2>"$work/mount.log"; then
    echo "SKIPPED floppy transfer onto a real file system: mounting a 1.44 MB tmpfs is not permitted here" \
        "($(cat "$work/mount.log")); engine_tests' FloppyTransferTest runs the flow on the fake backend"
    rm -rf "$work"
    checks_end
fi
cleanup() {
    # No Wine process may hold a file of the disk when it is unmounted.
    timeout -k 5 30 wineserver -k >/dev/null 2>&1
    timeout 30 umount "$disk" 2>/dev/null || echo "floppy: could not unmount $disk" >&2
    rm -rf "$work"
    sw_wine_cleanup
}
source "$here/scripts/wine-env.sh" && sw_wine_init || { timeout 30 umount "$disk"; rm -rf "$work"; exit 1; }
trap cleanup EXIT
drive_c="$WINEPREFIX/drive_c"
rm -f "$WINEPREFIX/dosdevices/a:"
ln -s "$disk" "$WINEPREFIX/dosdevices/a:"

# The product: 1.2 MB that does not compress, so files.1 spans two disks after setup.exe and setup.1.
mkdir -p "$work/product" "$work/program"
head -c 1200000 /dev/urandom >"$work/product/large.bin"
echo "Floppy test readme" >"$work/product/readme.txt"
cp -p "$program" "$work/program/setup.exe"
printf 'Z:%s\r\n' "${work//\//\\}\\dist" >"$work/program/BUILD.INF"
if ! (cd "$work" && "$buildsetup" --tool-dir "$loader_dir" program/setup.exe) >"$shots/build.log" 2>&1; then
    fail build-the-distribution "$(cat "$shots/build.log")"
    checks_end
fi
mkdir -p "$drive_c/dist"
cp "$work/dist/setup.exe" "$drive_c/dist/setup.exe"

# The disk in the drive is put aside in $work/disks/<number>; asking for disk N puts it back when written.
in_drive=1
swap_to() {
    mkdir -p "$work/disks/$in_drive"
    find "$disk" -mindepth 1 -maxdepth 1 -exec mv -t "$work/disks/$in_drive" {} +
    in_drive=$1
    if [ -d "$work/disks/$in_drive" ]; then
        find "$work/disks/$in_drive" -mindepth 1 -maxdepth 1 -exec mv -t "$disk" {} +
    fi
}

# answering NAME CANCEL_AT PROGRAM ARGS...: runs PROGRAM from C:\dist and answers its boxes: disk prompts
# ("Please insert disk N" from the transfer, "... disk #N" from the install) after the swap, with Cancel
# when asked for disk CANCEL_AT, every other box with Enter. Sets $boxes (one text a line), $code.
answering() {
    local name=$1 cancel_at=$2 log="$shots/$1.log" pid
    shift 2
    : >"$log"
    (cd "$drive_c/dist" && WINEDEBUG=trace+msgbox sw_wine_run 900 wine "$@") >"$log" 2>&1 &
    pid=$!
    boxes=""
    sw_wine_answer_boxes "$log" "$pid" answer_box
    wait "$pid"
    code=$?
    timeout -k 5 60 wineserver -w
}

# answer_box TEXT N: answers the N-th box of answering's program.
answer_box() {
    local text=$1 number
    boxes+="$text"$'\n'
    sleep 1
    import -window root "$shots/$name-box-$2.png" 2>/dev/null
    if [[ $text == "Please insert disk "* ]]; then
        number=${text#Please insert disk }
        number=${number#\#}
        if [ "$number" = "$cancel_at" ]; then
            xdotool key --clearmodifiers Escape 2>/dev/null
            return
        fi
        swap_to "$number"
    fi
    xdotool key --clearmodifiers Return 2>/dev/null
}

# transfer NAME CANCEL_AT: runs setup.exe *TODISK.
transfer() { answering "$1" "$2" 'C:\dist\setup.exe' '*TODISK'; }

transfer spanned none
expected=$'Please insert disk 2\nPlease insert disk 1\n'
if [ "$code" -eq 0 ] && [ "$boxes" = "$expected" ]; then
    ok transfer-asks-for-disk-2-then-disk-1
else
    fail transfer-asks-for-disk-2-then-disk-1 "exit code $code, boxes [$boxes]"
fi

# Disk 1: the loading program, setup.1 and files.1; disk 2: files.2. Gathered, the volumes verify.
loader_size=$(stat -c %s "$loader_dir/PellmoorLoadProgram.exe")
if cmp -s "$disk/setup.exe" "$loader_dir/PellmoorLoadProgram.exe" && cmp -s "$disk/setup.1" "$work/dist/setup.1" &&
    [ -f "$disk/files.1" ] && [ -f "$work/disks/2/files.2" ] && [ ! -e "$work/disks/2/files.3" ]; then
    ok disks-hold-the-loading-program-setup.1-and-the-spanned-files
else
    fail disks-hold-the-loading-program-setup.1-and-the-spanned-files \
        "loader $loader_size bytes; disk 1: $(ls -l "$disk" | tr '\n' ' '); disk 2: $(ls -l "$work/disks/2" 2>&1 | tr '\n' ' ')"
fi
set_dir="$drive_c/floppyset"
mkdir -p "$set_dir"
cp "$disk"/files.1 "$work"/disks/2/files.* "$set_dir"/ 2>/dev/null
if "$archive" verify "$set_dir/files.1" >"$shots/verify.log" 2>&1 && grep -q 'large.bin' <("$archive" list "$set_dir/files.1"); then
    ok spanned-volumes-verify
else
    fail spanned-volumes-verify "$(cat "$shots/verify.log")"
fi

# from_disks NAME ACTION: runs A:\setup.exe, disk 1 in the drive as the transfer left it: the loading program
# unpacks setup.1 beside it and starts its setup program, which reads files.1 and asks for disk 2 in its
# change-disk window. The window's screenshot and texts are kept ($window_texts), then ACTION: "proceed"
# puts disk 2 in the drive and presses Proceed (Enter), "cancel" presses Cancel (Escape). Any message box
# is answered with Enter. Sets $code and $boxes.
disk_title="Setup needs the next disk"
from_disks() {
    local name=$1 action=$2 log="$shots/$1.log" pid window cancel_at=none
    : >"$log"
    (cd "$drive_c/dist" && WINEDEBUG=trace+msgbox sw_wine_run 900 wine 'A:\setup.exe') >"$log" 2>&1 &
    pid=$!
    window_texts=""
    if window=$(sw_window_wait "$disk_title" 120); then
        sw_window_shot "$window" "$shots" "$name-change-disk-2"
        window_texts=$(timeout -k 5 30 wine "$build/tests/pagetext.exe" "$disk_title" 2>/dev/null | tr -d '\r')
        if [ "$action" = proceed ]; then
            swap_to 2
            sw_window_keys "$window" Return
        else
            sw_window_keys "$window" Escape
        fi
    fi
    boxes=""
    sw_wine_answer_boxes "$log" "$pid" answer_box
    wait "$pid"
    code=$?
    timeout -k 5 60 wineserver -w
}

temp_folders() { find "$drive_c" -type d -name 'PLD*' 2>/dev/null; }
installed="$drive_c/Program Files/Floppy Test"
from_disks install proceed
# The window names the disk and the folder where its volume is looked for, Proceed has the focus.
if grep -q $'^Static\tPlease insert disk number 2$' <<<"$window_texts" &&
    grep -q $'^Edit\tA:$' <<<"$window_texts" && grep -q $'^Button\tProceed\tfocus$' <<<"$window_texts"; then
    ok the-change-disk-window-asks-for-disk-2
else
    fail the-change-disk-window-asks-for-disk-2 "texts [${window_texts//$'\n'/ | }]"
fi
if [ "$code" -eq 0 ] && [ -z "$boxes" ] &&
    cmp -s "$installed/large.bin" "$work/product/large.bin" &&
    cmp -s "$installed/readme.txt" "$work/product/readme.txt"; then
    ok the-loading-program-on-disk-1-installs-the-set-after-proceed
else
    fail the-loading-program-on-disk-1-installs-the-set-after-proceed "exit code $code, boxes [$boxes]," \
        "installed: $(ls -l "$installed" 2>&1 | tr '\n' ' ')"
fi
if [ -z "$(temp_folders)" ]; then
    ok the-install-leaves-no-temporary-folder
else
    fail the-install-leaves-no-temporary-folder "$(temp_folders)"
fi

# Cancel in the change-disk window ends the install as a user abort (exit code 3) without a box.
swap_to 1
rm -rf "$installed"
from_disks install-cancel cancel
if [ -n "$window_texts" ] && [ "$code" -eq 3 ] && [ -z "$boxes" ] && [ ! -e "$installed/large.bin" ]; then
    ok cancel-in-the-change-disk-window-ends-the-install-as-a-user-abort
else
    fail cancel-in-the-change-disk-window-ends-the-install-as-a-user-abort "exit code $code, boxes [$boxes]," \
        "window ${window_texts:+shown}, installed: $(ls "$installed" 2>&1 | tr '\n' ' ')"
fi

# Cancel at the transfer's prompt for disk 2.
find "$disk" -mindepth 1 -delete
rm -rf "$work/disks"
in_drive=1
transfer cancel 2
expected=$'Please insert disk 2\nAborted by user\n'
if [ "$boxes" = "$expected" ]; then
    ok cancel-at-disk-2-aborts-by-user
else
    fail cancel-at-disk-2-aborts-by-user "exit code $code, boxes [$boxes]"
fi

checks_end
