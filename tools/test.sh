#!/usr/bin/env bash
# Sets up everything, builds both architectures and runs the whole test suite
# under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
MENDORA_WERROR=ON bash tools/build.sh i686 x86_64

source tools/wine-env.sh
make_wine_prefix
start_xvfb
trap 'stop_wineserver; stop_xvfb' EXIT
start_wineserver

ctest --test-dir build/x86_64 --output-on-failure
if host_runs_32bit; then
  ctest --test-dir build/i686 --output-on-failure
else
  echo "NOTE: this kernel cannot execute 32-bit x86 code, so Wine cannot run the i686 tests here;"
  echo "      the i686 build and its test programs were built and linked above."
fi
