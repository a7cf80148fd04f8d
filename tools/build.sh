#!/usr/bin/env bash
# Configures and builds both architectures: build.sh [i686|x86_64]...
set -euo pipefail
cd "$(dirname "$0")/.."
archs=("$@")
[ ${#archs[@]} -gt 0 ] || archs=(i686 x86_64)
bash tools/build-libjpeg.sh "${archs[@]}"
for arch in "${archs[@]}"; do
  if [ ! -f "build/$arch/build.ninja" ]; then
    cmake -S . -B "build/$arch" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="cmake/toolchain-$arch.cmake" \
      -DMENDORA_WERROR="${MENDORA_WERROR:-OFF}" >/dev/null
  fi
  cmake --build "build/$arch"
done
