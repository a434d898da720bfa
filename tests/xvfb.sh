#!/usr/bin/env bash
# Starts or stops the X server that the GL and program tests draw on.
#   xvfb.sh start <state-dir>   starts Xvfb on a free display (-displayfd) and records it
#   xvfb.sh stop <state-dir>    stops it
# The server runs with -noreset: it keeps its state when the last client disconnects
# instead of rebuilding itself (GLX included) between one test program and the next.
set -u
cmd=$1
state=$2
mkdir -p "$state"
case "$cmd" in
start)
    rm -f "$state/display" "$state/pid"
    exec 3> "$state/displayfd"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset +extension GLX +extension RANDR \
        > "$state/xvfb.log" 2>&1 &
    pid=$!
    exec 3>&-
    for _ in $(seq 1 100); do
        if [ -s "$state/displayfd" ]; then break; fi
        sleep 0.1
    done
    num=$(tr -d '\n ' < "$state/displayfd")
    if [ -z "$num" ]; then
        echo "Xvfb did not start:" >&2
        cat "$state/xvfb.log" >&2
        kill "$pid" 2>/dev/null
        exit 1
    fi
    echo "$pid" > "$state/pid"
    # The number is written once the server listens; wait until it also answers.
    for _ in $(seq 1 100); do
        if DISPLAY=":$num" xdpyinfo > /dev/null 2>&1; then break; fi
        sleep 0.1
    done
    if ! DISPLAY=":$num" xdpyinfo > /dev/null 2>&1; then
        echo "Xvfb on :$num does not answer:" >&2
        cat "$state/xvfb.log" >&2
        kill "$pid" 2>/dev/null
        rm -f "$state/pid"
        exit 1
    fi
    echo ":$num" > "$state/display"
    echo "Xvfb started on :$num (pid $pid)"
    ;;
stop)
    if [ -f "$state/pid" ]; then
        kill "$(cat "$state/pid")" 2>/dev/null
        rm -f "$state/pid" "$state/display"
    fi
    ;;
*)
    echo "usage: xvfb.sh start|stop <state-dir>" >&2
    exit 2
    ;;
esac
