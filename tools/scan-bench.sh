#!/usr/bin/env bash
# The PC-scale scan benchmark (tools/bench.sh scan runs it after the build):
# for each scale, a fresh copy of a prefix of its own is filled with the
# machine of bench/make_pc.py, scan_bench.exe is installed there as Mendora
# (with the repair engine) and runs the scan, repair and restore. Then the
# main window's scan log and the problem report are timed with 100,000 lines.
set -euo pipefail
cd "$(dirname "$0")/.."
scales=${MENDORA_BENCH_SCALES:-"0.1 0.5 1"}
seed=${MENDORA_BENCH_SEED:-1}
root=$PWD/build/bench-pc
pristine=$root/pristine
work=$root/prefix

export WINEPREFIX_OVERRIDE=$pristine
source tools/wine-env.sh
if ! wine_prefix_ready; then
  echo "Making the benchmark's own prefix (once)..."
  make_wine_prefix
  # A new prefix links the profile's Desktop, Documents and the like to the
  # Linux home folder; on a PC they are folders of their own.
  for link in "$pristine"/drive_c/users/*/*; do
    if [ -L "$link" ]; then rm "$link"; mkdir "$link"; fi
  done
fi
wine64=/usr/lib/wine/wine64
export WINELOADER=$wine64
# Without the menu builder: the platform would start one for each of the
# thousand shortcuts the machine gets, all at once.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"

# The display first: Wine's desktop process, started by the first program
# that needs it, keeps the display it found for the whole server's life.
start_xvfb
cleanup() { WINEPREFIX=$work stop_wineserver; stop_xvfb; }
trap cleanup EXIT
summary=()
for scale in $scales; do
  echo "== scale $scale (seed $seed)"
  export WINEPREFIX=$work
  stop_wineserver
  rm -rf "$work"
  cp -a "$pristine" "$work"
  start_wineserver
  install=$work/drive_c/MendoraBench
  input=$work/drive_c/bench-in
  mkdir -p "$install" "$input"
  cp build/x86_64/bench/scan_bench.exe build/x86_64/bench/views_bench.exe \
    build/x86_64/bench/rptrnr.dll "$install/"
  cd "$work/drive_c"
  "$wine64" 'C:\MendoraBench\scan_bench.exe' folders </dev/null >"$input/folders.txt"
  python3 "$OLDPWD/bench/make_pc.py" "$work" "$input/folders.txt" "$input" \
    --scale "$scale" --seed "$seed"
  # Mendora's own App Paths entry names the install folder; it is in the
  # 32-bit view, where the installer writes it and every build reads it.
  printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Mendora.exe]\r\n@="C:\\\\MendoraBench\\\\scan_bench.exe"\r\n"Path"="C:\\\\MendoraBench\\\\"\r\n' \
    >"$input/mendora.reg"
  "$wine64" regedit /S 'C:\bench-in\machine.reg' </dev/null >/dev/null 2>&1
  "$wine64" regedit /S 'C:\bench-in\mendora.reg' </dev/null >/dev/null 2>&1
  "$wine64" 'C:\MendoraBench\scan_bench.exe' shortcuts 'C:\bench-in\shortcuts.txt' </dev/null
  # Some programs were removed after their shortcuts were made.
  xargs -d '\n' -r rm -f <"$input/gone.txt"
  rm -rf "$input"
  "$wine64" 'C:\MendoraBench\scan_bench.exe' run </dev/null | tee "$root/scale-$scale.txt"
  cd "$OLDPWD"
  summary+=("$scale $(grep '^RESULT' "$root/scale-$scale.txt" | tr -d '\r')")
done
echo "== scaling (seconds; MB)"
printf '%s\n' "${summary[@]}"

echo "== the scan log and the problem report with 100,000 lines"
(cd "$work/drive_c" && "$wine64" 'C:\MendoraBench\views_bench.exe' 100000 </dev/null)
