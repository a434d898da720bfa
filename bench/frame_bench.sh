#!/usr/bin/env bash
# Frame benchmark of both demo scenes on the machine's OpenGL (llvmpipe under Xvfb when
# there is no display), through the off-screen capture tool with a fixed time step.
#
# For every scene (zori, dazu), renderer (hard: r_Shadow_PenumbraWedges 0, soft: 1) and
# off-screen path (fbo, pbuffer) it runs the frames and reports the mean frame time, frames
# per second and the frame's CPU time by phase: animation and skinning, light collection,
# silhouettes and shadow-volume updates, and the rest (GL submission up to glFinish). A
# path the X server cannot give (P-buffers without float configurations) is reported as
# such. The first frames (shader compilation, first uploads) are left out of the means.
#
# The replay: the same frames' GL calls are recorded with apitrace and replayed with
# `glretrace --benchmark`. Replaying also pays the start-up calls, so two recordings are
# made, of all frames and of the warm-up frames alone, and the replay time per frame is the
# difference of their replay times divided by the difference of their frame counts. The
# ratio is our frame time over that time: how much our CPU side adds to the same GL work
# (not how much of that work the picture needs).
#
#   bench/frame_bench.sh [frames] [warm-up frames]     (default 60 and 10; a few hundred give steadier means)
#   KORVO_BUILD_DIR   build folder (default: build)
#   KORVO_BENCH_OUT   folder for timings and traces (default: $KORVO_BUILD_DIR/bench)
#   KORVO_BENCH_SET   scene:renderer:path triples to run (default: all eight)
# Writes a Markdown table to standard output.
set -euo pipefail
cd "$(dirname "$0")/.."

frames=${1:-60}
warmup=${2:-10}
build=${KORVO_BUILD_DIR:-build}
out=${KORVO_BENCH_OUT:-$build/bench}
step=20
if [ "$frames" -le "$warmup" ]; then
    echo "frames ($frames) must be more than the warm-up frames ($warmup)" >&2
    exit 2
fi

tools/install-deps.sh > /dev/null
if ! command -v glretrace > /dev/null; then
    as_root=()
    [ "$(id -u)" -eq 0 ] || as_root=(sudo)
    DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y --no-install-recommends \
        apitrace < /dev/null > /dev/null
fi
if [ ! -x "$build/korvo_capture" ]; then
    cmake -S . -B "$build" -G Ninja > /dev/null
    cmake --build "$build" --target korvo_capture korvo_content_files
fi
capture=$(realpath "$build/korvo_capture")
mkdir -p "$out"
out=$(realpath "$out")

if [ -z "${DISPLAY:-}" ] || ! xdpyinfo > /dev/null 2>&1; then
    state=$out/xvfb
    tests/xvfb.sh start "$state" > /dev/null
    trap 'tests/xvfb.sh stop "$state"' EXIT
    DISPLAY=$(cat "$state/display")
    export DISPLAY
fi
renderer_name=$(glxinfo -B 2> /dev/null | sed -n 's/^OpenGL renderer string: //p')

# mean of the named column over the frames after the warm-up
column_mean() {
    awk -v name="$2" -v skip="$warmup" '
        $1 == "frame" { n = $2 + 0; if (n < skip) next
                        for (i = 3; i < NF; ++i) if ($i == name) { sum += $(i + 1); ++count } }
        END { if (count) printf "%.2f", sum / count; else print "-" }' "$1"
}

# seconds of a glretrace --benchmark run of a trace
replay_seconds() {
    glretrace --benchmark "$1" 2>&1 | sed -n 's/^Rendered [0-9]* frames in \([0-9.]*\) secs.*/\1/p'
}

set_default="zori:hard:fbo zori:hard:pbuffer zori:soft:fbo zori:soft:pbuffer
dazu:hard:fbo dazu:hard:pbuffer dazu:soft:fbo dazu:soft:pbuffer"
echo "Frames: $frames at a fixed step of $step ms, 640 x 480, first $warmup left out;"
echo "renderer: ${renderer_name:-unknown}; $(nproc) CPUs; $(date -u '+%Y-%m-%d %H:%M UTC')."
echo
echo "| scene | renderer | path | ms/frame | fps | animation+skinning ms | lights ms | silhouettes+volumes ms | GL submission ms | replay ms/frame | ours / replay |"
echo "|---|---|---|---|---|---|---|---|---|---|---|"
for item in ${KORVO_BENCH_SET:-$set_default}; do
    IFS=: read -r scene renderer path <<< "$item"
    fbo=$([ "$path" = fbo ] && echo 1 || echo 0)
    name=$scene-$renderer-$path
    args=(--scene "$scene" --renderer "$renderer" --fbo "$fbo" --width 640 --height 480
          --step "$step")
    # The capture tool reads the shaders from the repository root, the models from the build.
    if ! KORVO_MESSAGEBOX=stderr "$capture" "${args[@]}" --frames "$frames" \
            --out "$out/$name.png" --timings "$out/$name.txt" > "$out/$name.log" 2>&1; then
        reason=$(tail -n 1 "$out/$name.log")
        echo "| $scene | $renderer | $path | did not run: ${reason//|/\\|} | | | | | | | |"
        continue
    fi
    total=$(column_mean "$out/$name.txt" total)
    fps=$(awk -v t="$total" 'BEGIN { printf "%.1f", 1000 / t }')
    floor="-"
    ratio="-"
    if apitrace trace -o "$out/$name.trace" "$capture" "${args[@]}" --frames "$frames" \
            --out "$out/$name-traced.png" --timings /dev/null > "$out/$name-trace.log" 2>&1 &&
       apitrace trace -o "$out/$name-warmup.trace" "$capture" "${args[@]}" --frames "$warmup" \
            --out "$out/$name-warmup.png" --timings /dev/null >> "$out/$name-trace.log" 2>&1; then
        all=$(replay_seconds "$out/$name.trace")
        head=$(replay_seconds "$out/$name-warmup.trace")
        if [ -n "$all" ] && [ -n "$head" ]; then
            floor=$(awk -v a="$all" -v h="$head" -v n="$((frames - warmup))" \
                'BEGIN { printf "%.2f", 1000 * (a - h) / n }')
            ratio=$(awk -v t="$total" -v f="$floor" 'BEGIN { if (f > 0) printf "%.2f", t / f; else print "-" }')
        fi
        rm -f "$out/$name.trace" "$out/$name-warmup.trace"
    fi
    echo "| $scene | $renderer | $path | $total | $fps | $(column_mean "$out/$name.txt" animation) | $(column_mean "$out/$name.txt" lights) | $(column_mean "$out/$name.txt" shadows) | $(column_mean "$out/$name.txt" submission) | $floor | $ratio |"
done
