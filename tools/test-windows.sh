#!/usr/bin/env bash
# Builds every program and the core's tests for Windows (MinGW-w64 on the static Qt of
# tools/build-qt-windows.sh, preset "windows") and runs them under Wine: every test program, then
# the command-line tool against the virtual radio through a COM port that Wine maps onto the radio's
# pseudo-terminal. Ends with one line
# "Windows: N passed, N failed, N skipped".
#
# Needs the Linux build of ./test (build/test) for the virtual radio and the reference tool.
# Wine keeps its prefix in build/windows/wine; the first run boots it, which takes a while.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
linux_build=$root/build/test
win_build=$root/build/windows

export CCACHE_BASEDIR=$root
# The static Qt and yaml-cpp for Windows: built once per machine into a cache (about half an hour).
tools/build-qt-windows.sh >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows

export WINEPREFIX=$win_build/wine
unset DISPLAY # console programs only

scratch=$(mktemp -d)
label=Windows
source tools/wine-common.sh
cleanup() {
  stop_radio
  "$wineserver" -k 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

# A prefix that never finished booting is made anew rather than half used.
if [ ! -f "$WINEPREFIX/.booted" ]; then
  rm -rf "$WINEPREFIX"
  echo "Booting Wine in $WINEPREFIX" >&2
  "$wine" wineboot -i >"$scratch/wineboot.log" 2>&1 || true
  "$wineserver" -w
  [ -f "$WINEPREFIX/system.reg" ] || { cat "$scratch/wineboot.log" >&2; echo "Wine did not boot" >&2; exit 1; }
  touch "$WINEPREFIX/.booted"
fi

# Every test program; GoogleTest's XML report gives the counts.
for program in "$win_build"/tests/tests_*.exe; do
  name=$(basename "$program" .exe)
  report=$scratch/$name.xml # gtest takes a path relative to the working folder best
  if ! (cd "$scratch" && "$wine" "$program" --gtest_output="xml:$name.xml" >"$scratch/$name.log" 2>&1); then
    cat "$scratch/$name.log" >&2
  fi
  if [ ! -f "$report" ]; then
    fail "$name did not finish (no report)"
    continue
  fi
  counts=$(grep -m1 -o '<testsuites [^>]*' "$report")
  attribute() { sed -n "s/.* $1=\"\([0-9]*\)\".*/\1/p" <<<"$counts"; }
  tests=$(attribute tests) failures=$(attribute failures) errors=$(attribute errors) disabled=$(attribute disabled)
  ran_skipped=$(grep -c '<skipped' "$report" || true)
  bad=$((failures + errors))
  passed=$((passed + tests - bad - disabled - ran_skipped))
  failed=$((failed + bad))
  skipped=$((skipped + disabled + ran_skipped))
  echo "[Windows] $name: $((tests - bad - disabled - ran_skipped)) passed, $bad failed"
done

# The serial back end against the virtual radio, through COM5.
win_cli=$win_build/cli/vpr40t-cli.exe

# Runs the Windows tool in the scratch folder; standard output and error without CR.
win_cli() {
  local status=0
  (cd "$scratch" && "$wine" "$win_cli" "$@" >"$scratch/out.raw" 2>"$scratch/err.raw") || status=$?
  tr -d '\r' <"$scratch/out.raw" >"$scratch/out.txt"
  tr -d '\r' <"$scratch/err.raw" >"$scratch/err.txt"
  return $status
}

"$linux_cli" new --row 16 -o "$scratch/row16.dat" >/dev/null
"$linux_cli" new --row 13 -o "$scratch/row13.dat" >/dev/null
if start_radio --row 16 --save "$scratch/radio.dat"; then

  if win_cli read --port 5 -o read.dat && cmp -s "$scratch/read.dat" "$scratch/row16.dat"; then
    pass "read --port 5 reads the virtual radio byte for byte"
  else
    fail "read --port 5: $(cat "$scratch/err.txt")"
  fi

  "$linux_cli" detect --port "$pty" >"$scratch/detect.linux" 2>/dev/null || true
  if win_cli detect --port 5 && [ -s "$scratch/out.txt" ] && cmp -s "$scratch/out.txt" "$scratch/detect.linux"; then
    pass "detect --port 5 names the radio as on Linux"
  else
    fail "detect --port 5: $(cat "$scratch/out.txt" "$scratch/err.txt")"
  fi

  # A write never touches the radio's own area from 0x3D8 on: the data file's first 50 + 0x3D8
  # bytes come from the written file, the rest stays the radio's.
  kept=$((50 + 0x3D8))
  if win_cli write --port 5 row13.dat --yes && win_cli read --port 5 -o back.dat &&
    cmp -s -n "$kept" "$scratch/back.dat" "$scratch/row13.dat" &&
    cmp -s -i "$kept" "$scratch/back.dat" "$scratch/row16.dat"; then
    pass "write --port 5 writes the virtual radio byte for byte"
  else
    fail "write --port 5: $(cat "$scratch/err.txt")"
  fi
  stop_radio
  if cmp -s -n "$kept" "$scratch/radio.dat" "$scratch/row13.dat"; then
    pass "the radio's memory holds the written image"
  else
    fail "the radio's memory does not hold the written image"
  fi
else
  fail "the virtual radio did not start"
fi

# export and import: the whole image as YAML, the same bytes as the Linux tool's, and back into
# the same data file; print: a PDF with the Linux tool's page count and the model's name in it.
"$linux_cli" export "$scratch/row16.dat" -o "$scratch/row16.linux.yaml" >/dev/null 2>&1
if win_cli export row16.dat -o row16.yaml && cmp -s "$scratch/row16.yaml" "$scratch/row16.linux.yaml" &&
  win_cli import row16.yaml -o imported.dat && cmp -s "$scratch/imported.dat" "$scratch/row16.dat"; then
  pass "export and import round-trip a data file byte for byte, the YAML as on Linux"
else
  fail "export/import: $(cat "$scratch/err.txt")"
fi
"$linux_cli" print "$scratch/row16.dat" --pdf "$scratch/print.linux.pdf" >/dev/null 2>&1
pages() { pdfinfo "$1" 2>/dev/null | sed -n 's/^Pages: *//p'; }
if win_cli print row16.dat --pdf print.pdf && [ -n "$(pages "$scratch/print.pdf")" ] &&
  [ "$(pages "$scratch/print.pdf")" = "$(pages "$scratch/print.linux.pdf")" ] &&
  pdftotext "$scratch/print.pdf" - | grep -qF 'HX-5470/5470M'; then
  pass "print --pdf writes $(pages "$scratch/print.pdf") pages, as on Linux, naming the model"
else
  fail "print --pdf: $(pages "$scratch/print.pdf") pages (Linux $(pages "$scratch/print.linux.pdf")): $(cat "$scratch/err.txt")"
fi

# The test session: commands on a pipe, one answer line each, as the Linux tool answers them
# against its own radio; at the end of input the keyed transmitter is unkeyed and the adjusted
# image saved. Judged by the answers, the radio's event log and the saved bytes.
"$linux_cli" new --row 0 -o "$scratch/row0.dat" >/dev/null
printf 'channel 3\nsignalling 1\nadjust 1\nvalue 50\napply\nvalue 60\nstatus\nleave\ntransmit on\n' >"$scratch/bench.txt"
if start_radio --row 0 --program-mode --events "$scratch/events.linux"; then
  (cd "$scratch" && "$linux_cli" test --port "$pty" row0.dat --save saved.linux <bench.txt >answers.linux 2>/dev/null) || true
  stop_radio
fi
if start_radio --row 0 --program-mode --events "$scratch/events.win"; then
  status=0
  (cd "$scratch" && "$wine" "$win_cli" test --port 5 row0.dat --save saved.win <bench.txt >answers.raw 2>"$scratch/err.raw") ||
    status=$?
  stop_radio
  tr -d '\r' <"$scratch/answers.raw" >"$scratch/answers.win"
  if [ "$status" = 0 ] && [ "$(wc -l <"$scratch/answers.win")" = 9 ] && cmp -s "$scratch/answers.win" "$scratch/answers.linux"; then
    pass "test --port 5 answers every command as on Linux: $(sed -n 7p "$scratch/answers.win")"
  else
    fail "test --port 5 answers (exit $status): $(cat "$scratch/answers.win" "$scratch/err.raw")"
  fi
  if [ -s "$scratch/events.win" ] && cmp -s "$scratch/events.win" "$scratch/events.linux" &&
    [ "$(tail -n2 "$scratch/events.win" | head -n1)" = "transmit on" ] && [ "$(tail -n1 "$scratch/events.win")" = "transmit off" ]; then
    pass "test --port 5: the radio saw what it sees from Linux, ending in transmit on, transmit off"
  else
    fail "test --port 5: the radio's events differ from Linux's: $(diff "$scratch/events.linux" "$scratch/events.win" | tr '\n' ' ')"
  fi
  if [ -s "$scratch/saved.win" ] && cmp -s "$scratch/saved.win" "$scratch/saved.linux" && ! cmp -s "$scratch/saved.win" "$scratch/row0.dat"; then
    pass "test --port 5 --save writes the adjusted image byte for byte as on Linux"
  else
    fail "test --port 5 --save: the saved image differs from Linux's"
  fi
else
  fail "the virtual radio did not start for the test session"
fi

# Ctrl+C ends a session as SIGINT does on Linux: Wine turns a SIGINT to a Windows program into
# the console's CTRL_C_EVENT. The bench's pipe stays open, so only the event can end the session.
if start_radio --row 0 --program-mode --events "$scratch/events.ctrlc"; then
  mkfifo "$scratch/bench.fifo"
  (cd "$scratch" && exec "$wine" "$win_cli" test --port 5 row0.dat <bench.fifo >ctrlc.raw 2>ctrlc.err) &
  session_pid=$!
  exec 7>"$scratch/bench.fifo"
  printf 'transmit on\n' >&7
  for _ in $(seq 300); do
    grep -q 'ok transmit on' "$scratch/ctrlc.raw" 2>/dev/null && break
    kill -0 "$session_pid" 2>/dev/null || break
    sleep 0.1
  done
  keyed=$(tail -n1 "$scratch/ctrlc.raw" 2>/dev/null | tr -d '\r')
  kill -INT "$session_pid" 2>/dev/null || true
  status=0
  for _ in $(seq 300); do kill -0 "$session_pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$session_pid" 2>/dev/null; then
    kill -KILL "$session_pid" 2>/dev/null || true
    status=timeout
  fi
  [ "$status" = timeout ] || wait "$session_pid" || status=$?
  exec 7>&-
  stop_radio
  if [ "$keyed" = "ok transmit on" ] && [ "$status" = 0 ] && [ "$(tail -n1 "$scratch/events.ctrlc")" = "transmit off" ]; then
    pass "Ctrl+C during a test session unkeys and ends it (exit 0)"
  else
    fail "Ctrl+C during a test session: answer '$keyed', exit $status, radio's last event '$(tail -n1 "$scratch/events.ctrlc")'"
  fi
else
  fail "the virtual radio did not start for the Ctrl+C session"
fi
# Ctrl+Break and closing the console window need a console of their own, which Wine gives only
# to a program in its own terminal window; the handler treats them as Ctrl+C (cli/win32).
skip "Ctrl+Break and closing the console window during a test session (Wine sends neither to a program without a console window)"

# Paths in any script: the Documents folder moved to a folder named in Greek, Cyrillic and
# Japanese (Wine's User Shell Folders, value Personal), where a write's backup must land; and a
# data file on such a path given on the command line. Wine hands UTF-8 arguments over as such.
export LC_ALL=C.UTF-8
shell_folders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
documents_name='Dokumente Ελληνικά Кириллица 日本語'
documents=$WINEPREFIX/drive_c/$documents_name
rm -rf "$documents"
mkdir -p "$documents"
"$wine" reg add "$shell_folders" /v Personal /t REG_EXPAND_SZ /d "C:\\$documents_name" /f >/dev/null 2>&1
# The core's default data folder is the known folder's, however it is named.
if (cd "$scratch" && "$wine" "$win_build/tests/tests_model.exe" \
  --gtest_filter='RadioBackupsTest.TheDefaultDataFolder*' >"$scratch/documents.log" 2>&1) &&
  grep -q '\[  PASSED  \] 1 test' "$scratch/documents.log"; then
  pass "the default data folder follows a Documents folder named in other scripts"
else
  fail "the default data folder with Documents named in other scripts: $(tr -d '\r' <"$scratch/documents.log" | grep -m3 -i 'fail\|expected\|which is')"
fi
if start_radio --row 16; then
  # A backup's image is the radio's; its header also says why it was taken.
  backups=$documents/Veskaro/VPR-40T/Backups
  if win_cli write --port 5 row13.dat --yes && backup=$(ls "$backups"/*.dat 2>/dev/null | head -n1) &&
    [ -n "$backup" ] && cmp -s -i 50 "$backup" "$scratch/row16.dat"; then
    pass "write backs up the radio into $(basename "$documents")/Veskaro/VPR-40T/Backups byte for byte"
  else
    fail "write with Documents named in other scripts: $(cat "$scratch/err.txt"; ls -R "$documents" 2>&1 | head -5)"
  fi
  stop_radio
else
  fail "the virtual radio did not start for the backup below Documents"
fi
"$linux_cli" new --row 3 -o "$scratch/row3.dat" >/dev/null
unicode_file='Funkgerät Ωμέγα.dat'
if win_cli new --row 3 -o "C:\\$documents_name\\$unicode_file" && cmp -s "$documents/$unicode_file" "$scratch/row3.dat" &&
  win_cli info "C:\\$documents_name\\$unicode_file" && grep -q '^Channels:' "$scratch/out.txt"; then
  pass "a data file on a path in other scripts is written byte for byte and read back"
else
  fail "a data file on a path in other scripts: $(cat "$scratch/err.txt")"
fi
"$wine" reg add "$shell_folders" /v Personal /t REG_EXPAND_SZ /d '%USERPROFILE%\Documents' /f >/dev/null 2>&1
rm -rf "$documents"

# Wine lets a second program open a COM port that one holds; Windows refuses it.
skip "a port held by another program (Wine does not refuse a second open of a COM port)"

# A port that does not exist, and a file given as the port: the open-failure message, the
# system's reason, exit 1.
"$linux_cli" read --port "$scratch/no-such-device" -o x.dat 2>"$scratch/err.linux" >/dev/null || true
open_failed=$(head -n1 "$scratch/err.linux")
check_open_failure() {
  local what=$1 status=0
  shift
  win_cli "$@" || status=$?
  if [ "$status" = 1 ] && grep -qF "$open_failed" "$scratch/err.txt" && [ "$(wc -l <"$scratch/err.txt")" -ge 2 ]; then
    pass "$what: $(tail -n1 "$scratch/err.txt")"
  else
    # Once more with Wine's own error channel, so that a failure of Wine itself shows too.
    (cd "$scratch" && WINEDEBUG=err+all "$wine" "$win_cli" "$@" >"$scratch/again.txt" 2>&1) || true
    fail "$what: exit $status: $(cat "$scratch/err.txt" "$scratch/out.txt"); again: $(tr -d '\r' <"$scratch/again.txt")"
  fi
}
check_open_failure "a missing port 7 (COM7)" detect --port 7
check_open_failure "a missing port 17 (\\\\.\\COM17)" read --port 17 -o missing.dat
echo "not a port" >"$scratch/not-a-port.txt"
check_open_failure "a file given as the port" read --port 'Z:'"$(echo "$scratch" | tr / '\\')"'\not-a-port.txt' -o file.dat

echo "Windows: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
