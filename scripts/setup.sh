#!/usr/bin/env bash
# Installs what the build and the tests need, and only what is missing.
# Usage: setup.sh ARCH (i686 or x86_64, as scripts/arch.sh prints).
set -euo pipefail
arch="$1"

have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

common=(cmake make xvfb xauth googletest libstb-dev fonts-dejavu-core)
if [ "$arch" = i686 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  pkgs=(g++-mingw-w64-i686-posix binutils-mingw-w64-i686 wine wine32:i386 libwine:i386
        libgl1-mesa-dri:i386 libglx-mesa0:i386 libgl1:i386)
else
  pkgs=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 libwine
        libgl1-mesa-dri libglx-mesa0 libgl1)
fi

need=()
for p in "${common[@]}" "${pkgs[@]}"; do
  have_pkg "$p" || need+=("$p")
done
[ ${#need[@]} -eq 0 ] && exit 0

echo "setup: installing ${need[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
