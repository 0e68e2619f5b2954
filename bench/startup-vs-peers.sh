#!/usr/bin/env bash
# Start-up of the desktop program beside its peers, as a user meets it: on an X server with a
# window manager, the time from starting the process until its main window is visible, and the
# process's peak resident memory 1.5 s after that. Each program starts with an empty home folder
# (no settings, a first start), the programs take turns, and the medians of RUNS runs (default 7)
# are printed with ours / peer ratios. Targets: at most half of qdmr's time, at most 42 MiB.
# The processor time the process (all its threads) had used when its window was seen is printed
# too: on a shared, busy machine the times swing with the load, that figure much less.
#
#   bench/startup-vs-peers.sh [RUNS]
#
# Needs build/release/app/vpr40t (./run or cmake --preset release && cmake --build --preset
# release) and the peers (tools/install-deps.sh --bench installs qdmr; CHIRP is measured when
# installed). Starts its own X server and openbox through tools/with-display.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}
if [ "${VPR_STARTUP_INSIDE:-}" != 1 ]; then
  VPR_STARTUP_INSIDE=1 exec tools/with-display.sh "$0" "$runs"
fi

ours=build/release/app/vpr40t
[ -x "$ours" ] || { echo "build the release first: $ours is missing" >&2; exit 1; }
# name, window title pattern of its main window, command
programs=("vpr40t|^VPR-40T|$ours")
command -v qdmr >/dev/null && programs+=("qdmr|^qdmr|qdmr")
command -v chirp >/dev/null && programs+=("chirp|^CHIRP|chirp")
[ ${#programs[@]} -gt 1 ] || { echo "no peer installed (tools/install-deps.sh --bench)" >&2; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Starts one program and prints "milliseconds peak-KiB processor-milliseconds" once its main
# window showed. The window manager's list of windows is watched as its changes come (polling
# with a program per look would add tens of milliseconds to every figure under load, which
# draws every ratio towards 1); a window that joins the list is taken when it is the program's
# and carries the title.
measure() {
  local title=$1
  shift
  local home
  home=$(mktemp -d "$scratch/home.XXXX")
  local start pid shown="" cpu line id seen=" "
  exec 4< <(exec stdbuf -oL xprop -spy -root _NET_CLIENT_LIST)
  local spy=$!
  read -r -u 4 line # the list before the start
  seen+="$(echo "$line" | grep -o '0x[0-9a-f]*' | tr '\n' ' ' || true)"
  start=$(date +%s%N)
  env HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
    XDG_CACHE_HOME="$home/.cache" "$@" >"$home/out.log" 2>&1 &
  pid=$!
  local pending="" # the program's windows seen without the title yet
  while [ -z "$shown" ] && kill -0 "$pid" 2>/dev/null; do
    local fresh=""
    if read -r -t 0.05 -u 4 line; then fresh=$(echo "$line" | grep -o '0x[0-9a-f]*' || true); fi
    local now
    now=$(date +%s%N)
    for id in $fresh; do
      [[ $seen == *" $id "* ]] && continue
      seen+="$id "
      [ "$(xdotool getwindowpid "$id" 2>/dev/null)" = "$pid" ] && pending+=" $id"
    done
    for id in $pending; do
      if xdotool getwindowname "$id" 2>/dev/null | grep -q "$title"; then
        shown=$now
        cpu=$(cat /proc/"$pid"/task/*/schedstat 2>/dev/null | awk '{ ns += $1 } END { print int(ns / 1000000) }')
        break
      fi
    done
  done
  kill "$spy" 2>/dev/null || true
  exec 4<&-
  if [ -z "$shown" ]; then
    echo "$* showed no window titled $title:" >&2
    cat "$home/out.log" >&2
    kill "$pid" 2>/dev/null || true
    exit 1
  fi
  sleep 1.5
  local peak
  peak=$(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status")
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "$(((shown - start) / 1000000)) $peak $cpu"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { print a / b }'; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores" >&2
for ((run = 1; run <= runs; run++)); do
  for entry in "${programs[@]}"; do
    IFS='|' read -r name title command <<<"$entry"
    measure "$title" $command >>"$scratch/$name"
  done
done
echo "load after:  $(cut -d' ' -f1-3 /proc/loadavg)" >&2

printf '%-8s %12s %14s %14s\n' program "start-up ms" "peak MiB" "processor ms"
declare -A time memory processor
for entry in "${programs[@]}"; do
  IFS='|' read -r name _ <<<"$entry"
  time[$name]=$(cut -d' ' -f1 "$scratch/$name" | median)
  memory[$name]=$(cut -d' ' -f2 "$scratch/$name" | median)
  processor[$name]=$(cut -d' ' -f3 "$scratch/$name" | median)
  printf '%-8s %12s %14.1f %14s\n' "$name" "${time[$name]}" "$(ratio "${memory[$name]}" 1024)" "${processor[$name]}"
done
for entry in "${programs[@]:1}"; do
  IFS='|' read -r name _ <<<"$entry"
  printf 'start-up time ratio (vpr40t / %s, medians of %d): %.2f (target <= 0.5 for qdmr)\n' \
    "$name" "$runs" "$(ratio "${time[vpr40t]}" "${time[$name]}")"
  printf 'processor time ratio (vpr40t / %s, medians of %d): %.2f\n' \
    "$name" "$runs" "$(ratio "${processor[vpr40t]}" "${processor[$name]}")"
  printf 'peak memory ratio   (vpr40t / %s, medians of %d): %.2f\n' \
    "$name" "$runs" "$(ratio "${memory[vpr40t]}" "${memory[$name]}")"
done
printf 'vpr40t peak memory: %.1f MiB (target <= 42)\n' "$(ratio "${memory[vpr40t]}" 1024)"
