#!/usr/bin/env bash
# Runs the tests of a build folder with CTest and fails if any test fails.
#   tools/run-tests.sh BUILD_DIR JOBS [ctest arguments...]
set -uo pipefail
build=$1
jobs=$2
shift 2

exec ctest --test-dir "$build" --output-on-failure -j "$jobs" "$@"
