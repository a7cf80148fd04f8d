#!/usr/bin/env bash
# Sets up everything, builds both architectures and runs the whole test suite
# under Wine: the x86_64 suite always, the i686 suite (the shipping build)
# wherever the kernel can run 32-bit code. The test programs of a suite run
# side by side, one per core. Then the portable core's tests run natively
# under the sanitizers, and every fuzz target for a few seconds.
#
# Every stage runs, also after one has failed (a stage that needs a failed
# one is reported as not run); at the end one summary names each stage's
# outcome, and the command fails when any stage failed.
set -uo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh || { echo "Could not install what the tests need." >&2; exit 1; }

outcomes=()
failures=0
# stage NAME COMMAND...: runs a stage and records how it ended.
stage() {
  local name=$1
  shift
  echo "== $name"
  if "$@"; then
    outcomes+=("passed   $name")
    return 0
  fi
  outcomes+=("FAILED   $name")
  failures=$((failures + 1))
  return 1
}
not_run() { outcomes+=("not run  $1 ($2)"); failures=$((failures + 1)); }

stage "layering: every include follows tools/layers.txt" python3 tools/check_layers.py
stage "layering: the check's own test" python3 tools/tests/check_layers_test.py
stage "the support server with many clients and vanishing ones" \
  python3 chat/server/support_server_test.py
built=false
stage "build of both architectures" env MENDORA_WERROR=ON bash tools/build.sh i686 x86_64 &&
  built=true
# The release package: the installer test of the x86_64 suite installs it.
stage "release package" bash tools/package.sh

source tools/wine-env.sh
suites=(x86_64)
host_runs_32bit && suites+=(i686)
prepare_wine() { make_wine_prefix && start_xvfb; }
if $built && stage "Wine prefix and virtual screen" prepare_wine; then
  trap 'stop_wineserver; stop_xvfb' EXIT
  start_wineserver
  for arch in "${suites[@]}"; do
    stage "the $arch suite" ctest --test-dir "build/$arch" --output-on-failure -j "$(nproc)"
  done
  stop_wineserver
else
  for arch in "${suites[@]}"; do not_run "the $arch suite" "no build or no Wine prefix"; done
fi

native_built=false
stage "native build of the portable core" bash tools/build-native.sh && native_built=true
if $native_built; then
  stage "the portable core under AddressSanitizer and UndefinedBehaviorSanitizer" \
    ctest --test-dir build/native --output-on-failure
  stage "a short pass of every fuzz target" bash tools/fuzz.sh --short
else
  not_run "the portable core under the sanitizers" "no native build"
  not_run "a short pass of every fuzz target" "no native build"
fi

echo
echo "== summary"
printf '  %s\n' "${outcomes[@]}"
echo "Ran the ${suites[*]} suite(s)."
if ! host_runs_32bit; then
  echo "NOTE: this kernel cannot execute 32-bit x86 code, so Wine cannot run the i686 tests here;"
  echo "      the i686 build and its test programs were built and linked above."
fi
if [ "$failures" -gt 0 ]; then
  echo "$failures stage(s) failed or did not run." >&2
  exit 1
fi
echo "Every stage passed."
