#!/usr/bin/env bash
# Installs everything the builds and test tiers need on Debian 12. Idempotent and silent when all is there;
# runs as root or through sudo, without a terminal.
set -euo pipefail

need=(
    cmake ninja-build g++ zlib1g-dev googletest                               # native build
    clang libclang-rt-14-dev                                                  # sanitizers, libFuzzer
    gcc-mingw-w64-i686-posix g++-mingw-w64-i686-posix binutils-mingw-w64-i686 # win32 build
    libz-mingw-w64-dev
    wine wine32:i386 xvfb xauth xdotool imagemagick python3                   # Wine tiers
    python3-pyftpdlib                                                         # loopback FTP server
)

missing=()
for p in "${need[@]}"; do
    dpkg-query -W -f='${db:Status-Abbrev}' "$p" 2>/dev/null | grep -q '^ii' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-prereqs: installing ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "install-prereqs: not root and no sudo" >&2; exit 1; }
    sudo=(sudo -n)
fi
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo[@]}" dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq </dev/null >/dev/null
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null >/dev/null
