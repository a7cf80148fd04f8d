#!/usr/bin/env bash
# The publisher's signing tool (updater/signing/sign_release.cpp), built
# natively on first use:
#
#   sign-release.sh keygen NAME PREFIX     a new key pair: PREFIX.secret and
#                                          PREFIX.pub
#   sign-release.sh sign SECRET FOLDER     signs every file FOLDER/manifest.txt
#                                          offers, into that manifest
#
# See README.md ("Signed updates") for where the private key lives.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
tool="$root/build/native/sign_release"
(
  cd "$root"
  bash tools/build-libjpeg.sh native
  bash tools/build-libsodium.sh native
  cmake -S native -B build/native -G Ninja -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ >/dev/null
  cmake --build build/native --target sign_release >/dev/null
) >&2
ASAN_OPTIONS=detect_leaks=0 exec "$tool" "$@"
