#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Idempotent: quick
# when everything is already there.
set -euo pipefail

packages=(cmake ninja-build g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
          googletest wine wine64 wine32:i386 xvfb xauth imagemagick
          python3 libssl3 dpkg-dev fonts-dejavu-core curl time nsis clang)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
