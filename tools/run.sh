#!/usr/bin/env bash
# Sets up everything, builds both architectures, installs the suite into the
# project's Wine prefix and starts Mendora there.
#
# With a display (DISPLAY set) Mendora opens on it and the command returns
# when it is closed. Without one it runs under a virtual screen of its own:
# a tour clicks Start Scan, waits for the results and closes the program,
# taking screenshots of the welcome, scanning and results panels into
# build/screenshots/; then Parleclient chats with the support server of this
# machine, and MendoraUpdater installs a newer Mendora.exe from the update
# server of this machine. The tour runs at 96 DPI and again at 144 DPI (150%);
# the screenshots' names say which.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
# The same options as the test command, so that the two share one build
# instead of rebuilding each other's.
MENDORA_WERROR=ON bash tools/build.sh i686 x86_64
for arch in i686 x86_64; do
  echo "== $arch"
  find "build/$arch" -maxdepth 3 \( -name '*.exe' -o -name '*.dll' -o -name '*.a' \) \
    -not -path '*/googletest/*' -printf '%P\t%s bytes\n' | sort
done

source tools/wine-env.sh
source tools/installation.sh
make_wine_prefix
# The prefix is a 64-bit Windows: the suite there is the x86_64 build, which
# the installer chooses on such a machine.
arch=x86_64
loader=$(wine_loader)

own_display=false
# The servers this command starts; the one clean-up ends them, the
# wineserver and a virtual screen of our own, however the command ends.
servers=()
clean_up() {
  [ ${#servers[@]} -eq 0 ] || kill "${servers[@]}" 2>/dev/null || true
  stop_wineserver
  if $own_display; then stop_xvfb; fi
}
trap clean_up EXIT
if [ -z "${DISPLAY:-}" ]; then
  start_xvfb
  own_display=true
fi
start_wineserver

# The suite's records (its key and App Paths entries) are in the 32-bit view,
# where the installer writes them and every build of the programs reads them.
view=/reg:32

# --- install -----------------------------------------------------------------
install_dir="$WINEPREFIX/drive_c/Mendora"
if host_runs_32bit; then
  # The release package's installer, silently, as an administrator would.
  bash tools/package.sh
  setup="MendoraSetup-$(head -n 1 VERSION).exe"
  "$loader" "Y:\\package\\$setup" /S '/D=C:\Mendora' </dev/null >/dev/null 2>&1
  [ -f "$install_dir/Mendora.exe" ] || { echo "The installer did not install the suite" >&2; exit 1; }
  echo "Installed into $install_dir (C:\\Mendora) with build/package/$setup."
else
  # The installer is a 32-bit program, which this kernel cannot run: the
  # x86_64 programs are put in place as the installer would.
  copy_installed_files "build/$arch" "$install_dir"
  app_paths='HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\Mendora.exe'
  "$loader" reg add "$app_paths" /ve /d 'C:\Mendora\Mendora.exe' /f "$view" </dev/null >/dev/null 2>&1
  "$loader" reg add "$app_paths" /v Path /d 'C:\Mendora\' /f "$view" </dev/null >/dev/null 2>&1
  "$loader" reg add "${app_paths%Mendora.exe}Vimstack.exe" /v Path /d 'C:\Mendora\' /f "$view" \
    </dev/null >/dev/null 2>&1
  echo "Installed into $install_dir (C:\\Mendora), App Paths \"Mendora.exe\" and \"Vimstack.exe\" recorded."
fi
# The chat client talks to the support server of this machine (started
# below, or by hand with python3 chat/server/support_server.py).
"$loader" reg add "$SUITE_KEY" /v supportServer /d 127.0.0.1 /f \
  "$view" </dev/null >/dev/null 2>&1

# --- run ---------------------------------------------------------------------
cd "$install_dir"
if ! $own_display; then
  echo "Starting Mendora on $DISPLAY; the command returns when it is closed."
  "$loader" Mendora.exe
  exit 0
fi

# Every tour step that fails is named here; the command then fails.
failed_steps=()
failed() { failed_steps+=("$1"); echo "FAILED: $1" >&2; }

root="$OLDPWD"
shots="$root/build/screenshots"
mkdir -p "$shots"
rm -f "$shots"/*.png
shoot() {  # shoot NAME: saved as NAME-<dpi>dpi.png
  sleep 1  # let the window finish drawing
  import -window root "$shots/$1-${dpi}dpi.png"
  echo "  $shots/$1-${dpi}dpi.png"
}

# The system DPI the programs lay themselves out for: Wine reads it whenever a
# process starts. The prefix's own setting comes back however the command
# ends.
dpi_key='HKCU\Control Panel\Desktop'
# (A new prefix has no value of its own there: Wine then uses 96.)
saved_dpi=$({ "$loader" reg query "$dpi_key" /v LogPixels </dev/null 2>/dev/null || true; } |
  awk '/LogPixels/ { print $3 }' | tr -d '\r')
set_dpi() {  # set_dpi DPI
  dpi=$1
  "$loader" reg add "$dpi_key" /v LogPixels /t REG_DWORD /d "$1" /f </dev/null >/dev/null 2>&1
}
restore_dpi() {
  if [ -n "$saved_dpi" ]; then
    "$loader" reg add "$dpi_key" /v LogPixels /t REG_DWORD /d "$((saved_dpi))" /f </dev/null >/dev/null 2>&1 ||
      true
  else
    "$loader" reg delete "$dpi_key" /v LogPixels /f </dev/null >/dev/null 2>&1 || true
  fi
}
trap 'restore_dpi; clean_up' EXIT

tour="$root/build/$arch/shell/driver/mendora_tour.exe"
step() { "$loader" "$tour" "$@"; }
mendora_round() {
  "$loader" Mendora.exe </dev/null >/dev/null 2>&1 &
  local mendora=$!
  echo "Mendora runs under Xvfb ($DISPLAY) at $dpi DPI; screenshots:"
  if step welcome; then shoot welcome; else failed "Mendora's welcome panel at $dpi DPI"; fi
  # The tour saves this one itself, the moment a scanner runs (build/ is drive Y:).
  if step scanning "Y:\\screenshots\\scanning-${dpi}dpi.bmp"; then
    convert "$shots/scanning-${dpi}dpi.bmp" "$shots/scanning-${dpi}dpi.png" &&
      rm -f "$shots/scanning-${dpi}dpi.bmp"
    echo "  $shots/scanning-${dpi}dpi.png"
  else
    failed "Mendora's scan at $dpi DPI"
  fi
  local result
  if result=$(step results); then
    shoot results
    echo "Scan result: ${result//$'\r'/}"
  else
    failed "Mendora's results panel at $dpi DPI"
  fi
  if step windows; then shoot windows; else failed "the Windows information window at $dpi DPI"; fi
  if step devices; then shoot devices; else failed "the device window at $dpi DPI"; fi
  step back || failed "closing the information windows at $dpi DPI"
  step close || { failed "closing Mendora at $dpi DPI"; kill "$mendora" 2>/dev/null; }
  wait "$mendora" || true
  echo "Mendora ended."
}

# The support chat: this command plays the support agent on the support
# server, through its command port, while the tour plays the user.
control_port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 "$root/chat/server/support_server.py" --port 9191 --control "$control_port" --quiet \
  </dev/null >/dev/null 2>&1 &
servers+=($!)
agent() {  # agent COMMAND: one command line; prints its answer
  exec 3<>"/dev/tcp/127.0.0.1/$control_port"
  printf '%s\n' "$1" >&3
  local line
  while IFS= read -r line <&3 && [ "$line" != . ]; do printf '%s\n' "$line"; done
  exec 3>&-
}
for _ in $(seq 300); do agent ":clients" >/dev/null 2>&1 && break; sleep 0.1; done
chat_tour="$root/build/$arch/chat/client/driver/parleclient_tour.exe"
chat_step() { "$loader" "$chat_tour" "$@"; }
chat_round() {
  "$loader" Parleclient.exe </dev/null >/dev/null 2>&1 &
  local parleclient=$!
  echo "Parleclient at $dpi DPI:"
  if chat_step login Alice alice@example.com; then
    local client
    client=$(agent ":wait-client 30")
    agent ":wait-lines $client 1" >/dev/null
    agent ":chat $client Bob Hello Alice, this is Brisklane support. How can I help?"
    chat_step say "Mendora found 4 possible problems. Is it safe to repair them?" ||
      failed "Parleclient's line to the agent at $dpi DPI"
    agent ":wait-lines $client 2" >/dev/null || failed "the agent's wait for the line at $dpi DPI"
    agent ":chat $client Bob Yes: every change is backed up first, and Restore undoes it."
    shoot chat
    chat_step close || { failed "closing Parleclient at $dpi DPI"; kill "$parleclient" 2>/dev/null; }
  else
    failed "Parleclient's login at $dpi DPI"
    shoot chat-failed
    kill "$parleclient" 2>/dev/null
  fi
  wait "$parleclient" || true
  echo "Parleclient ended."
}

# The updater: the update server of this machine offers a newer build of
# Mendora.exe (the same program, marked), and the installation's record of
# the installed builds says 1.0.0.1.
site="$root/build/update-site"
update_port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cp "$root/build/$arch/updater/window/MendoraUpdater.exe" "$root/build/$arch/updater/window/fetchkit.dll" .
"$loader" reg add "$SUITE_KEY" /v updateServer /d "http://127.0.0.1:$update_port/download.asp" /f \
  "$view" </dev/null >/dev/null 2>&1
updater_tour="$root/build/$arch/updater/window/driver/updater_tour.exe"
updater_step() { "$loader" "$updater_tour" "$@"; }
updater_round() {  # updater_round BUILD: offers Mendora.exe as that build
  rm -rf "$site"
  mkdir -p "$site"
  cp Mendora.exe "$site/Mendora.exe"
  printf 'build %s' "$1" >>"$site/Mendora.exe"
  printf 'Mendora.exe %s\nrptrnr.dll 1.0.0.1\nParleclient.exe 1.0.0.1\n' "$1" >"$site/manifest.txt"
  cp rptrnr.dll Parleclient.exe "$site/"
  # Signed as a publisher signs a release, but with the test key: the updater
  # of the release package accepts only the publisher's keys, so the tour runs
  # the test build's updater, which also accepts the test key.
  bash "$root/tools/sign-release.sh" sign "$root/updater/keys/test-publisher.secret" "$site" >/dev/null
  python3 "$root/updater/server/update_server.py" --port "$update_port" --folder "$site" \
    </dev/null >/dev/null 2>&1 &
  local server=$!
  servers+=($server)
  for file in Mendora.exe rptrnr.dll Parleclient.exe; do
    "$loader" reg add "$SUITE_KEY\Update" /v "$file" /d 1.0.0.1 /f "$view" </dev/null >/dev/null 2>&1
  done
  "$loader" MendoraUpdater.exe </dev/null >/dev/null 2>&1 &
  local updater=$!
  echo "MendoraUpdater at $dpi DPI:"
  if updater_step check >/dev/null; then
    shoot updater
    updater_step install >/dev/null || failed "the updater's install at $dpi DPI"
    updater_step finish || failed "the updater's end at $dpi DPI"
  else
    failed "the updater's check at $dpi DPI"
    kill "$updater" 2>/dev/null
  fi
  wait "$updater" || true
  kill "$server" 2>/dev/null
  wait "$server" 2>/dev/null || true
  if cmp -s Mendora.exe "$site/Mendora.exe" && [ -f backup/Mendora.exe ]; then
    echo "MendoraUpdater ended: Mendora.exe is build $1, the earlier one is in backup\\."
  else
    failed "MendoraUpdater's install of the newer Mendora.exe at $dpi DPI"
  fi
}

# The whole tour at 96 DPI, then again at 150% (144 DPI), where the programs
# lay themselves out one and a half times as large.
build=1
for round_dpi in 96 144; do
  set_dpi "$round_dpi"
  mendora_round
  chat_round
  build=$((build + 1))
  updater_round "1.0.0.$build"
done
restore_dpi

if [ ${#failed_steps[@]} -gt 0 ]; then
  echo "The tour failed at ${#failed_steps[@]} step(s): ${failed_steps[*]}" >&2
  exit 1
fi
echo "The tour passed every step."
