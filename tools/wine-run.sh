#!/usr/bin/env bash
# Runs a Windows program in the given Wine prefix: wine-run.sh PREFIX PROGRAM [ARGS...]
# ctest uses it as the cross-compiling emulator.
set -u
prefix="$1"
shift
export WINEPREFIX_OVERRIDE="$prefix"
source "$(dirname "$0")/wine-env.sh"
loader=$(wine_loader_for "$1")
[ "$loader" = wine ] || export WINELOADER="$loader"
exec "$loader" "$@"
