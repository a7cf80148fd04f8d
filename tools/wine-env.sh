# Sourced by the scripts that run Windows programs: the test prefix, the
# choice of Wine loader, and the persistent wineserver.

MENDORA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX_OVERRIDE:-$MENDORA_ROOT/build/wineprefix}"
export WINEDEBUG=-all
# Without Wine's menu builder: the platform starts one for every shortcut a
# program saves, and it reads the new shortcut later, at a moment of its
# own (making the shortcut "used today" behind a test's back).
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Whether this kernel can execute 32-bit x86 code; Wine needs it for i686
# programs.
host_runs_32bit() {
  [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

# The Wine loader: the standard one where 32-bit code runs, else the 64-bit
# loader directly (the wrapper would pick the 32-bit one and fail).
wine_loader() {
  if host_runs_32bit; then echo wine; else echo /usr/lib/wine/wine64; fi
}

# The loader for one program: a 64-bit program gets the 64-bit loader at
# once. Through the standard one it would be handed from the 32-bit loader to
# start.exe, which starts it again with ShellExecuteEx, a detour that now and
# then fails with "Internal error" before the program runs.
wine_loader_for() {
  local offset machine
  offset=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$offset" ] && machine=$(od -An -tx2 -j$((offset + 4)) -N2 "$1" 2>/dev/null | tr -d ' ')
  if [ "${machine:-}" = 8664 ]; then echo /usr/lib/wine/wine64; else wine_loader; fi
}

PREFIX_LAYOUT=7
wine_prefix_ready() { [ "$(cat "$WINEPREFIX/.mendora-ready" 2>/dev/null)" = "$PREFIX_LAYOUT" ]; }

# Makes the prefix once per build tree. Windows are not handed to a window
# manager (there is none under Xvfb). Drive Z: (the whole Linux root as a
# fixed drive) is removed so that walks of the fixed drives stay inside the
# prefix. The build tree becomes network drive Y:, so that the test programs
# have a Windows path (a child process started from a path without a drive
# fails) while the fixed-drive walks stay in the prefix. D: is a second fixed
# drive, an empty folder of the prefix, for tests of walks over several drives.
make_wine_prefix() {
  wine_prefix_ready && return 0
  stop_wineserver
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  local loader; loader=$(wine_loader)
  [ "$loader" = wine ] || export WINELOADER="$loader"
  "$loader" wineboot -i </dev/null >/dev/null 2>&1
  # Wine's drive settings are read by its 64-bit mount manager: write them in
  # the 64-bit view, whichever loader made the prefix (the 32-bit one would
  # write them below Wow6432Node, where 64-bit programs never look).
  "$loader" reg add 'HKLM\Software\Wine\Drives' /v y: /d network /f /reg:64 </dev/null >/dev/null 2>&1
  # A program that crashes ends at once instead of waiting in Wine's debugger
  # (which would hold a test run until its time-out).
  local view
  for view in /reg:64 /reg:32; do
    "$loader" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
      /v Debugger /d false /f "$view" </dev/null >/dev/null 2>&1
  done
  # The suite's own key exists, as on a machine with the suite installed: the
  # tests change its values side by side, and a test that made the key would
  # remove it again at its end, under another program that is about to write
  # to it (such as a Mendora recording its process id).
  source "$MENDORA_ROOT/tools/installation.sh"
  for view in /reg:64 /reg:32; do
    "$loader" reg add "$SUITE_KEY" /f "$view" </dev/null >/dev/null 2>&1
  done
  # Without a window manager, hiding or destroying a window that Wine lets the
  # window manager handle waits 2 s for a state change that never comes.
  "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
  if ! "$loader" reg query 'HKLM\Software\Wine\Drives' /v y: /reg:64 </dev/null 2>/dev/null |
       grep -q network; then
    echo "Could not record drive Y: as a network drive in the test prefix" >&2
    return 1
  fi
  wineserver -w
  rm -f "$WINEPREFIX/dosdevices/z:"
  ln -sfn "$(dirname "$WINEPREFIX")" "$WINEPREFIX/dosdevices/y:"
  mkdir -p "$WINEPREFIX/drive_d"
  ln -sfn ../drive_d "$WINEPREFIX/dosdevices/d:"
  echo "$PREFIX_LAYOUT" > "$WINEPREFIX/.mendora-ready"
}

# A persistent, warm wineserver whose children hold none of our pipes.
start_wineserver() {
  local loader; loader=$(wine_loader)
  [ "$loader" = wine ] || export WINELOADER="$loader"
  wineserver -p </dev/null >/dev/null 2>&1 || true  # one may run already
  "$loader" cmd /c exit </dev/null >/dev/null 2>&1 || true
}

stop_wineserver() { wineserver -k >/dev/null 2>&1 || true; }

# A virtual screen for the windows of the GUI tests.
start_xvfb() {
  local n=99
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && return 0; sleep 0.1; done
  echo "Xvfb did not start" >&2
  return 1
}

stop_xvfb() { [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null; wait "${XVFB_PID:-}" 2>/dev/null || true; }
