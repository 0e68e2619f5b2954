#!/usr/bin/env bash
# Runs a command on private X servers with a window manager, as the widget tests need.
#
#   tools/with-display.sh [--displays N] COMMAND [ARGS...]
#
# Starts N (default 1) Xvfb servers on free displays (each picks its number itself), an openbox
# on each, waits until every openbox manages its screen, and runs the command with DISPLAY set
# to the first, QT_QPA_PLATFORM=xcb, and VPR_DISPLAY_SPEC naming a CTest resource file that
# lists every server as a "display" resource (ids "x<number>"), for `ctest --resource-spec-file`.
# Stops all servers afterwards whatever the command's outcome, and exits with its status.
set -euo pipefail
count=1
if [ "${1:-}" = "--displays" ]; then
  count=$2
  shift 2
fi
if [ $# -eq 0 ]; then
  echo "usage: $0 [--displays N] COMMAND [ARGS...]" >&2
  exit 2
fi

scratch=$(mktemp -d)
pids=()
cleanup() {
  # Window managers first, then their servers.
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
  rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Polls a condition for up to thirty seconds (a busy machine can take seconds to start a server).
wait_until() {
  for _ in $(seq 600); do
    if "$@"; then return 0; fi
    sleep 0.05
  done
  return 1
}

for ((i = 0; i < count; i++)); do
  Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp -noreset 3>"$scratch/display$i" \
    2>"$scratch/xvfb$i.log" &
  pids+=($!)
done
display_written() { grep -q $'\n' "$1" 2>/dev/null; }
displays=()
for ((i = 0; i < count; i++)); do
  if ! wait_until display_written "$scratch/display$i"; then
    echo "Xvfb did not start:" >&2
    cat "$scratch/xvfb$i.log" >&2
    exit 1
  fi
  displays+=("$(head -n1 "$scratch/display$i")")
done

# openbox with an empty configuration folder: no user settings, no autostart programs.
for n in "${displays[@]}"; do
  DISPLAY=":$n" XDG_CONFIG_HOME="$scratch" openbox --sm-disable >"$scratch/wm$n.log" 2>&1 &
  pids+=($!)
done
wm_running() { DISPLAY=":$1" xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }
for n in "${displays[@]}"; do
  if ! wait_until wm_running "$n"; then
    echo "openbox did not start on :$n:" >&2
    cat "$scratch/wm$n.log" >&2
    exit 1
  fi
done

resources=""
for n in "${displays[@]}"; do
  resources+="${resources:+,}{\"id\":\"x$n\",\"slots\":1}"
done
printf '{"version":{"major":1,"minor":0},"local":[{"display":[%s]}]}\n' "$resources" >"$scratch/displays.json"

export DISPLAY=":${displays[0]}"
export QT_QPA_PLATFORM=xcb
export VPR_DISPLAY_SPEC="$scratch/displays.json"
status=0
"$@" || status=$?
exit "$status"
