#!/usr/bin/env bash
# Installs everything the builds and test tiers need on Debian 12. Idempotent and silent when all is there;
# runs as root or through sudo, without a terminal.
#
# Where the kernel cannot run 32-bit Linux programs (scripts/wine-path.sh), also installs qemu-user from the
# release's backports (bookworm's own qemu is several times slower) and the 64-bit wineserver, and
# registers qemu-i386 with binfmt_misc so that 32-bit Wine runs. SW_WINE_PATH=emulated installs the
# emulator on any machine without registering it (scripts/test.sh then registers it in a namespace of its
# own).
set -euo pipefail

cd "$(dirname "$0")/.."
source scripts/wine-path.sh

need=(
    cmake ninja-build g++ zlib1g-dev googletest ccache                        # native build
    clang libclang-rt-14-dev                                                  # sanitizers, libFuzzer
    gcc-mingw-w64-i686-win32 g++-mingw-w64-i686-win32 binutils-mingw-w64-i686 # win32 build
    libz-mingw-w64-dev
    wine wine32:i386 xvfb xauth xdotool imagemagick python3                   # Wine tiers
    python3-pyftpdlib                                                         # loopback FTP server
    iproute2                                                                  # loopback of a test's own network
    locales fonts-vlgothic                                                    # Wine in other languages
    fonts-liberation                                                          # Arial's metrics, as on Windows
)
emulate=
if [ "${SW_WINE_PATH:-}" = emulated ] || sw_i386_emulated || ! sw_i386_runs; then
    emulate=1
    need+=(wine64)
fi

installed() {
    dpkg-query -W -f='${db:Status-Abbrev}' "$1" 2>/dev/null | grep -q '^ii'
}

# The emulator, from backports: version 10 or later (package qemu-user, /usr/bin/qemu-i386).
qemu_ok() {
    installed qemu-user && [ -x "$SW_QEMU_I386" ] &&
        dpkg --compare-versions "$(dpkg-query -W -f='${Version}' qemu-user)" ge 1:10
}

missing=()
for p in "${need[@]}"; do
    installed "$p" || missing+=("$p")
done

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo -n)
fi
as_root() {
    if [ ${#sudo[@]} -gt 0 ] && ! command -v sudo >/dev/null; then
        echo "install-prereqs: not root and no sudo" >&2
        return 1
    fi
    "${sudo[@]}" "$@"
}
export DEBIAN_FRONTEND=noninteractive

# Adds the backports suite of this release, copied from the first stanza of the system's own sources
# (so the same mirror), or from its first "deb" line.
add_backports() {
    local codename suite list=/etc/apt/sources.list.d/sw-backports.sources
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    suite="$codename-backports"
    grep -rqs -E "(^Suites:.*|^deb .*)[[:space:]]$suite([[:space:]]|$)" /etc/apt/sources.list /etc/apt/sources.list.d &&
        return 0
    local stanza
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        stanza=$(awk -v s="$suite" 'NF == 0 { if (n) exit; next } /^Suites:/ { $0 = "Suites: " s } { n++; print }' \
            /etc/apt/sources.list.d/debian.sources)
    elif [ -f /etc/apt/sources.list ]; then
        list=/etc/apt/sources.list.d/sw-backports.list
        stanza=$(awk -v s="$suite" '$1 == "deb" { i = ($2 ~ /^\[/) ? 4 : 3; while (i > 3 && $(i - 1) !~ /\]$/) i++; $i = s; print; exit }' \
            /etc/apt/sources.list)
    fi
    if [ -z "${stanza:-}" ]; then
        echo "install-prereqs: no Debian sources to copy for $suite" >&2
        return 1
    fi
    echo "install-prereqs: adding $suite ($list)"
    printf '%s\n' "$stanza" | as_root tee "$list" >/dev/null
}

if [ ${#missing[@]} -gt 0 ] || { [ -n "$emulate" ] && ! qemu_ok; }; then
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
    fi
    [ -n "$emulate" ] && ! qemu_ok && add_backports
    # A mirror in the middle of a sync fails an index now and then: try again, then go on with what came.
    for try in 1 2 3; do
        as_root apt-get -o DPkg::Lock::Timeout=600 update -qq </dev/null >/dev/null && break
        echo "install-prereqs: apt-get update failed (try $try of 3)" >&2
        [ "$try" -lt 3 ] && sleep 20
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "install-prereqs: installing ${missing[*]}"
        install=(apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends)
        # Without a fresh i386 index of the security suite, its amd64 libraries are newer than any i386 twin
        # and wine32 cannot be resolved: the release's own suite has both architectures at one version.
        as_root "${install[@]}" "${missing[@]}" </dev/null >/dev/null ||
            as_root "${install[@]}" -t "$(. /etc/os-release && echo "$VERSION_CODENAME")" "${missing[@]}" </dev/null >/dev/null
    fi
    if [ -n "$emulate" ] && ! qemu_ok; then
        suite="$(. /etc/os-release && echo "$VERSION_CODENAME")-backports"
        echo "install-prereqs: installing qemu-user from $suite"
        as_root apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends -t "$suite" qemu-user </dev/null >/dev/null
        qemu_ok || { echo "install-prereqs: qemu-user 10 or later did not install" >&2; exit 1; }
    fi
fi

# Only a kernel that cannot run 32-bit programs gets the emulator registered: elsewhere they keep running
# natively.
if ! sw_i386_runs; then
    echo "install-prereqs: this kernel does not run 32-bit Linux programs: registering $SW_QEMU_I386 with binfmt_misc"
    as_root bash -c "source scripts/wine-path.sh && sw_binfmt_register" || {
        echo "install-prereqs: registering qemu-i386 with binfmt_misc failed" >&2
        exit 1
    }
    sw_i386_runs || { echo "install-prereqs: 32-bit Linux programs still do not run through $SW_QEMU_I386" >&2; exit 1; }
fi
exit 0
