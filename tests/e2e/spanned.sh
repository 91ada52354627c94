#!/usr/bin/env bash
# A spanned floppy set, onto a real 1.44 MB file system: a tmpfs of size=1440k mapped as Wine's drive A:. The
# distribution of a product larger than one disk (the spanned_distribution target, built once with the Linux
# build command) is copied to floppies with "setup.exe *TODISK"; each "Please insert disk N" box is answered
# after swapping the disk's contents (the files on A: are put aside, those of disk N put back). The disks must
# hold the loading program, setup.1 and a spanned files.1 set that verifies; then A:\setup.exe, the loading
# program on disk 1, installs the set as a user would start it: its change-disk window asks for disk 2, the
# disk is swapped and Proceed pressed, and the install ends well, its files and uninstall key those of
# expect/spanned.*, leaving no folder in the temporary folder; Cancel in that window ends the install as a
# user abort, leaving the prefix as before. Cancel at disk 2 of the transfer gives "Aborted by user", the exit
# code of a failed setup.
# Where mounting is not permitted, the script says so and runs nothing (0 passed): the fake backend's
# FloppyTransferTest (engine_tests) runs the transfer and the install from the disks with "-sA:", and
# tests/wine/loading-program.sh the loading program on disk 1 (setup.1 beside it).
#
#   tests/e2e/spanned.sh BUILD_DIR
e2e_distribution=spanned_distribution
e2e_dist=tests/e2e-spanned/dist
e2e_product='Floppy Test'
source "$(dirname "$0")/lib.sh"

archive="$(dirname "$e2e_build")/native/tools/archive/archive"
loader="$e2e_build/src/app/loader/PellmoorLoadProgram.exe"
product="$e2e_build/tests/e2e-spanned/product"
installed="$e2e_drive/Program Files/Floppy Test"
disk_title='Setup needs the next disk'
for f in "$archive" "$loader"; do
    [ -f "$f" ] || e2e_abort "no $f"
done

work=$(mktemp -d "${TMPDIR:-/tmp}/sw-spanned.XXXXXX") || e2e_abort "no temporary folder"
disk="$work/disk"
mkdir -p "$disk"
if ! timeout 30 mount -t tmpfs -o size=1440k,mode=0777 swfloppy "$disk" 2>"$work/mount.log"; then
    echo "SKIPPED floppy transfer onto a real file system: mounting a 1.44 MB tmpfs is not permitted here" \
        "($(cat "$work/mount.log")); engine_tests' FloppyTransferTest runs the flow on the fake backend"
    rm -rf "$work"
    e2e_finish
fi
spanned_cleanup() {
    # No Wine process may hold a file of the disk when it is unmounted.
    timeout -k 5 30 wineserver -k >/dev/null 2>&1
    timeout 30 umount "$disk" 2>/dev/null || echo "spanned: could not unmount $disk" >&2
    rm -rf "$work"
    sw_wine_cleanup
}
trap spanned_cleanup EXIT
rm -f "$WINEPREFIX/dosdevices/a:"
ln -s "$disk" "$WINEPREFIX/dosdevices/a:"
cd "$e2e_drive/Downloads" || e2e_abort "no C:\\Downloads"

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
temp_folders() { find "$e2e_drive" -type d -name 'PLD*' 2>/dev/null; }

# The transfer asks for disk 2, then for disk 1 again (to finish it).
e2e_state "$e2e_tmp/before"
e2e_start 'C:\Downloads\setup.exe' '*TODISK'
e2e_box 'Please insert disk 2' Return swap_to 2
e2e_box 'Please insert disk 1' Return swap_to 1
e2e_wait_setup 0

# Disk 1: the loading program, setup.1 and files.1; disk 2: files.2. Gathered, the volumes verify.
if cmp -s "$disk/setup.exe" "$loader" && cmp -s "$disk/setup.1" "$e2e_dist/setup.1" && [ -f "$disk/files.1" ] &&
    [ -f "$work/disks/2/files.2" ] && [ ! -e "$work/disks/2/files.3" ]; then
    ok "disk 1 holds the loading program, setup.1 and files.1; disk 2 files.2"
else
    fail "disk 1 holds the loading program, setup.1 and files.1; disk 2 files.2"
    ls -l "$disk" "$work/disks/2" 2>&1 | sed 's/^/     /'
fi
mkdir -p "$work/set"
cp "$disk"/files.1 "$work"/disks/2/files.* "$work/set"/ 2>/dev/null
if "$archive" verify "$work/set/files.1" >"$work/verify.log" 2>&1 &&
    "$archive" list "$work/set/files.1" | grep -q large.bin; then
    ok "the spanned volumes verify and hold large.bin"
else
    fail "the spanned volumes verify and hold large.bin"
    sed 's/^/     /' "$work/verify.log"
fi

# The install from the disks: the loading program on disk 1 unpacks setup.1 beside it and starts its setup
# program, which reads files.1 and asks for disk 2 in its change-disk window: it names the disk and the folder
# where its volume is looked for, and Proceed has the focus.
disk_2_asked() {
    e2e_page "$disk_title" 'Please insert disk number 2' 'Proceed' 'Cancel' || return 1
    local texts
    texts=$(e2e_texts "$disk_title")
    check "the change-disk window looks on A:, Proceed has the focus" \
        eval 'grep -q "^Edit	A:\$" <<<"$texts" && grep -q "^Button	Proceed	focus\$" <<<"$texts"'
}
e2e_start 'A:\setup.exe'
disk_2_asked || e2e_abort "no change-disk window for disk 2"
swap_to 2
sw_page_keys "$e2e_id" Return
e2e_wait_setup 0
check "the set is installed as it was packed" \
    eval 'cmp -s "$installed/large.bin" "$product/large.bin" && cmp -s "$installed/readme.txt" "$product/readme.txt"'
check "the install leaves no temporary folder" [ -z "$(temp_folders)" ]
e2e_state "$e2e_tmp/after"
e2e_added "$e2e_tmp/before" "$e2e_tmp/after" >"$e2e_tmp/added"
check "the files installed are those of the product" diff "$e2e_root/tests/e2e/expect/spanned.files" "$e2e_tmp/added"
sed -n "/^\[HKLM.*Uninstall.*$e2e_product\]/,/^\[/p" "$e2e_tmp/after" | sed '$d' |
    sed -e 's/^ *//' -e 's/  */ /g' >"$e2e_tmp/key"
check "the uninstall key holds what expect/spanned.key says" diff "$e2e_root/tests/e2e/expect/spanned.key" "$e2e_tmp/key"

# Cancel in the change-disk window ends the install as a user abort (exit code 3) without a box, and leaves
# the prefix as before.
swap_to 1
rm -rf "$installed"
sw_wine_run 60 wine reg delete "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$e2e_product" /f \
    >/dev/null 2>&1
e2e_state "$e2e_tmp/before-cancel"
e2e_same "the product is taken away again" "$e2e_tmp/before" "$e2e_tmp/before-cancel"
e2e_start 'A:\setup.exe'
disk_2_asked || e2e_abort "no change-disk window for disk 2"
sw_page_keys "$e2e_id" Escape
e2e_wait_setup 3
e2e_state "$e2e_tmp/cancelled"
e2e_same "Cancel in the change-disk window leaves the prefix as before" "$e2e_tmp/before" "$e2e_tmp/cancelled"

# Cancel at the transfer's prompt for disk 2: the transfer fails with "Aborted by user" (exit code 2).
find "$disk" -mindepth 1 -delete
rm -rf "$work/disks"
in_drive=1
e2e_start 'C:\Downloads\setup.exe' '*TODISK'
e2e_box 'Please insert disk 2' Escape
e2e_box 'Aborted by user' Return
e2e_wait_setup 2
e2e_finish
