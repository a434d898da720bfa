#!/usr/bin/env bash
# Runs a test program on the display that the Xvfb fixture started.
state=$1
shift
if [ -f "$state/display" ]; then
    export DISPLAY=$(cat "$state/display")
fi
exec "$@"
