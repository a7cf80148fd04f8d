#!/usr/bin/env bash
# Sets up everything, builds both architectures and runs the whole test suite
# under Wine: the x86_64 suite always, the i686 suite (the shipping build)
# wherever the kernel can run 32-bit code. The test programs of a suite run
# side by side, one per core. Then the portable core's tests run natively
# under the sanitizers, and every fuzz target for a few seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
MENDORA_WERROR=ON bash tools/build.sh i686 x86_64
# The release package: the installer test of the i686 suite installs it.
bash tools/package.sh

source tools/wine-env.sh
make_wine_prefix
start_xvfb
trap 'stop_wineserver; stop_xvfb' EXIT
start_wineserver

jobs=$(nproc)
suites=(x86_64)
host_runs_32bit && suites+=(i686)
for arch in "${suites[@]}"; do
  echo "== the $arch suite"
  ctest --test-dir "build/$arch" --output-on-failure -j "$jobs"
done
echo "Ran the ${suites[*]} suite(s)."

echo "== the portable core natively, under AddressSanitizer and UndefinedBehaviorSanitizer"
bash tools/build-native.sh
ctest --test-dir build/native --output-on-failure
echo "== a short pass of every fuzz target"
bash tools/fuzz.sh --short
if ! host_runs_32bit; then
  echo "NOTE: this kernel cannot execute 32-bit x86 code, so Wine cannot run the i686 tests here;"
  echo "      the i686 build and its test programs were built and linked above."
fi
