#!/usr/bin/env bash
# Fails when the targets of the build link in a circle: static libraries must link one way,
# from the program down to the platform layer (docs/DEVELOPING.md, "Layout and libraries").
#
#   tools/check-layers.sh WORK_DIR [cmake options...]
#
# Configures the source tree into WORK_DIR with `cmake --graphviz` and the given options,
# turns every link edge of the graph into a pair for tsort, and fails with the targets of
# the loop when tsort finds one. It also fails when the graph holds no edge between the
# project's libraries, so that a change in CMake's output cannot make it pass by reading
# nothing. CMAKE names the cmake to run (default: the one on the PATH).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$1
shift

mkdir -p "$work"
# One graph of the whole project; no graphs per target.
cat > "$work/CMakeGraphVizOptions.cmake" <<'EOF'
set(GRAPHVIZ_GENERATE_PER_TARGET FALSE)
set(GRAPHVIZ_GENERATE_DEPENDERS FALSE)
EOF
if ! "${CMAKE:-cmake}" -S "$root" -B "$work" -G Ninja --graphviz="$work/targets.dot" "$@" \
        > "$work/configure.log" 2>&1; then
    cat "$work/configure.log"
    echo "check-layers: configuring into $work failed"
    exit 1
fi

# Edge lines end with a comment naming both targets: "node3" -> "node7"  // a -> b
sed -n 's|^.*"node[0-9]*" -> "node[0-9]*".*// \([^ ]*\) -> \([^ ]*\)$|\1 \2|p' \
    "$work/targets.dot" > "$work/edges.txt"

if ! grep -q '^korvo_[a-z_]* korvo_[a-z_]*$' "$work/edges.txt"; then
    echo "check-layers: no link between the project's libraries found in $work/targets.dot"
    exit 1
fi

if ! tsort "$work/edges.txt" > /dev/null 2> "$work/loop.txt"; then
    echo "Targets that link in a circle (each links the next, the last the first):"
    sed -n 's/^tsort: \([^ ]*\)$/    \1/p' "$work/loop.txt"
    exit 1
fi
echo "check-layers: $(wc -l < "$work/edges.txt") links, no circle"
