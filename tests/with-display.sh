#!/usr/bin/env bash
# Runs a test program on the display that the Xvfb fixture started.
#
# KORVO_KEEP_LOADED (optional, for the sanitizer runs): libraries to load before the test
# and keep loaded until it ends, such as the GL driver, which Mesa otherwise unloads when the
# display closes. The leak checker at exit then still knows which module an allocation came
# from, and the suppressions for the driver's own leaks apply.
#
# With --own, the test gets an X server of its own, started in <state-dir> and stopped
# when the test ends (tests that change the screen's mode or gamma ramp).
own=0
if [ "$1" = "--own" ]; then
    own=1
    shift
fi
state=$1
shift
if [ "$own" = 1 ]; then
    here=$(dirname "$0")
    "$here/xvfb.sh" start "$state" || exit 1
    trap '"$here/xvfb.sh" stop "$state"' EXIT
fi
if [ -f "$state/display" ]; then
    export DISPLAY=$(cat "$state/display")
fi
if [ -n "${KORVO_KEEP_LOADED:-}" ]; then
    export LD_PRELOAD="$KORVO_KEEP_LOADED${LD_PRELOAD:+:$LD_PRELOAD}"
fi
if [ "$own" = 1 ]; then
    "$@"
    exit $?
fi
exec "$@"
