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
# The source is fetched once into build/third_party/src by an apt of our own
# (its source list, lists and cache live in build/third_party/apt; the
# machine's apt configuration is never changed), checked against the pinned
# SHA-256 sums and unpacked. The library and headers go to
# build/<arch>/third_party/libjpeg. Quick when already built.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
archs=("$@")
[ ${#archs[@]} -gt 0 ] || archs=(i686 x86_64)
pin="$root/tools/libjpeg-turbo.pin"

# Bump when the build options below change, so that old builds are redone.
BUILD_LAYOUT=2

all_built=1
for arch in "${archs[@]}"; do
  [ "$(cat "build/$arch/third_party/libjpeg/.built" 2>/dev/null)" = "$BUILD_LAYOUT" ] || all_built=0
done
[ "$all_built" = 1 ] && exit 0

version=$(awk '$1 == "version" { print $2 }' "$pin")
upstream=${version#*:}
upstream=${upstream%-*}
src_parent="$root/build/third_party/src"
src="$src_parent/libjpeg-turbo-$upstream"
apt_dir="$root/build/third_party/apt"

# deb-src entries for the machine's own Debian archives: the URIs, suites,
# components and keyrings of its deb entries, one-line format.
write_source_list() {
  local out=$1
  : >"$out"
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk 'BEGIN { RS = ""; FS = "\n" }
         {
           types = ""; uris = ""; suites = ""; comps = ""; key = ""
           for (i = 1; i <= NF; i++) {
             if ($i ~ /^Types:/) types = $i
             else if ($i ~ /^URIs:/) { uris = $i; sub(/^URIs:[ \t]*/, "", uris) }
             else if ($i ~ /^Suites:/) { suites = $i; sub(/^Suites:[ \t]*/, "", suites) }
             else if ($i ~ /^Components:/) { comps = $i; sub(/^Components:[ \t]*/, "", comps) }
             else if ($i ~ /^Signed-By:/) { key = $i; sub(/^Signed-By:[ \t]*/, "", key) }
           }
           if (types !~ /(:|[ \t])deb([ \t]|$)/ || uris == "" || suites == "") next
           opt = key != "" && key !~ /BEGIN/ ? "[signed-by=" key "] " : ""
           n = split(uris, u, /[ \t]+/); m = split(suites, s, /[ \t]+/)
           for (a = 1; a <= n; a++) for (b = 1; b <= m; b++)
             print "deb-src " opt u[a] " " s[b] " " comps
         }' "$f" >>"$out"
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    sed -n 's/^[[:space:]]*deb[[:space:]]\+/deb-src /p' "$f" >>"$out"
  done
}

pinned_sum() { awk -v f="$1" '$1 == "sha256" && $2 == f { print $3 }' "$pin"; }

fetch_source() {
  [ -f "$src/CMakeLists.txt" ] && [ "$(cat "$src/.pinned" 2>/dev/null)" = "$version" ] && return 0
  rm -rf "$apt_dir" "$src_parent"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/parts" "$src_parent"
  write_source_list "$apt_dir/sources.list"
  local apt=(apt-get -qq -o Dir::Etc::SourceList="$apt_dir/sources.list"
             -o Dir::Etc::SourceParts="$apt_dir/parts" -o Dir::State::Lists="$apt_dir/lists"
             -o Dir::Cache="$apt_dir/cache" -o APT::Sandbox::User=root)
  "${apt[@]}" update >/dev/null 2>&1 || true
  if ! (cd "$src_parent" &&
        "${apt[@]}" source --download-only "libjpeg-turbo=$version" >/dev/null 2>&1); then
    echo "libjpeg-turbo $version is not served by this machine's Debian archives." >&2
    echo "Update tools/libjpeg-turbo.pin to a version they serve (version and SHA-256 sums)." >&2
    return 1
  fi
  local file sum expected
  while read -r _ file expected; do
    sum=$(sha256sum "$src_parent/$file" 2>/dev/null | cut -d' ' -f1)
    if [ "$sum" != "$expected" ]; then
      echo "$file does not match its SHA-256 sum in tools/libjpeg-turbo.pin." >&2
      return 1
    fi
  done < <(awk '$1 == "sha256"' "$pin")
  local dsc
  dsc=$(awk '$1 == "sha256" && $2 ~ /\.dsc$/ { print $2 }' "$pin")
  (cd "$src_parent" && dpkg-source --no-check -x "$dsc" "libjpeg-turbo-$upstream" >/dev/null)
  [ -f "$src/CMakeLists.txt" ] || { echo "libjpeg-turbo source did not unpack" >&2; return 1; }
  echo "$version" >"$src/.pinned"
}

fetch_source

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
