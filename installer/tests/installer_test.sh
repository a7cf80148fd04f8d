#!/usr/bin/env bash
# installer_test.sh SETUP CHECK: installs the suite with the installer SETUP
# into a fresh 64-bit prefix of its own, silently and into a folder of the
# test's choice; checks files (the x86_64 build, as on every 64-bit Windows),
# shortcuts and registry entries, and runs the x86_64 test program CHECK
# inside the prefix (the installed programs' ways of finding their folder,
# engine, update list, servers, sounds and settings); installs again over the
# install; uninstalls silently; last, installs and uninstalls once without a
# folder. Exit code 0 when all holds, 77 (skipped) where this kernel cannot
# run the installer, a 32-bit program.
set -uo pipefail
setup=$1
check=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
if [ ! -f "$setup" ]; then
  echo "no installer at $setup: make it with bash tools/package.sh" >&2
  exit 1
fi

export WINEPREFIX_OVERRIDE="$root/build/installer-wineprefix"
source "$root/tools/wine-env.sh"
source "$root/tools/installation.sh"
if ! host_runs_32bit; then
  echo "this kernel cannot run 32-bit code, so not the installer either" >&2
  exit 77
fi
rm -rf "$WINEPREFIX"
make_wine_prefix || exit 1
trap 'stop_wineserver; rm -rf "$WINEPREFIX"' EXIT
start_wineserver
loader=$(wine_loader)
[ "$loader" = wine ] || export WINELOADER="$loader"

failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }
# A Windows program, its output kept from ctest's pipes.
run() { "$loader" "$@" </dev/null >/dev/null 2>&1; }
# The Windows path of a file of the build tree (drive Y:).
windows_path() { local p=${1#"$root/build/"}; echo "Y:\\${p//\//\\}"; }
# reg_value KEY NAME: the data of a value in the 32-bit view, where the
# installer and the programs it installs read and write.
reg_value() {
  local which=(/v "$2")
  [ "$2" = "(Default)" ] && which=(/ve)
  "$loader" reg query "$1" "${which[@]}" /reg:32 </dev/null 2>/dev/null |
    tr -d '\r' | awk -v n="$2" '$1 == n { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}
reg_key_exists() { run reg query "$1" /reg:32; }
expect_value() {  # KEY NAME EXPECTED
  local got; got=$(reg_value "$1" "$2")
  [ "$got" = "$3" ] || fail "$1 \"$2\" is \"$got\", expected \"$3\""
}
# pe_machine FILE: the machine field of a program's header (8664 for x86_64).
pe_machine() {
  local offset
  offset=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$offset" ] && od -An -tx2 -j$((offset + 4)) -N2 "$1" 2>/dev/null | tr -d ' '
}

folder='C:\Suites\Mendora\'
linux_folder="$WINEPREFIX/drive_c/Suites/Mendora"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Mendora"
suite=$SUITE_KEY
app_paths='HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Mendora'
version=$(head -n 1 "$root/VERSION")

echo "== silent install into $folder"
run "$(windows_path "$setup")" /S "/D=${folder%\\}" || fail "the installer ended with an error"
for file in $(installed_names) Uninstall.exe; do
  [ -f "$linux_folder/$file" ] || fail "$file was not installed"
done
# 64-bit Windows gets the x86_64 build: every program and library of it.
while read -r from path name; do
  [ "$from" = build ] || continue
  machine=$(pe_machine "$linux_folder/$name")
  [ "$machine" = 8664 ] || fail "$name is for machine ${machine:-unknown}, not x86_64 (8664)"
done < <(installed_files)
for link in Mendora "Support Chat" "Update Mendora" "Uninstall Mendora"; do
  [ -f "$menu/$link.lnk" ] || fail "no Start-menu shortcut $link"
done
expect_value "$app_paths\\Mendora.exe" Path "$folder"
expect_value "$app_paths\\Mendora.exe" "(Default)" "${folder}Mendora.exe"
expect_value "$app_paths\\Vimstack.exe" Path "$folder"
for file in Mendora.exe rptrnr.dll Parleclient.exe; do
  expect_value "$suite\\Update" "$file" "$version"
done
expect_value "$suite" version "$version"
expect_value "$suite" ori 1000
expect_value "$suite" dref md
expect_value "$suite" tdai 0x0
expect_value "$suite" supportServer support.brisklane.com
expect_value "$suite" updateServer http://update.brisklane.com/download.asp
expect_value "$uninstall_key" DisplayVersion "$version"
expect_value "$uninstall_key" UninstallString "\"${folder}Uninstall.exe\""

echo "== the installed suite finds what it needs"
export MENDORA_INSTALLED_FOLDER="$folder"
# The check program loads the installed download library.
export WINEPATH="$folder"
output=$("$(wine_loader_for "$check")" "$(windows_path "$check")" </dev/null 2>&1)
status=$?
echo "${output//$'\r'/}" | grep -E '^\[ +(OK|FAILED) '
[ "$status" -eq 0 ] || { echo "${output//$'\r'/}"; fail "the installed suite's checks failed"; }
user_details=$(find "$WINEPREFIX/drive_c/users" -path '*/Brisklane Technologies/Parleclient/clientInfo.dat' 2>/dev/null)
[ -n "$user_details" ] || fail "Parleclient's settings were not written in the user's folder"
[ -e "$linux_folder/settings/clientInfo.dat" ] && fail "Parleclient wrote its settings into the suite folder"

echo "== an install over the install"
mkdir -p "$linux_folder/bak/0/files" "$linux_folder/settings"
echo earlier >"$linux_folder/settings/clientInfo.dat"
echo kept >"$linux_folder/bak/0/files/marker.bak"
run reg add "$suite" /v supportServer /d 127.0.0.1 /f /reg:32
# The state after an update and before its restore: the replaced builds in
# the Backup key and their copies in backup\, a newer build in the list, and
# a name the list of an older suite had.
mkdir -p "$linux_folder/backup"
for file in Mendora.exe rptrnr.dll; do
  echo old >"$linux_folder/backup/$file"
  run reg add "$suite\\Backup" /v "$file" /d 0.9.0.1 /f /reg:32
done
run reg add "$suite\\Backup" /v userRestored /t REG_DWORD /d 1 /f /reg:32
run reg add "$suite\\Update" /v Mendora.exe /d 9.9.9.9 /f /reg:32
run reg add "$suite\\Update" /v Retired.dll /d 0.9.0.1 /f /reg:32
expect_value "$suite\\Backup" userRestored 0x1
run "$(windows_path "$setup")" /S || fail "the second install ended with an error"
for name in Mendora.exe rptrnr.dll userRestored; do
  [ -z "$(reg_value "$suite\\Backup" "$name")" ] || fail "the install kept the Backup value $name"
done
[ -z "$(ls -A "$linux_folder/backup" 2>/dev/null)" ] || fail "the install kept the files of backup\\"
for file in Mendora.exe rptrnr.dll Parleclient.exe; do
  expect_value "$suite\\Update" "$file" "$version"
done
[ -z "$(reg_value "$suite\\Update" Retired.dll)" ] || fail "the update list kept Retired.dll"
[ -f "$linux_folder/bak/0/files/marker.bak" ] || fail "the install over the install lost bak\\"
[ -f "$linux_folder/settings/clientInfo.dat" ] || fail "the install over the install lost an earlier version's chat settings"
[ -f "$user_details" ] || fail "the install over the install lost the user's chat settings"
expect_value "$suite" supportServer 127.0.0.1
[ -f "$linux_folder/Mendora.exe" ] || fail "the second install did not land in the first one's folder"

echo "== silent uninstall"
printf 'kept\r\n' >"$linux_folder/kept-items.txt"
run "${folder}Uninstall.exe" /S || fail "the uninstaller ended with an error"
# It goes on in a copy of itself: its last step removes the uninstall entry.
for _ in $(seq 120); do reg_key_exists "$uninstall_key" || break; sleep 0.5; done
for file in $(installed_names) $(installed_names | xargs -n1 dirname | grep -vx . | sort -u) \
            Uninstall.exe settings; do
  [ ! -e "$linux_folder/$file" ] || fail "$file is still there after the uninstall"
done
[ -f "$linux_folder/bak/0/files/marker.bak" ] || fail "the uninstall removed the backups"
[ -f "$linux_folder/kept-items.txt" ] || fail "the uninstall removed the user's kept items"
[ ! -e "$menu" ] || fail "the Start-menu folder is still there after the uninstall"
for key in "$app_paths\\Mendora.exe" "$app_paths\\Vimstack.exe" "$suite" "$uninstall_key"; do
  reg_key_exists "$key" && fail "$key is still there after the uninstall"
done

echo "== a first install without a folder, into the 64-bit Program Files folder"
default_folder="$WINEPREFIX/drive_c/Program Files/Mendora"
run "$(windows_path "$setup")" /S || fail "the install without a folder ended with an error"
[ -f "$default_folder/Mendora.exe" ] || fail "no Mendora.exe in C:\\Program Files\\Mendora"
expect_value "$app_paths\\Mendora.exe" Path 'C:\Program Files\Mendora\'
run 'C:\Program Files\Mendora\Uninstall.exe' /S || fail "its uninstaller ended with an error"
for _ in $(seq 120); do reg_key_exists "$uninstall_key" || break; sleep 0.5; done
[ ! -e "$default_folder/Mendora.exe" ] || fail "Mendora.exe is still there after its uninstall"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "The installer, the installed suite and the uninstaller passed."
