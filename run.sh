#!/usr/bin/env bash
# Installs what is needed, builds Korvo and runs the demo from the repository root, where
# it reads sys_Config.conf and MediaData/ and writes sys_Log.log. Without a display it
# starts a virtual one (Xvfb) for the run.
#   KORVO_BUILD_DIR   build folder (default: build)
set -euo pipefail
cd "$(dirname "$0")"

build=${KORVO_BUILD_DIR:-build}

tools/install-deps.sh
cmake -S . -B "$build" -G Ninja
cmake --build "$build" -j "$(nproc)"

program=$(find "$build" -maxdepth 3 -type f -name korvo -perm -u+x | head -n 1)
if [ -z "$program" ]; then
    echo "The demo program (target 'korvo') is not part of this tree yet: the libraries and"
    echo "tests that exist were built, but there is nothing to run. Run ./test.sh to test them."
    exit 0
fi

if [ -z "${DISPLAY:-}" ]; then
    echo "No display: running the demo on a virtual X server (Xvfb); nothing will be visible."
    state=$build/run-xvfb
    tests/xvfb.sh start "$state"
    trap 'tests/xvfb.sh stop "$state"' EXIT
    DISPLAY=$(cat "$state/display")
    export DISPLAY
fi

"$program"
