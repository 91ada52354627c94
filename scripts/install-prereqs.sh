#!/usr/bin/env bash
# Installs everything the builds and test tiers need on Debian 12. Idempotent.
set -euo pipefail

need=(cmake g++ clang libclang-rt-14-dev ninja-build zlib1g-dev googletest
      g++-mingw-w64-i686 libz-mingw-w64-dev
      wine wine32:i386 xvfb xdotool imagemagick python3)

missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
