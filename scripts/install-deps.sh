#!/usr/bin/env bash
# Installs, from Debian's packages, everything the build and the tests need. Idempotent.
set -euo pipefail

pkgs=(
    cmake ninja-build g++ googletest libbenchmark-dev zlib1g-dev libpng-dev
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
    clang libclang-rt-14-dev
    wine wine64 libwine fonts-wine fonts-liberation
    libxrender1 libxrandr2 libxi6 libxcursor1 libxcomposite1 libxinerama1 libxfixes3 libxxf86vm1
    libgnutls30 libdbus-1-3
    xvfb x11-utils imagemagick nsis
)

missing=()
for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]} (run this script as root to install them)" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
# No recommends: wine64 recommends wine32, whose i386 packages break the wine command here.
apt-get install -y -qq --no-install-recommends "${missing[@]}"
