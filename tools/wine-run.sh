#!/usr/bin/env bash
# Runs a Windows program in the given Wine prefix: wine-run.sh PREFIX PROGRAM [ARGS...]
# ctest uses it as the cross-compiling emulator.
#
# The program writes into a file, shown when it ends, not into ctest's pipe:
# a Wine process that the program happens to start first (the desktop
# process, explorer.exe, on the first window of the prefix) inherits its
# output, lives as long as any test program has a window, and would keep
# ctest waiting for the pipe's end long after this program ended.
set -u
prefix="$1"
shift
export WINEPREFIX_OVERRIDE="$prefix"
source "$(dirname "$0")/wine-env.sh"
loader=$(wine_loader_for "$1")
[ "$loader" = wine ] || export WINELOADER="$loader"

output=$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX")
child=
finish() {
  cat "$output"
  rm -f "$output"
}
stop() {
  [ -n "$child" ] && kill "$child" 2>/dev/null
  finish
  exit 143
}
trap stop TERM INT
"$loader" "$@" </dev/null >"$output" 2>&1 &
child=$!
wait "$child"
rc=$?
finish
exit "$rc"
