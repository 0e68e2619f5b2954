#!/bin/sh
# The desktop program stopped by a signal while it works a radio: in the test mode with the
# transmitter keyed it unkeys, ends the test mode and only then exits; in the middle of a write
# it writes to the end, says on its error stream what the radio now holds, and exits. Runs the
# real vpr40t against the virtual radio on the X display tools/with-display.sh provides, drives
# it with the keyboard, sends the signal and reads the radio's event log and memory.
#
#   stop-while-working.sh BUILD_DIR SIGNAL [transmit|write]     (SIGNAL: TERM, INT or HUP)
set -eu
build="$1"
signal="$2"
scenario="${3:-transmit}"
# Under CTest the display is the one allocated to this test (CTEST_RESOURCE_GROUP_0_DISPLAY
# "id:x<n>,slots:1" stands for display :n).
case "${CTEST_RESOURCE_GROUP_0_DISPLAY:-}" in
id:x*)
  number=${CTEST_RESOURCE_GROUP_0_DISPLAY#id:x}
  export DISPLAY=":${number%%,*}"
  ;;
esac
work=$(mktemp -d)
sim_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill -KILL "$app_pid" 2>/dev/null || true
  [ -n "$sim_pid" ] && kill -TERM "$sim_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAILED: $*" >&2
  [ -f "$work/events" ] && sed 's/^/  radio: /' "$work/events" >&2
  [ -f "$work/stderr" ] && sed 's/^/  vpr40t: /' "$work/stderr" >&2
  exit 1
}

# The data file the program opens and its bytes, saved by a radio holding a model's default
# image when it stops. The radio the program meets holds them with its first channel record
# changed, so that a write shows, and the same test frequencies, so that the test mode starts.
mkfifo "$work/path" "$work/path0"
for saved in radio.dat image.bin; do
  "$build/sim/vpr40t-sim" --row 13 --save "$work/$saved" >"$work/path0" 2>/dev/null &
  read -r _ <"$work/path0"
  kill -TERM $! && wait $!
done
cp "$work/image.bin" "$work/memory.bin"
printf '\001\002\003\004\005\006\007\010' | dd of="$work/memory.bin" bs=1 seek=16 conv=notrunc 2>/dev/null
paced=""
[ "$scenario" = write ] && paced="--paced"
"$build/sim/vpr40t-sim" --memory "$work/memory.bin" --program-mode $paced --events "$work/events" \
  --save "$work/after.bin" >"$work/path" 2>/dev/null &
sim_pid=$!
read -r device <"$work/path"

# A private home: no settings or data folder of the user's is touched.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
mkdir -p "$HOME"
export ASAN_OPTIONS=detect_leaks=0
VPR40T_PORT_DEVICE="$device" "$build/app/vpr40t" "$work/radio.dat" 2>"$work/stderr" &
app_pid=$!

# Activates the visible window whose title matches and prints its id; windows that come and go
# meanwhile (the splash window) are tried again.
activate() {
  tries=0
  while [ $tries -lt 120 ]; do
    for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
      if xdotool windowactivate --sync "$id" 2>/dev/null; then
        echo "$id"
        return 0
      fi
    done
    tries=$((tries + 1))
    sleep 0.5
  done
  return 1
}
main=$(activate 'VPR-40T.*radio') || fail "the main window did not appear"
if [ "$scenario" = transmit ]; then
  xdotool key --clearmodifiers ctrl+t
  activate '^Test Mode$' >/dev/null || fail "the test mode did not open"
  # From the channel field: the signalling field, the list of values, the Transmit button.
  xdotool key Tab Tab Tab space
  sleep 1
else
  xdotool key --clearmodifiers ctrl+w
  activate '^Write' >/dev/null || fail "the write dialog did not open"
  xdotool key Return
  # The paced radio takes some seconds for the backup and the 123 blocks: stop in the middle.
  sleep 2
fi
kill -"$signal" "$app_pid"
status=0
timeout 30 sh -c "while kill -0 $app_pid 2>/dev/null; do sleep 0.1; done" || fail "vpr40t did not exit"
wait "$app_pid" || status=$?
app_pid=""
kill -TERM "$sim_pid"
wait "$sim_pid" || true
sim_pid=""

if [ "$scenario" = transmit ]; then
  grep -qx "transmit on" "$work/events" || fail "the transmitter was never keyed"
  last=$(grep -x "transmit on\|transmit off" "$work/events" | tail -n 1)
  [ "$last" = "transmit off" ] || fail "the radio was left keyed"
else
  # The write ran to its end: the radio holds the image, and the program said so.
  grep -v QStandardPaths "$work/stderr" | grep -q radio || fail "nothing said about the write"
  cmp -n 984 "$work/after.bin" "$work/image.bin" || fail "the radio does not hold the image written"
  sed 's/^/  vpr40t said: /' "$work/stderr"
fi
[ "$status" -eq 0 ] || fail "vpr40t exited with status $status"
if grep -q "ERROR: AddressSanitizer\|runtime error" "$work/stderr"; then fail "sanitizer report"; fi
echo "SIG$signal while working ($scenario): the radio is safe"
