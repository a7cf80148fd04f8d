#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Idempotent: quick
# when everything is already there.
set -euo pipefail

packages=(cmake ninja-build g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
          googletest wine wine64 wine32:i386 xvfb xauth imagemagick
          python3 libssl3 openssl dpkg-dev fonts-dejavu-core curl time nsis clang)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
# A mirror caught mid-sync fails the update now and then: try again, and
# install from the lists that did arrive when it keeps failing.
for attempt in 1 2 3; do
  apt-get update -qq && break
  echo "apt-get update failed (attempt $attempt); trying again" >&2
  sleep $((attempt * 10))
done
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
