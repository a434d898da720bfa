#!/usr/bin/env bash
# Runs a test program on the display that the Xvfb fixture started.
#
# KORVO_KEEP_LOADED (optional, for the sanitizer runs): libraries to load before the test
# and keep loaded until it ends, such as the GL driver, which Mesa otherwise unloads when the
# display closes. The leak checker at exit then still knows which module an allocation came
# from, and the suppressions for the driver's own leaks apply.
state=$1
shift
if [ -f "$state/display" ]; then
    export DISPLAY=$(cat "$state/display")
fi
if [ -n "${KORVO_KEEP_LOADED:-}" ]; then
    export LD_PRELOAD="$KORVO_KEEP_LOADED${LD_PRELOAD:+:$LD_PRELOAD}"
fi
exec "$@"
