#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer) and runs each
# for the given time, printing how many inputs it executed.
#   tools/fuzz.sh SECONDS [NAME...]     e.g. tools/fuzz.sh 600 DataFile EntryRules
# New inputs collect in build/fuzz/fuzz/corpus/NAME; the seeds in fuzz/corpus/NAME stay untouched.
# A crash leaves the input that caused it in build/fuzz/fuzz/crash-*.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?usage: tools/fuzz.sh SECONDS [NAME...]}
shift
export CCACHE_BASEDIR="$PWD"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for source in fuzz/*Fuzz.cpp; do
    name=$(basename "$source" Fuzz.cpp)
    names+=("$name")
  done
fi
export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1
cd build/fuzz/fuzz
status=0
for name in "${names[@]}"; do
  mkdir -p "corpus/$name"
  log=$(mktemp)
  if ./"fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    "corpus/$name" "../../../fuzz/corpus/$name" >"$log" 2>&1; then
    result=ok
  else
    result=FAILED
    status=1
    tail -40 "$log" >&2
  fi
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  echo "$name: $result, ${executions:-?} executions in ${seconds} s (${rate:-?}/s)"
  rm -f "$log"
done
exit $status
