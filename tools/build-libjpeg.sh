#!/usr/bin/env bash
# Builds the JPEG decoder the skinned windows use: Debian's libjpeg-turbo
# source package at the version pinned in tools/libjpeg-turbo.pin,
# cross-compiled with our MinGW-w64 toolchain files as a static library.
# build-libjpeg.sh [i686|x86_64|native]...
#
# "native" is a Linux build with clang, instrumented for AddressSanitizer,
# UndefinedBehaviorSanitizer and fuzzing coverage, for the native build of
# the portable code (native/).
#
# The source is fetched once into build/third_party/src and checked against
# the pinned SHA-256 sums (tools/debian-source.sh). The library and headers go to
# build/<arch>/third_party/libjpeg. Quick when already built.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
archs=("$@")
[ ${#archs[@]} -gt 0 ] || archs=(i686 x86_64)
pin="$root/tools/libjpeg-turbo.pin"

# Bump when the build options below change, so that old builds are redone.
BUILD_LAYOUT=2

source tools/debian-source.sh
built_for "libjpeg" "$BUILD_LAYOUT" "${archs[@]}" && exit 0
src=$(fetch_debian_source "$pin" libjpeg-turbo)
[ -f "$src/CMakeLists.txt" ] || { echo "libjpeg-turbo source is incomplete" >&2; exit 1; }

for arch in "${archs[@]}"; do
  prefix="$root/build/$arch/third_party/libjpeg"
  [ "$(cat "$prefix/.built" 2>/dev/null)" = "$BUILD_LAYOUT" ] && continue
  work="$root/build/third_party/build-$arch"
  rm -rf "$work" "$prefix"
  # The decoder handles a few small pictures: the portable C code is enough,
  # so the SIMD code (which needs an assembler) stays out.
  compiler=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch.cmake" -DCMAKE_BUILD_TYPE=Release)
  if [ "$arch" = native ]; then
    compiler=(-DCMAKE_C_COMPILER=clang -DCMAKE_BUILD_TYPE=Debug
              "-DCMAKE_C_FLAGS=-O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined,fuzzer-no-link")
  fi
  cmake -S "$src" -B "$work" -G Ninja "${compiler[@]}" \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF \
    -DWITH_JPEG8=OFF -DWITH_ARITH_ENC=OFF -DREQUIRE_SIMD=OFF -Wno-dev >/dev/null
  cmake --build "$work" --target jpeg-static >/dev/null
  mkdir -p "$prefix/include" "$prefix/lib"
  cp "$work/libjpeg.a" "$prefix/lib/"
  cp "$src/jpeglib.h" "$src/jerror.h" "$src/jmorecfg.h" "$work/jconfig.h" "$prefix/include/"
  echo "$BUILD_LAYOUT" >"$prefix/.built"
done
