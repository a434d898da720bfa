#!/usr/bin/env bash
# Installs what is needed, builds Korvo and runs the demo from the repository root, where
# it reads sys_Config.conf and MediaData/ and writes sys_Log.log (tools/run-demo.sh runs it:
# with a display until you quit; without one on Xvfb for a few seconds, with a screenshot).
#
#   KORVO_BUILD_DIR    build folder (default: build)
#   KORVO_RUN_SECONDS  without a display: seconds the demo runs before the screenshot (default 6)
#   KORVO_SCREENSHOT   without a display: the screenshot's file (default: korvo-screenshot.png)
set -euo pipefail
cd "$(dirname "$0")"

build=${KORVO_BUILD_DIR:-build}

tools/install-deps.sh
cmake -S . -B "$build" -G Ninja
cmake --build "$build" -j "$(nproc)" --target korvo korvo_content_files
exec tools/run-demo.sh "$build/korvo"
