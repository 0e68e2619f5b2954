#!/usr/bin/env bash
# The long random-input run of the desktop program: random key presses and mouse clicks into
# every view and dialog, in the sanitizer build, on a private X server with a window manager.
#
#   tools/random-gui.sh [EVENTS [SEED]]      defaults: 20000 events, seed 20261208
#
# ./test runs the same test with a short count.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
export CCACHE_BASEDIR="$PWD"
cmake --preset test >/dev/null
cmake --build --preset test --target tests_app
export VPR_RANDOM_EVENTS="${1:-20000}" VPR_RANDOM_SEED="${2:-20261208}"
export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1
tools/with-display.sh build/test/tests/tests_app --gtest_filter='RandomInputTest.*'
