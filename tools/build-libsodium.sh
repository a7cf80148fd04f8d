#!/usr/bin/env bash
# Builds the library the updater checks its publisher's signatures with:
# Debian's libsodium source package at the version pinned in
# tools/libsodium.pin (with Debian's own patches), cross-compiled with our
# MinGW-w64 compilers as a static library.
# build-libsodium.sh [i686|x86_64|native]...
#
# "native" is a Linux build with clang, instrumented for AddressSanitizer,
# UndefinedBehaviorSanitizer and fuzzing coverage, for the native build of
# the portable code (native/) and the release signing tool.
#
# The source is fetched once into build/third_party/src and checked against
# the pinned SHA-256 sums (tools/debian-source.sh). The library and headers
# go to build/<arch>/third_party/libsodium. Quick when already built.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
archs=("$@")
[ ${#archs[@]} -gt 0 ] || archs=(i686 x86_64)
pin="$root/tools/libsodium.pin"

# Bump when the build options below change, so that old builds are redone.
BUILD_LAYOUT=1

source tools/debian-source.sh
built_for "libsodium" "$BUILD_LAYOUT" "${archs[@]}" && exit 0
src=$(fetch_debian_source "$pin" libsodium)
# The package's source is a snapshot of the project's repository: its build
# files are generated, as Debian's own build does.
if [ ! -x "$src/configure" ]; then
  (cd "$src" && autoreconf -fi >/dev/null 2>&1) || {
    echo "libsodium: autoreconf failed (autoconf, automake, libtool installed?)" >&2
    exit 1
  }
fi

for arch in "${archs[@]}"; do
  prefix="$root/build/$arch/third_party/libsodium"
  [ "$(cat "$prefix/.built" 2>/dev/null)" = "$BUILD_LAYOUT" ] && continue
  work="$root/build/third_party/sodium-$arch"
  rm -rf "$work" "$prefix"
  mkdir -p "$work"
  # Only the signatures, hashes and the functions around them ("minimal"):
  # everything the updater and the signing tool use, and less code to ship.
  options=(--prefix="$prefix" --disable-shared --enable-static --enable-minimal
           --disable-dependency-tracking --disable-pie)
  case $arch in
    i686 | x86_64)
      # The stack protector would need libssp beside the programs.
      (cd "$work" && CC="$arch-w64-mingw32-gcc-posix" CFLAGS="-O2" \
        "$src/configure" --host="$arch-w64-mingw32" --disable-ssp "${options[@]}" >/dev/null)
      ;;
    native)
      (cd "$work" && CC=clang \
        CFLAGS="-O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined,fuzzer-no-link" \
        "$src/configure" "${options[@]}" >/dev/null)
      ;;
    *) echo "unknown architecture $arch" >&2; exit 1 ;;
  esac
  make -C "$work" -j"$(nproc)" >/dev/null 2>&1 || { echo "libsodium ($arch) did not build" >&2; exit 1; }
  make -C "$work" install >/dev/null
  rm -rf "$prefix/lib/pkgconfig" "$prefix/lib/"*.la
  echo "$BUILD_LAYOUT" >"$prefix/.built"
done
