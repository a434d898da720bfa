#!/usr/bin/env bash
# Runs the demo program in the current folder, where it reads and writes sys_Config.conf and
# writes sys_Log.log; data files come from the folder's MediaData/ where it holds them,
# otherwise from beside the program or from its installed data folder.
#
# With a display the demo opens its window and runs until you quit it (Escape).
# Without one it starts a virtual X server (Xvfb), lets the demo run a few seconds, saves a
# screenshot of its window, ends it with Escape and fails unless it ended normally.
#
# When sys_Config.conf is missing, the program writes one with the built-in defaults; when
# the X server offers no floating-point P-buffer (Xvfb does not), the off-screen buffers are
# then switched to framebuffer objects in that file (r_GL_FramebufferObject = 1). An existing
# sys_Config.conf is never changed here.
#
#   tools/run-demo.sh PROGRAM
#   KORVO_RUN_SECONDS  without a display: seconds the demo runs before the screenshot (default 6)
#   KORVO_SCREENSHOT   without a display: the screenshot's file (default: korvo-screenshot.png)
set -euo pipefail

program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
seconds=${KORVO_RUN_SECONDS:-6}
screenshot=${KORVO_SCREENSHOT:-korvo-screenshot.png}
config=sys_Config.conf
log=sys_Log.log
title="Korvo Demo 2007"

# A display that answers is used as it is; otherwise a virtual one is started.
virtual=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo > /dev/null 2>&1; then
    virtual=1
    state=$(mktemp -d)
    "$here/../tests/xvfb.sh" start "$state"
    trap '"$here/../tests/xvfb.sh" stop "$state"; rm -rf "$state"' EXIT
    DISPLAY=$(cat "$state/display")
    export DISPLAY
fi

# True when the X server has a floating-point frame-buffer configuration that can back a
# P-buffer (the soft-shadow renderer's default off-screen path needs one).
has_float_pbuffer() {
    glxinfo -v 2> /dev/null | awk '
        /FBConfig ID/ { pbuffer = ($0 ~ /pbuffer/) }
        /float=Y/ && pbuffer { found = 1 }
        END { exit found ? 0 : 1 }'
}

if [ ! -f "$config" ]; then
    # The first start without a configuration writes the defaults and stops; its message
    # goes to the terminal instead of a dialog box.
    echo "No $config yet: letting the program write the defaults."
    KORVO_MESSAGEBOX=stderr "$program" || true
    if [ ! -f "$config" ]; then
        echo "The program did not write $config; see $log." >&2
        exit 1
    fi
    if ! has_float_pbuffer; then
        echo "This X server offers no floating-point P-buffer: setting r_GL_FramebufferObject = 1 in $config."
        sed -i 's/^\(bool[[:space:]]\+r_GL_FramebufferObject[[:space:]]*=[[:space:]]*\)0/\11/' "$config"
        grep -q '^bool[[:space:]]\+r_GL_FramebufferObject[[:space:]]*=[[:space:]]*1' "$config" || {
            echo "Could not set r_GL_FramebufferObject in $config." >&2
            exit 1
        }
    fi
fi

if [ "$virtual" -eq 0 ]; then
    exec "$program"
fi

# What the virtual X server says about itself, for a run that went wrong.
server_report() {
    local pid
    pid=$(cat "$state/pid" 2> /dev/null || true)
    if [ -n "$pid" ] && kill -0 "$pid" 2> /dev/null; then
        echo "The virtual X server ($DISPLAY) is running. Its log:" >&2
    else
        echo "The virtual X server ($DISPLAY) has stopped. Its log:" >&2
    fi
    tail -n 20 "$state/xvfb.log" >&2
}

# Without a display: run, look, save a screenshot, quit with Escape, and check the ending.
echo "No display: running the demo on a virtual X server ($DISPLAY) for $seconds seconds."
KORVO_MESSAGEBOX=stderr "$program" &
pid=$!
window=""
for _ in $(seq 1 $((seconds * 10))); do
    if ! kill -0 "$pid" 2> /dev/null; then
        break
    fi
    if [ -z "$window" ]; then
        window=$(xdotool search --name "^$title\$" 2> /dev/null | head -n 1 || true)
    fi
    sleep 0.1
done
if ! kill -0 "$pid" 2> /dev/null; then
    status=0
    wait "$pid" || status=$?
    echo "The demo ended by itself (exit status $status) before the screenshot. The log says:" >&2
    tail -n 20 "$log" >&2
    server_report
    exit 1
fi
if [ -z "$window" ]; then
    echo "The demo runs but its window \"$title\" was not found; stopping it." >&2
    kill "$pid"
    wait "$pid" || true
    exit 1
fi

# Loading takes longer on a slow machine (or under a sanitizer): while the window still
# shows a single colour and the demo runs, wait for its first picture, up to 60 seconds.
for _ in $(seq 1 60); do
    import -window "$window" "$screenshot"
    colours=$(identify -format '%k' "$screenshot" 2> /dev/null || echo 0)
    [ "$colours" -gt 1 ] && break
    kill -0 "$pid" 2> /dev/null || break
    sleep 1
done
if [ "$colours" -gt 1 ]; then
    echo "Saved a screenshot of the demo's window to $screenshot."
else
    echo "Saved a screenshot to $screenshot, but the window showed nothing but one colour."
fi

if ! kill -0 "$pid" 2> /dev/null; then
    status=0
    wait "$pid" || status=$?
    echo "The demo ended by itself (exit status $status) before Escape. The log says:" >&2
    tail -n 20 "$log" >&2
    exit 1
fi
xdotool key --window "$window" Escape
for _ in $(seq 1 100); do
    kill -0 "$pid" 2> /dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2> /dev/null; then
    echo "The demo did not end within 10 seconds of Escape; stopping it." >&2
    kill "$pid"
    wait "$pid" || true
    exit 1
fi
status=0
wait "$pid" || status=$?
if [ "$status" -ne 0 ] || ! tail -n 1 "$log" | grep -q -- "--- Log closed ---"; then
    echo "The demo did not end normally (exit status $status). The log ends:" >&2
    tail -n 20 "$log" >&2
    exit 1
fi
echo "The demo ended normally on Escape; $log is closed."
