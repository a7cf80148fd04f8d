#!/usr/bin/env bash
# Configures and builds both architectures for tests and trials: build.sh
# [i686|x86_64]... Their MendoraUpdater also accepts the test key's
# signatures; the release package (tools/package.sh) is built without it.
set -euo pipefail
cd "$(dirname "$0")/.."
archs=("$@")
[ ${#archs[@]} -gt 0 ] || archs=(i686 x86_64)
bash tools/build-libjpeg.sh "${archs[@]}"
bash tools/build-libsodium.sh "${archs[@]}"
for arch in "${archs[@]}"; do
  # Configured every time (a second or two), so that a changed option such
  # as MENDORA_WERROR takes effect in an existing tree.
  cmake -S . -B "build/$arch" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="cmake/toolchain-$arch.cmake" \
    -DMENDORA_WERROR="${MENDORA_WERROR:-OFF}" -DMENDORA_TRUST_TEST_KEY=ON >/dev/null
  cmake --build "build/$arch"
done
