#!/usr/bin/env bash
# run_demo_test.sh PROGRAM SOURCE_DIR
# Runs tools/run-demo.sh without a display in fresh folders that see the repository's
# MediaData, and checks what it leaves behind.
set -u
program=$1
source_dir=$2
run=$source_dir/tools/run-demo.sh
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fresh() {
    rm -rf "$work/run"
    mkdir -p "$work/run"
    ln -s "$source_dir/MediaData" "$work/run/MediaData"
    cd "$work/run"
}
run_headless() {
    env -u DISPLAY KORVO_RUN_SECONDS=3 KORVO_SCREENSHOT=shot.png "$run" "$program" \
        > out.txt 2>&1
}
config_value() {
    sed -n "s/^[a-z]*[[:space:]]\+$1[[:space:]]*=[[:space:]]*\(.*\)$/\1/p" sys_Config.conf
}
# Dimensions and number of distinct colours of a picture.
picture() { identify -format '%wx%h %k' "$1" 2> /dev/null; }

# First start: no configuration. The script has the defaults written, switches to
# framebuffer objects where the server has no float P-buffer, and the demo runs, shows a
# picture and ends normally on Escape.
fresh
if ! run_headless; then
    fail "first run failed"; cat out.txt
fi
[ -f sys_Config.conf ] || fail "no sys_Config.conf written"
if ! glxinfo -v 2> /dev/null | grep -q 'float=Y'; then
    [ "$(config_value r_GL_FramebufferObject)" = 1 ] ||
        fail "r_GL_FramebufferObject not set on a server without float P-buffers"
fi
# Every other variable keeps its default.
[ "$(config_value r_Shadow_PenumbraWedges)" = 1 ] || fail "r_Shadow_PenumbraWedges changed"
[ "$(config_value demo_ID)" = 0 ] || fail "demo_ID changed"
read -r size colours <<< "$(picture shot.png)"
[ "${size:-}" = 640x480 ] || fail "screenshot is <${size:-missing}>, not 640x480"
[ "${colours:-0}" -gt 100 ] || fail "screenshot has ${colours:-no} colours: no scene drawn"
tail -n 1 sys_Log.log | grep -q -- '--- Log closed ---' || fail "log not closed"
grep -q 'Found no memory leaks.' sys_Log.log || fail "log reports leaks"

# An existing configuration is the user's: the second scene with its settings runs as they
# are, and nothing is added to them.
fresh
printf 'int demo_ID = 1\nbool r_GL_FramebufferObject = 1\nbool r_Shadow_PenumbraWedges = 0\n' \
    > sys_Config.conf
run_headless || { fail "run with the second scene failed"; cat out.txt; }
[ "$(config_value demo_ID)" = 1 ] || fail "demo_ID of the user's file changed"
[ "$(config_value r_Shadow_PenumbraWedges)" = 0 ] || fail "user's renderer choice changed"
read -r size colours <<< "$(picture shot.png)"
[ "${colours:-0}" -gt 100 ] || fail "second scene's screenshot has ${colours:-no} colours"

# A configuration that cannot start here is not hidden: the P-buffer path on a server
# without float P-buffers makes the run fail, with the program's reason shown.
if ! glxinfo -v 2> /dev/null | grep -q 'float=Y'; then
    fresh
    printf 'bool r_GL_FramebufferObject = 0\n' > sys_Config.conf
    if run_headless; then
        fail "a demo that cannot start was reported as run"
    fi
    grep -q 'Appropriate pixel format not found.' out.txt ||
        { fail "the program's reason is not shown"; cat out.txt; }
    [ ! -f shot.png ] || fail "a screenshot was saved although the demo did not run"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all checks passed"
