# Shared by the scripts that test the Windows build under Wine; source it after setting
# $scratch (a scratch folder), $linux_build (the Linux build of ./test) and $label (the prefix of
# every result line). Gives the Wine programs, the pass/fail/skip counters, polling, and the
# virtual radio behind Wine's COM5.

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
[ -x "$wine" ] || wine=$(command -v wine64)
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)
# No Mono or Gecko installers, no debug chatter.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export ASAN_OPTIONS=detect_leaks=0
sim=$linux_build/sim/vpr40t-sim
linux_cli=$linux_build/cli/vpr40t-cli

passed=0
failed=0
skipped=0
pass() {
  passed=$((passed + 1))
  echo "[$label] ok      $1"
}
fail() {
  failed=$((failed + 1))
  echo "[$label] FAILED  $1" >&2
  if declare -F on_failure >/dev/null; then on_failure; fi
}
skip() {
  skipped=$((skipped + 1))
  echo "[$label] skipped $1"
}
check() { # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}

# Polls a condition for up to $2 seconds.
wait_for() {
  local condition=$1 seconds=${2:-30}
  for _ in $(seq $((seconds * 10))); do
    if eval "$condition"; then return 0; fi
    sleep 0.1
  done
  return 1
}

# Starts the virtual radio with the given options and maps Wine's COM5 onto its pseudo-terminal
# ($pty); the Wine server reads the mapping when it starts, so it is restarted around the change.
sim_pid=
start_radio() {
  "$sim" "$@" >"$scratch/sim.out" 2>"$scratch/sim.err" &
  sim_pid=$!
  wait_for '[ -s "$scratch/sim.out" ] || ! kill -0 $sim_pid 2>/dev/null' 10 || true
  pty=$(head -n1 "$scratch/sim.out")
  [ -c "$pty" ] || { cat "$scratch/sim.err" >&2; return 1; }
  "$wineserver" -k 2>/dev/null || true
  "$wineserver" -w
  "$wine" reg add 'HKLM\Software\Wine\Ports' /v COM5 /t REG_SZ /d "$pty" /f >/dev/null 2>&1
  "$wineserver" -k 2>/dev/null || true
  "$wineserver" -w
}
stop_radio() {
  [ -n "$sim_pid" ] || return 0
  kill "$sim_pid" && wait "$sim_pid" || true
  sim_pid=
}
