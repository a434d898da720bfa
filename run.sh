#!/usr/bin/env bash
# Installs what running and building need (not the test tools), builds Korvo and runs the
# demo from the repository root, where it reads and writes sys_Config.conf and sys_Log.log;
# the shaders come from the repository's MediaData/, the generated models from the build
# folder's (tools/run-demo.sh runs it: with a display until you quit; without one on Xvfb
# for a few seconds, with a screenshot).
#
#   KORVO_BUILD_DIR    build folder (default: build)
#   KORVO_JOBS         parallel build jobs (default: number of CPUs)
#   KORVO_RUN_SECONDS  without a display: seconds the demo runs before the screenshot (default 6)
#   KORVO_SCREENSHOT   without a display: the screenshot's file (default: korvo-screenshot.png)
set -euo pipefail
cd "$(dirname "$0")"

build=${KORVO_BUILD_DIR:-build}
jobs=${KORVO_JOBS:-$(nproc)}

tools/install-deps.sh run build
cmake -S . -B "$build" -G Ninja
cmake --build "$build" -j "$jobs" --target korvo korvo_content_files
exec tools/run-demo.sh "$build/korvo"
