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

export LANG=C.UTF-8 LC_ALL=C.UTF-8

scratch=$(mktemp -d)
export WINEPREFIX=$scratch/prefix
label="Windows desktop"
source tools/wine-common.sh
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  stop_radio
  "$wineserver" -k 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
rm -rf "$shots"
mkdir -p "$shots"

on_failure() { shot "failed-$failed"; }
shot() { import -window root "$shots/$1.png" 2>/dev/null || true; }

# The id of the visible window whose title matches the pattern exactly, or nothing.
window_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1; }
wait_window() { # wait_window TITLE-PATTERN [SECONDS]: waits until it shows, and activates it
  local id= wanted_title=$1
  wait_for '[ -n "$(window_named "$wanted_title")" ]' "${2:-30}" || return 1
  id=$(window_named "$wanted_title")
  xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id" 2>/dev/null || true
  sleep 0.3
}
wait_gone() {
  local gone_title=$1
  wait_for '[ -z "$(window_named "$gone_title")" ]' "${2:-30}"
}
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
reg_value() { # reg_value KEY VALUE: "TYPE DATA" as reg query prints them; VALUE "(Default)" for the key's own
  local which=(/v "$2")
  [ "$2" = "(Default)" ] && which=(/ve)
  "$wine" reg query "$1" "${which[@]}" 2>/dev/null | tr -d '\r' |
    awk -v v="$2" '$1 == v { $1 = ""; sub(/^ +/, ""); print }'
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

# --- The programs as built ---------------------------------------------------------------------------
subsystem_of() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^Subsystem[[:space:]]*[0-9a-f]*[[:space:]]*(\(.*\))/\1/p'; }
check "the desktop program is a Windows GUI program (no console window)" \
  test "$(subsystem_of "$win_build/app/vpr40t.exe")" = "Windows GUI"
check "the command-line tool is a console program" test "$(subsystem_of "$win_build/cli/vpr40t-cli.exe")" = "Windows CUI"
has_resources() {
  wrestool -l "$1" >"$scratch/resources.txt" 2>&1 &&
    grep -q -- '--type=14' "$scratch/resources.txt" && grep -q -- '--type=16' "$scratch/resources.txt" &&
    wrestool -x --raw --type=16 "$1" | iconv -f UTF-16LE -t UTF-8 2>/dev/null | tr -d '\0' | grep -q 'VPR-40T'
}
check "the desktop program carries its icon and version information" has_resources "$win_build/app/vpr40t.exe"
needs_only_system_dlls() { # every DLL the program imports is part of Windows itself
  ! x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' |
    grep -vE '^(kernel32|user32|gdi32|shell32|ole32|oleaut32|advapi32|comdlg32|winspool\.drv|imm32|winmm|ws2_32|uxtheme|dwmapi|version|netapi32|userenv|uuid|setupapi|shlwapi|d3d9|dxgi|d3d11|d2d1|dwrite|wtsapi32|mpr|authz|msvcrt|api-ms-win-.*|comctl32|crypt32|secur32|bcrypt|ntdll|rpcrt4|cfgmgr32|shcore)\.dll$|^winspool\.drv$' | grep -q .
}
check "the desktop program needs no DLL beside it" needs_only_system_dlls "$win_build/app/vpr40t.exe"

# --- Installing -----------------------------------------------------------------------------------
install_silently() { "$wine" "$installer" /S >"$scratch/install.log" 2>&1 && "$wineserver" -w; }
installed_files() {
  [ -f "$program_files/vpr40t.exe" ] && [ -f "$program_files/vpr40t-cli.exe" ] && [ -f "$program_files/vpr40t.lng" ] &&
    [ -d "$program_files/help/en" ] && [ -f "$program_files/translations/qtbase_de.qm" ] &&
    [ -f "$program_files/Uninstall.exe" ]
}
start_menu_entry() { find "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs" -iname 'VPR-40T.lnk' | grep -q .; }
dat_opens_in_program() {
  local command
  command=$(reg_value 'HKLM\Software\Classes\VPR40T.DataFile\shell\open\command' '(Default)')
  [ "$(reg_value 'HKLM\Software\Classes\.dat' '(Default)')" = "REG_SZ VPR40T.DataFile" ] &&
    [[ $command == *'VPR-40T\vpr40t.exe" "%1"'* ]]
}
listed_among_apps() { grep -qi 'CurrentVersion\\\\Uninstall\\\\VPR-40T\]' "$WINEPREFIX/system.reg"; }

if install_silently; then
  check "the installer installs silently into Program Files: both programs, the language file, the manual, Qt's German texts, the uninstaller" installed_files
  check "the installer adds a Start menu entry" start_menu_entry
  check "the installer makes .dat files open in the program" dat_opens_in_program
  check "the installer lists the program among the system's Apps (uninstall key)" listed_among_apps
else
  fail "the installer did not finish: $(cat "$scratch/install.log")"
fi

# --- The desktop program ------------------------------------------------------------------------
main_title='VPR-40T  \[.*\] \[ .* : .*\]'
title_with_file() { echo "VPR-40T  \\[.*\\] \\[ .* : $1 \\]"; }

start_program() { # start_program [ARGS...]: starts the installed program and waits for its main window
  (cd "$scratch" && exec "$wine" "$program" "$@" >"$scratch/program.log" 2>&1) &
  app_pid=$!
  wait_window "$main_title" 60 || return 1
  # The splash closes on a key press or after five seconds; the main window takes the keys then.
  sleep 5.5
  wait_window "$main_title" 5
}
# Answers a message box whose default button is Cancel with its other button (OK or Yes).
answer_ok() { # answer_ok TITLE
  wait_window "$1" 15 || return 1
  keys shift+Tab space
  wait_gone "$1" 10
}
main_window() { wait_window "$main_title" "${1:-10}"; }
# The program's visible windows (Wine's file dialog has no title, so they are found by class).
program_windows() { xdotool search --onlyvisible --class 'vpr40t' 2>/dev/null | sort; }
# Saves under a new name through File > Save As and the system's file dialog: the window that
# appears is the dialog; the name is typed over the proposed one.
save_as() { # save_as WINDOWS-PATH
  main_window || return 1
  local before dialog=
  before=$(program_windows)
  keys alt+f a
  wait_for '[ -n "$(comm -13 <(echo "$before") <(program_windows))" ]' 15 || return 1
  sleep 0.5
  dialog=$(comm -13 <(echo "$before") <(program_windows) | head -n1)
  xdotool windowactivate --sync "$dialog" 2>/dev/null || true
  keys End shift+Home
  type_text "$1"
  keys Return
  wait_for '! program_windows | grep -qx "$dialog"' 15
}
# Types a value into channel 1's receive frequency in Edit > Channel Information.
set_channel_1() { # set_channel_1 FREQUENCY
  main_window || return 1
  keys alt+e c ctrl+Home Return
  type_text "$1"
  keys Return
}
# A Read or Write dialog: its start button (the default), then the success message's OK.
transfer() { # transfer KEY DIALOG-TITLE SUCCESS-TITLE
  main_window || return 1
  keys "$1"
  wait_window "$2" 15 || return 1
  keys Return
  wait_window "$3" 90 || return 1
  shot "transfer-$3"
  keys Return
  wait_gone "$3" 10
}
# Ends the program through File > Exit: the exit question answered OK, saving answered No.
exit_program() {
  main_window 5 || true
  keys alt+f x
  answer_ok Exit || true
  # Wine takes a while to end a process on a busy machine once its windows are gone.
  for _ in $(seq 60); do
    kill -0 "$app_pid" 2>/dev/null || break
    [ -n "$(window_named 'VPR-40T')" ] && keys n
    sleep 0.5
  done
  local status=0
  kill -0 "$app_pid" 2>/dev/null && status=1
  kill "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  app_pid=
  "$wineserver" -w
  return $status
}
# What the Linux tool makes of a new image of FILE's model with channel 1 set to FREQUENCY in
# both directions (as the grid fills the transmit frequency), through the same entry rules.
expected_new_image() { # FILE FREQUENCY OUT
  local model band
  model=$("$linux_cli" info --json "$1" | sed -n 's/.*"model": "\([^"]*\)".*/\1/p')
  band=$("$linux_cli" info --json "$1" | sed -n 's/.*"band": "\([^"]*\)".*/\1/p')
  "$linux_cli" new --model "$model" --band "$band" -o "$scratch/new.dat" >/dev/null &&
    printf 'Channel,RxFrequency,TxFrequency,RxTone,TxTone,OptionA,OptionB\n1,%s,%s,off,off,off,off\n' "$2" "$2" >"$scratch/ch1.csv" &&
    "$linux_cli" channels "$scratch/new.dat" --import "$scratch/ch1.csv" -o "$3" >/dev/null
}
same_bytes() { cmp "$1" "$2" >&2; }

radio_image=$scratch/radio-row16.dat
"$linux_cli" new --row 16 -o "$radio_image" >/dev/null
wine_reg add "$settings" /v ComPort /t REG_DWORD /d 5 /f
start_radio --row 16 --paced --save "$scratch/radio.dat" || fail "the virtual radio did not start"

if start_program; then
  pass "the installed program starts under Wine and shows its main window"
  shot 01-main-window

  # A new image for a model: Model > Model Information, the next model, OK, and the question
  # that replaces the data answered with OK; channel 1's receive frequency typed; Save As.
  main_window && keys alt+m i
  if wait_window 'Model Information' 15; then
    shot 02-model-information
    keys Down Return
    answer_ok Confirm || fail "no question before the model's default data replaced the image"
  else
    fail "Model > Model Information did not open its dialog"
  fi
  set_channel_1 150.125
  shot 03-channel-1
  new_file=$scratch/new-image.dat
  save_as "$(winpath "$new_file")" || fail "File > Save As did not show the file dialog"
  if [ -f "$new_file" ] && expected_new_image "$new_file" 150.125 "$scratch/expected-new.dat"; then
    check "by keys: a new image of another model with 150.125 MHz in channel 1, saved byte for byte as on Linux" \
      same_bytes "$new_file" "$scratch/expected-new.dat"
    check "the model changed from the one the program started with" \
      test "$("$linux_cli" info --json "$new_file" | grep -c '"channels": 16')" = 1
  else
    fail "Save As wrote no data file"
  fi
  check "the title names the saved file" wait_window "$(title_with_file new-image.dat)" 5

  # Read the radio through COM5, save it: the radio's image byte for byte.
  if transfer ctrl+r 'Read Data from Radio' 'Read Complete'; then
    read_file=$scratch/read.dat
    save_as "$(winpath "$read_file")" || true
    check "Program > Read Data from Radio through COM5 reads the virtual radio byte for byte" same_bytes "$read_file" "$radio_image"
  else
    fail "Read Data from Radio did not complete"
  fi

  # Change channel 1 and write: the radio holds the written image (its own area from 0x3D8 on
  # stays), the radio's previous data is backed up in the Documents folder, and verified.
  set_channel_1 445.5
  written=$scratch/written.dat
  save_as "$(winpath "$written")" || true
  if transfer ctrl+w 'Write Data to Radio' 'Write Complete'; then
    pass "Program > Write Data to Radio through COM5 completes, verified"
  else
    fail "Write Data to Radio did not complete"
  fi
  shot 04-after-write
  check "File > Exit ends the program" exit_program
  stop_radio
  kept=$((50 + 0x3D8))
  check "the radio's memory holds the written image (445.5 MHz in channel 1), its own area untouched" \
    eval 'cmp -n "$kept" "$scratch/radio.dat" "$written" && cmp -i "$kept" "$scratch/radio.dat" "$radio_image"'
  backups=("$documents/Veskaro/VPR-40T/Backups"/*.dat)
  check "the radio's previous data is backed up below the Documents folder, whose name is not ASCII" \
    eval '[ -f "${backups[0]}" ] && cmp -s -i 50 "${backups[0]}" "$radio_image"'
  check "the settings are in the registry: ComPort as a number, the last folder as text" \
    eval '[ "$(reg_value "$settings" ComPort)" = "REG_DWORD 0x5" ] && [[ "$(reg_value "$settings" LastFilePath)" == "REG_SZ Z:\\"* ]]'
else
  fail "the installed program did not show its main window: $(cat "$scratch/program.log")"
fi

# --- Bad input ------------------------------------------------------------------------------------
# A data file on a path that is not ASCII opens from the command line (as a double click on it
# does) and saves in place; a file that is not a data file is refused with a message, and the
# program goes on with its own image.
odd_folder="$scratch/Funkgeräte Ωμέγα"
mkdir -p "$odd_folder"
odd_file="$odd_folder/Wache Süd.dat"
cp "$radio_image" "$odd_file"
if start_program "$(winpath "$odd_file")"; then
  check "a data file on a non-ASCII path opens from the command line (its name in the title)" \
    wait_window "$(title_with_file 'Wache Süd.dat')" 10
  set_channel_1 446.25
  # Save over the file it came from: the question before replacing an existing file is answered OK.
  main_window && keys ctrl+s
  answer_ok Confirm || fail "Save did not ask before replacing the existing file"
  # Expected: the file as it was with channel 1 (empty there) set as the grid sets it, through the
  # Linux tool and the same entry rules.
  printf 'Channel,RxFrequency,TxFrequency,RxTone,TxTone,OptionA,OptionB\n1,446.25,446.25,off,off,off,off\n' >"$scratch/odd-1.csv"
  "$linux_cli" channels "$radio_image" --import "$scratch/odd-1.csv" -o "$scratch/odd-expected.dat" >/dev/null
  check "and saves in place: channel 1 changed, nothing else" \
    eval '! cmp -s "$radio_image" "$scratch/odd-expected.dat" && wait_for "cmp -s \"\$odd_file\" \"\$scratch/odd-expected.dat\"" 10'
  exit_program || fail "File > Exit did not end the program"
else
  fail "the program did not start with a data file on a non-ASCII path"
fi
printf 'This is a shopping list, not a data file.\r\n' >"$scratch/list.txt"
if start_program "$(winpath "$scratch/list.txt")" || [ -n "$(window_named 'Error')" ]; then
  check "a file that is not a data file is refused with a message" wait_window Error 10
  shot 05-not-a-data-file
  keys Return
  check "and the program goes on with its own image" wait_window "$(title_with_file vpr40t.dat)" 15
  exit_program || fail "File > Exit did not end the program"
else
  fail "the program did not start when given a file that is not a data file"
fi

# --- Installing again, uninstalling ------------------------------------------------------------------
# The settings the program wrote are kept by an upgrade and by the uninstaller.
settings_before=$("$wine" reg query "$settings" 2>/dev/null | tr -d '\r' | sort)
if install_silently; then
  check "installing again over the installed program upgrades it in place" installed_files
  check "and keeps the user's settings" test "$("$wine" reg query "$settings" 2>/dev/null | tr -d '\r' | sort)" = "$settings_before"
else
  fail "installing a second time did not finish: $(cat "$scratch/install.log")"
fi
if "$wine" "C:\\Program Files\\VPR-40T\\Uninstall.exe" /S >"$scratch/uninstall.log" 2>&1 && "$wineserver" -w &&
  wait_for '[ ! -e "$program_files/vpr40t.exe" ]' 30; then
  check "the uninstaller removes the programs, the manual and itself" test ! -e "$program_files"
  check "and the Start menu entry" eval '! start_menu_entry'
  check "and the data file type and the Apps entry" eval '! dat_opens_in_program && ! listed_among_apps'
  check "and keeps the user's settings and data files" eval \
    '[ "$("$wine" reg query "$settings" 2>/dev/null | tr -d "\r" | sort)" = "$settings_before" ] && [ -f "${backups[0]}" ]'
else
  fail "the uninstaller did not finish: $(cat "$scratch/uninstall.log")"
fi

echo "Windows desktop: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
