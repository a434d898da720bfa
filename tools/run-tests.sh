#!/usr/bin/env bash
# Runs the tests of a build folder with CTest and fails if any test fails.
#   tools/run-tests.sh BUILD_DIR JOBS [ctest arguments...]
#
# Tests that draw on an X server (label "gl") share a loaded machine with a virtual X server;
# when only such tests failed, they run once more, one at a time. A test that passes then is
# reported by name as flaky (its first output stays above), and the run still passes; a test
# that fails twice, or any failed test without the label, fails the run.
set -uo pipefail
build=$1
jobs=$2
shift 2

ctest --test-dir "$build" --output-on-failure -j "$jobs" "$@" && exit 0

failed_log=$build/Testing/Temporary/LastTestsFailed.log
[ -s "$failed_log" ] || exit 1
mapfile -t failed < <(cut -d: -f2- "$failed_log")
mapfile -t drawing < <(ctest --test-dir "$build" -N -L gl | sed -n 's/^ *Test *#[0-9]*: //p')
for name in "${failed[@]}"; do
    if ! printf '%s\n' "${drawing[@]}" | grep -qxF -- "$name"; then
        echo "Not run again: $name does not draw on the X server."
        exit 1
    fi
done

echo
echo "Running the failed X-server tests once more, one at a time: ${failed[*]}"
if ctest --test-dir "$build" --output-on-failure -j 1 --rerun-failed; then
    echo "FLAKY: ${failed[*]} failed once and passed when run again (see the first output above)."
    exit 0
fi
exit 1
