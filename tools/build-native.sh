#!/usr/bin/env bash
# Builds the portable core natively with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer (native/), with its unit tests and the fuzz
# targets, in build/native. Quick when built.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
bash tools/build-libjpeg.sh native
bash tools/build-libsodium.sh native
cmake -S native -B build/native -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  >/dev/null
cmake --build build/native
