#!/usr/bin/env bash
# Builds the JPEG decoder the skinned windows use: Debian's libjpeg-turbo
# source package, cross-compiled with our MinGW-w64 toolchain files as a
# static library. build-libjpeg.sh [i686|x86_64]...
#
# The source goes to build/third_party/src (fetched once with apt-get source),
# the library and headers to build/<arch>/third_party/libjpeg. Quick when
# already built.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
archs=("$@")
[ ${#archs[@]} -gt 0 ] || archs=(i686 x86_64)

# Bump when the build options below change, so that old builds are redone.
BUILD_LAYOUT=1

all_built=1
for arch in "${archs[@]}"; do
  [ "$(cat "build/$arch/third_party/libjpeg/.built" 2>/dev/null)" = "$BUILD_LAYOUT" ] || all_built=0
done
[ "$all_built" = 1 ] && exit 0

src_parent="$root/build/third_party/src"

# Source entries for apt-get source: the machine's own Debian entries with
# their URIs and suites, as deb-src.
add_source_entries() {
  local list=/etc/apt/sources.list.d/mendora-deb-src.sources
  [ -f "$list" ] && return 0
  local tmp; tmp=$(mktemp)
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    [ "$f" = "$list" ] && continue
    # Keep the stanzas whose Types include deb; write them as deb-src.
    awk 'BEGIN { RS = ""; ORS = "\n\n" }
         /(^|\n)Types:[^\n]*(^|[ \t])deb([ \t]|\n|$)/ {
           sub(/Types:[^\n]*/, "Types: deb-src"); print
         }' "$f" >>"$tmp"
  done
  if [ -f /etc/apt/sources.list ]; then
    # One-line entries: deb [options] URI suite components.
    grep -E '^deb[[:space:]]' /etc/apt/sources.list | while read -r _ rest; do
      echo "deb-src $rest"
    done >"$tmp.list"
    [ -s "$tmp.list" ] && cp "$tmp.list" /etc/apt/sources.list.d/mendora-deb-src.list
    rm -f "$tmp.list"
  fi
  if [ -s "$tmp" ]; then
    cp "$tmp" "$list"
  fi
  rm -f "$tmp"
  apt-get update -qq
}

fetch_source() {
  local dir
  dir=$(find "$src_parent" -maxdepth 1 -mindepth 1 -type d -name 'libjpeg-turbo-*' 2>/dev/null | head -n 1)
  if [ -n "$dir" ] && [ -f "$dir/CMakeLists.txt" ]; then
    echo "$dir"
    return 0
  fi
  local uris; uris=$(apt-get source --print-uris libjpeg-turbo 2>/dev/null || true)
  case "$uris" in *.dsc*) ;; *) add_source_entries ;; esac
  rm -rf "$src_parent"
  mkdir -p "$src_parent"
  # The download goes into our own folder, which apt's sandbox user cannot write.
  (cd "$src_parent" && apt-get source -qq -o APT::Sandbox::User=root libjpeg-turbo >/dev/null)
  dir=$(find "$src_parent" -maxdepth 1 -mindepth 1 -type d -name 'libjpeg-turbo-*' | head -n 1)
  [ -n "$dir" ] && [ -f "$dir/CMakeLists.txt" ] || { echo "libjpeg-turbo source not found" >&2; return 1; }
  echo "$dir"
}

src=$(fetch_source)

for arch in "${archs[@]}"; do
  prefix="$root/build/$arch/third_party/libjpeg"
  [ "$(cat "$prefix/.built" 2>/dev/null)" = "$BUILD_LAYOUT" ] && continue
  work="$root/build/third_party/build-$arch"
  rm -rf "$work" "$prefix"
  # The decoder handles a few small pictures: the portable C code is enough,
  # so the SIMD code (which needs an assembler) stays out.
  cmake -S "$src" -B "$work" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF \
    -DWITH_JPEG8=OFF -DWITH_ARITH_ENC=OFF -DREQUIRE_SIMD=OFF -Wno-dev >/dev/null
  cmake --build "$work" --target jpeg-static >/dev/null
  mkdir -p "$prefix/include" "$prefix/lib"
  cp "$work/libjpeg.a" "$prefix/lib/"
  cp "$src/jpeglib.h" "$src/jerror.h" "$src/jmorecfg.h" "$work/jconfig.h" "$prefix/include/"
  echo "$BUILD_LAYOUT" >"$prefix/.built"
done
