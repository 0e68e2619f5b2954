#!/usr/bin/env bash
# The Windows user's whole path under Wine, on a private X server (run it through
# tools/with-display.sh): the installer installs silently into a scratch Wine prefix; the installed
# desktop program starts and shows its main window; driven by keys through xdotool it makes a new
# image for a model, takes a frequency into channel 1 and saves it (the file's bytes checked); it
# reads the virtual radio and writes it through Wine's COM port mapping (byte-exact, backup in the
# Documents folder, whose name is not ASCII); a data file on a non-ASCII path opens and saves; a
# file that is not a data file is refused; installing again upgrades in place and keeps the
# settings; the uninstaller removes what was installed and keeps the settings. Judged by bytes,
# registry values and window titles. Screenshots of the program go to build/windows/screenshots.
# Ends with one line "Windows desktop: N passed, N failed".
#
# Needs the Linux build of ./test (build/test: the virtual radio and the reference tool) and the
# Windows build (build/windows, tools/test-windows.sh), whose booted Wine prefix is copied.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
linux_build=$root/build/test
win_build=$root/build/windows
shots=$win_build/screenshots

[ -n "${DISPLAY:-}" ] || { echo "test-windows-desktop: run me through tools/with-display.sh" >&2; exit 2; }
export CCACHE_BASEDIR=$root
cmake --build "$win_build" --target package >"$win_build/package.log" 2>&1 || { tail -n 30 "$win_build/package.log" >&2; exit 1; }
installer=$(ls "$win_build"/VPR-40T-*-win64.exe)

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
[ -x "$wine" ] || wine=$(command -v wine64)
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8 LC_ALL=C.UTF-8

scratch=$(mktemp -d)
export WINEPREFIX=$scratch/prefix
sim_pid=
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  "$wineserver" -k 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
rm -rf "$shots"
mkdir -p "$shots"

passed=0
failed=0
pass() {
  passed=$((passed + 1))
  echo "[Windows desktop] ok      $1"
}
fail() {
  failed=$((failed + 1))
  echo "[Windows desktop] FAILED  $1" >&2
  shot "failed-$failed"
}
check() { # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
shot() { import -window root "$shots/$1.png" 2>/dev/null || true; }

# Polls a condition for up to $2 seconds.
wait_for() {
  local condition=$1 seconds=${2:-30}
  for _ in $(seq $((seconds * 10))); do
    if eval "$condition"; then return 0; fi
    sleep 0.1
  done
  return 1
}
# The id of the visible window whose title matches the pattern exactly, or nothing.
window_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1; }
wait_window() { # wait_window TITLE-PATTERN [SECONDS]: waits until it shows, and activates it
  local id=
  wait_for '[ -n "$(window_named "$1")" ]' "${2:-30}" || return 1
  id=$(window_named "$1")
  xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id" 2>/dev/null || true
  sleep 0.3
}
wait_gone() { wait_for '[ -z "$(window_named "$1")" ]' "${2:-30}"; }
keys() { # keys KEY...: each key pressed on the focused window, with a pause for Wine to handle it
  local k
  for k in "$@"; do
    xdotool key --clearmodifiers "$k"
    sleep 0.25
  done
}
type_text() { xdotool type --delay 60 "$1"; sleep 0.3; }

# Windows paths of files in the scratch folder (Wine's Z: is the root of the Linux file system).
winpath() { echo "Z:${1//\//\\}"; }
wine_reg() { "$wine" reg "$@" >/dev/null 2>&1; }
reg_value() { # reg_value KEY VALUE: the value's data as reg query prints it
  "$wine" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v v="$2" '$1 == v { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}

# A scratch prefix: a copy of the Windows build's booted one.
if [ ! -f "$win_build/wine/.booted" ]; then
  echo "test-windows-desktop: no booted Wine prefix in $win_build/wine (run tools/test-windows.sh first)" >&2
  exit 1
fi
"$wineserver" -k 2>/dev/null || true
cp -a "$win_build/wine" "$WINEPREFIX"
program_files="$WINEPREFIX/drive_c/Program Files/VPR-40T"
program='C:\Program Files\VPR-40T\vpr40t.exe'
settings='HKCU\Software\VESKARO\VPR40T\Backup'

# The Documents folder has a name that is not ASCII; data files and backups go below it.
documents_win='C:\users\Public\Dokumente Prüfstand Ω'
documents="$WINEPREFIX/drive_c/users/Public/Dokumente Prüfstand Ω"
mkdir -p "$documents"
wine_reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders' /v Personal /t REG_EXPAND_SZ /d "$documents_win" /f
wine_reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' /v Personal /t REG_SZ /d "$documents_win" /f

# --- Installing -----------------------------------------------------------------------------------
install_silently() { "$wine" "$installer" /S >"$scratch/install.log" 2>&1 && "$wineserver" -w; }
installed_files() {
  [ -f "$program_files/vpr40t.exe" ] && [ -f "$program_files/vpr40t-cli.exe" ] && [ -f "$program_files/vpr40t.lng" ] &&
    [ -d "$program_files/help/en" ] && [ -f "$program_files/Uninstall.exe" ]
}
start_menu_entry() { find "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs" -iname 'VPR-40T.lnk' | grep -q .; }
dat_opens_in_program() {
  local command
  command=$(reg_value 'HKLM\Software\Classes\VPR40T.DataFile\shell\open\command' '(Default)')
  [ "$(reg_value 'HKLM\Software\Classes\.dat' '(Default)')" = VPR40T.DataFile ] &&
    [[ $command == *'VPR-40T\vpr40t.exe" "%1"'* ]]
}
listed_among_apps() { grep -qi 'CurrentVersion\\\\Uninstall\\\\VPR-40T\]' "$WINEPREFIX/system.reg"; }

if install_silently; then
  check "the installer installs silently into Program Files: both programs, the language file, the manual, the uninstaller" installed_files
  check "the installer adds a Start menu entry" start_menu_entry
  check "the installer makes .dat files open in the program" dat_opens_in_program
  check "the installer lists the program among the system's Apps (uninstall key)" listed_among_apps
else
  fail "the installer did not finish: $(cat "$scratch/install.log")"
fi
