#!/usr/bin/env bash
# Installs what is needed, builds Korvo and runs every test (unit, GL and program tests).
#   KORVO_BUILD_DIR   build folder (default: build)
#   KORVO_JOBS        parallel build jobs (default: number of CPUs)
# Any further arguments go to ctest (for example: ./test.sh -L unit).
set -euo pipefail
cd "$(dirname "$0")"

build=${KORVO_BUILD_DIR:-build}
jobs=${KORVO_JOBS:-$(nproc)}

tools/install-deps.sh
cmake -S . -B "$build" -G Ninja -DBUILD_TESTING=ON -DKORVO_BENCH=ON
cmake --build "$build" -j "$jobs"
tools/run-tests.sh "$build" "$jobs" "$@"
