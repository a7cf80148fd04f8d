#!/usr/bin/env bash
# Sets up everything, builds both architectures and lists the programs and
# libraries built.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
bash tools/build.sh i686 x86_64
for arch in i686 x86_64; do
  echo "== $arch"
  find "build/$arch" -maxdepth 3 \( -name '*.exe' -o -name '*.dll' -o -name '*.a' \) \
    -not -path '*/googletest/*' -printf '%P\t%s bytes\n' | sort
done
