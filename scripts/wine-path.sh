# Sourced, not run: how this machine runs 32-bit Wine.
#
#   source scripts/wine-path.sh
#   sw_i386_runs            # true if a 32-bit Linux program runs here (natively or through an emulator)
#   sw_i386_emulated        # true if 32-bit Linux programs run through qemu-i386 (binfmt_misc)
#   sw_wine_path            # prints "native" or "emulated"; fails if 32-bit programs do not run at all
#   sw_binfmt_register      # as root: lets the kernel run 32-bit Linux programs through qemu-i386
#
# Some kernels cannot execute 32-bit Linux programs although /proc/sys/abi/vsyscall32 and the kernel
# configuration say they can: i386 Wine then fails with "Exec format error". The only sure test is to run
# one. SW_WINE_PATH=emulated asks for qemu-i386 on a machine that runs 32-bit programs natively too
# (scripts/test.sh then runs in a user namespace with a binfmt_misc of its own).

SW_BINFMT_DIR=/proc/sys/fs/binfmt_misc
SW_QEMU_I386=/usr/bin/qemu-i386
# i386 ELF executables, as qemu registers them.
SW_BINFMT_I386_MAGIC='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
SW_BINFMT_I386_MASK='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

# A static i386 program of 93 bytes that only exits 0 (int 0x80, exit).
sw_i386_runs() {
    local f
    f=$(mktemp "${TMPDIR:-/tmp}/sw-i386.XXXXXX") || return 1
    echo 'f0VMRgEBAQAAAAAAAAAAAAIAAwABAAAAVIAECDQAAAAAAAAAAAAAADQAIAABAAAAAAAAAAEAAAAAAAAAAIAECACABAhdAAAAXQAAAAUAAAAAEAAAMdu4AQAAAM2A' |
        base64 -d >"$f" && chmod +x "$f" && "$f" 2>/dev/null
    local rc=$?
    rm -f "$f"
    return $rc
}

# An enabled binfmt_misc entry that hands i386 programs to qemu.
sw_i386_emulated() {
    local e
    for e in "$SW_BINFMT_DIR"/*; do
        [ -f "$e" ] || continue
        grep -qx enabled "$e" 2>/dev/null && grep -q '^interpreter .*qemu-i386' "$e" 2>/dev/null &&
            grep -q "^magic 7f454c46010101" "$e" 2>/dev/null && return 0
    done
    return 1
}

sw_wine_path() {
    sw_i386_runs || return 1
    if sw_i386_emulated; then echo emulated; else echo native; fi
}

# Mounts binfmt_misc if it is not mounted and registers qemu-i386 for i386 programs ("F": the kernel opens
# the emulator now, so it also serves other mount namespaces). Idempotent; an entry of that name that
# someone else registered is kept.
sw_binfmt_register() {
    if [ ! -e "$SW_BINFMT_DIR/register" ]; then
        mount -t binfmt_misc binfmt_misc "$SW_BINFMT_DIR" || return 1
    fi
    [ -e "$SW_BINFMT_DIR/qemu-i386" ] || [ -e "$SW_BINFMT_DIR/sw-qemu-i386" ] && return 0
    printf ':sw-qemu-i386:M::%s:%s:%s:F\n' "$SW_BINFMT_I386_MAGIC" "$SW_BINFMT_I386_MASK" "$SW_QEMU_I386" \
        >"$SW_BINFMT_DIR/register"
}
