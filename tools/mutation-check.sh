#!/usr/bin/env bash
# Checks that the tests catch real faults: puts hand-written faults into the source one at a
# time, rebuilds the tests meant to catch each, runs them and expects them to fail. The source
# is restored after every fault, on failure and on Ctrl-C as well.
#
#   tools/mutation-check.sh BUILD_DIR [FAULT_NUMBER]
#
# BUILD_DIR is a configured build folder (-DBUILD_TESTING=ON). With FAULT_NUMBER only that
# fault runs. The named tests are first built and run on the unchanged source, so a failure
# afterwards is the fault's doing. Prints a table of fault -> caught / NOT caught and exits
# non-zero when a fault survives, a test fails on the unchanged source, a build fails, or
# the text a fault changes is no longer in its file (the fault list has to follow the code).
# Shaders are read from the source tree at run time, so shader faults need no rebuild.
# A few minutes on two cores once the tests are built; not part of test.sh or CI.
set -uo pipefail

usage()
{
    sed -n '2,/^$/s/^# \{0,1\}//p' "$0"
}

case "${1:-}" in
--help | -h) usage; exit 0 ;;
"" | -*) usage >&2; exit 2 ;;
esac
[ $# -le 2 ] || { usage >&2; exit 2; }

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" 2>/dev/null && pwd) || { echo "No build folder: $1" >&2; exit 2; }
only=${2:-}
[ -f "$build/build.ninja" ] || { echo "$build is not a Ninja build folder." >&2; exit 2; }
jobs=${KORVO_JOBS:-2}

# --- The faults ---------------------------------------------------------------------------
# fault FILE TESTS WHAT OLD NEW: in FILE (relative to the repository root), the one
# occurrence of OLD becomes NEW; TESTS are the test programs (CTest names, also the build
# targets) that must fail. A test that runs a program of another name is written
# TEST@TARGET.
files=() tests=() whats=() olds=() news=()
fault()
{
    files+=("$1"); tests+=("$2"); whats+=("$3"); olds+=("$4"); news+=("$5")
}

fault math/Mat4.cpp "math_tests" \
    "matrix product multiplies in swapped order" \
    's += (*this)(row, k) * o(k, c);' \
    's += o(row, k) * (*this)(k, c);'
fault app/Exception.cpp "app_tests" \
    "exception raised by an object loses its class name" \
    'Compose(who.GetTypeName() + "\n\n", format, args);' \
    'Compose(std::string(), format, args);'
fault app/Log.cpp "app_log_tests render_logic_test" \
    "warning entries lose their WARNING: prefix" \
    'case Warning: wrapper = "WARNING: %s"; break;' \
    'case Warning: wrapper = "%s"; break;'
fault app/Timer.cpp "app_tests" \
    "frame-time average keeps one sample too many" \
    'if (samples.size() > sampleCount)' \
    'if (samples.size() > sampleCount + 1)'
fault config/Lexer.cpp "config_tests" \
    "lexer no longer splits on blanks (separator bound 33 -> 32)" \
    'return c != '"'"'\0'"'"' && static_cast<signed char>(c) < 33;' \
    'return c != '"'"'\0'"'"' && static_cast<signed char>(c) < 32;'
fault config/CVar.cpp "config_tests" \
    "integer above its range is clamped to the minimum" \
    $'if (value > maxValue)\n        return maxValue;' \
    $'if (value > maxValue)\n        return minValue;'
fault io/BinaryFile.cpp "io_tests" \
    "seek from the current position seeks from the start" \
    'static const int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};' \
    'static const int whence[] = {SEEK_SET, SEEK_SET, SEEK_END};'
fault game/PathMover.cpp "game_test" \
    "path mover's speed taken in path parameter, not world units" \
    'const float step = speed * dt / length;' \
    'const float step = speed * dt;'
fault world/OmniLightSource.cpp "world_models_test" \
    "light range test measures to the box's centre, not its nearest point" \
    'const float nearest = std::clamp(centre[i], boxMin[i], boxMax[i]);' \
    'const float nearest = 0.5f * (boxMin[i] + boxMax[i]);'
fault world/Viewer.cpp "world_viewer_test" \
    "near plane no longer kept in front of the far plane" \
    'if (near_ >= far_)' \
    'if (false)'
fault gl/VertexFormat.cpp "gl_buffer_texture_test" \
    "vertex size counts one component per attribute" \
    'size += attributes[index].Count * GetTypeSize(attributes[index].Type);' \
    'size += GetTypeSize(attributes[index].Type);'
fault gl/IndexBuffer.cpp "gl_buffer_texture_test" \
    "index buffer accepts one index more than it holds" \
    'if (count > numIndices)' \
    'if (count > numIndices + 1)'
fault shadow/AdjacencySearch.cpp "shadow_adjacency_test" \
    "edge search takes the wrong corner as the edge's end (off by one)" \
    'const uint16_t b = triangles[t][(k + 1) % 3];' \
    'const uint16_t b = triangles[t][(k + 2) % 3];'
fault media/SkinMD5.cpp "media_geometry_test" \
    "skinning moves every weight of a vertex with its first weight's joint" \
    'const ISkeleton::JointPose& j = joints[w->Joint];' \
    'const ISkeleton::JointPose& j = joints[Weights[Ranges[v].first].Joint];'
fault media/ModelLoader3DS.cpp "media_loader3ds_test" \
    "3DS loader no longer checks the texture coordinates' count against the vertices'" \
    'if (!record.TexCoords.empty() && record.TexCoords.size() != record.Vertices.size())' \
    'if (false)'
fault media/ModelLoaderMD5.cpp "media_loadermd5_test" \
    "MD5 loader no longer checks a weight's joint against the joint count" \
    'if (joint < 0 || joint >= numJoints)' \
    'if (joint < 0)'
fault platform/Window.cpp "platform_window_test" \
    "digit keys arrive one code too low" \
    'return static_cast<UINT>(0x30 + (key - XK_0));' \
    'return static_cast<UINT>(0x2F + (key - XK_0));'
fault render/FramePath.cpp "render_logic_test" \
    "framebuffer-object path chosen without packed depth-stencil" \
    'return requested && offer.FramebufferObject && offer.PackedDepthStencil;' \
    'return requested && offer.FramebufferObject;'
fault render/IRenderer.cpp "render_logic_test" \
    "too-many-lights warning written every frame" \
    'TooManyLightsReported = true;' \
    'TooManyLightsReported = false;'
fault render/Renderer.cpp "render_renderers_test" \
    "light pass blend factors keep the frame and drop the light" \
    'EqualDepthBlock().Blending(GL_ONE, GL_ONE);' \
    'EqualDepthBlock().Blending(GL_ZERO, GL_ONE);'
fault render/Renderer.cpp "render_renderers_test" \
    "light pass lights where the stencil count is not zero" \
    'added.StencilFunc(GL_EQUAL, 0)' \
    'added.StencilFunc(GL_NOTEQUAL, 0)'
fault shadow/ShadowVolumeDrawPlan.cpp "shadow_drawplan_test render_renderers_test" \
    "depth-pass stencil op of front faces flipped (decrements like back faces)" \
    'const GLenum frontOp = c.FirstCull == GL_BACK ? c.FirstOp : c.SecondOp;' \
    'const GLenum frontOp = c.FirstCull == GL_BACK ? c.SecondOp : c.SecondOp;'
fault MediaData/Shaders/LightingModels/Lambert.fsh "render_lighting_shaders_test" \
    "diffuse fade clamped to -1..1, so light comes back beyond the radius" \
    'float fade = clamp(1.0 - distance / max(u_LightSource.Radius, 1e-6), 0.0, 1.0);' \
    'float fade = clamp(1.0 - distance / max(u_LightSource.Radius, 1e-6), -1.0, 1.0);'
fault MediaData/Shaders/LightingModels/Ambient.fsh "render_lighting_shaders_test" \
    "a light's ambient term is not faded with distance" \
    'light += u_LightSource[i].AmbientColor * (fade * fade * facing);' \
    'light += u_LightSource[i].AmbientColor * facing;'
fault MediaData/Shaders/Shadows/ShadowVolume/ShadowVolume.vsh "render_renderers_test" \
    "shadow volume extruded towards the light instead of away from it" \
    'position = vec4(in_Vertex - u_LightSource.Position, 0.0);' \
    'position = vec4(u_LightSource.Position - in_Vertex, 0.0);'
fault world/ShadowLimits.cpp "render_renderers_test render_logic_test" \
    "depth-fail volumes end short of the lit surfaces" \
    'const float end = Farthest(direction);' \
    'const float end = Farthest(direction) * 0.6f;'
fault shadow/ShadowVolume.cpp "render_shadow_accuracy_test" \
    "the fan closing a cut volume left on the mesh's silhouette instead of its end plane" \
    'const Math::Vec3f a = FarPoint(e[i].A), b = FarPoint(e[i].B);' \
    'const Math::Vec3f a = e[i].A, b = e[i].B;'
fault shadow/ShadowVolume.cpp "render_renderers_test" \
    "cap triangles of a cut volume left on the mesh instead of its end plane" \
    'put(FarPoint(p));' \
    'put(p);'
fault render/ShadowReach.cpp "render_logic_test" \
    "the cut of what lies nearer than every surface reaches past the nearest one" \
    'const float cut = 0.98f * Nearest;' \
    'const float cut = 1.3f * Nearest;'
fault render/ShadowReach.cpp "render_logic_test" \
    "triangles partly in view left out of the nearest surface" \
    'if ((a & b & c) != 0)' \
    'if ((a | b | c) != 0)'
fault shadow/ShadowVolume.cpp "render_shadow_accuracy_test" \
    "the fan closing a cut volume wound the light-facing way for the other caps too" \
    $'put(lit ? a : b);\n        put(lit ? b : a);' \
    $'put(a);\n        put(b);'
fault MediaData/Shaders/Shadows/ShadowVolume/ShadowVolume.vsh "render_renderers_test" \
    "volume sides cut near the eye without their eye-space position" \
    'gl_ClipVertex = gl_ModelViewMatrix * position;' \
    '// no clip vertex'
fault world/ShadowLimits.cpp "render_logic_test" \
    "a volume ends across the first axis that will do, not where the rays end soonest" \
    'if (runOn >= 0.0f && (least < 0.0f || runOn < least)) {' \
    'if (runOn >= 0.0f && least < 0.0f) {'
fault MediaData/Shaders/Shadows/Wedge/Spherical/Construct.vsh "render_shadow_accuracy_test" \
    "a counted wedge cut across an axis one of its far corners heads back from" \
    'u_AxisReach[i], 0.1,' \
    'u_AxisReach[i], -1.0,'
fault render/ShadowReach.cpp "render_logic_test" \
    "a caster counted in front of the surfaces though a side of its volume crosses the near plane" \
    $'if (!clear)\n                return false;' \
    $'if (!clear)\n                continue;'
fault render/ShadowReach.cpp "render_logic_test" \
    "a volume counted in front of the surfaces may end between the eye and them" \
    'if (Math::Dot(corner - limits.Light, axis) >= distance)' \
    'if (Math::Dot(corner - limits.Light, axis) >= 2.0f * distance)'
fault render/RendererEx.cpp "render_shadow_accuracy_test" \
    "wedges drawn only for the casters counted behind the surfaces" \
    'for (const Sys::Ptr<IModel>& caster : Reach.WedgeCasters(light)) {' \
    'for (const Sys::Ptr<IModel>& caster : Reach.ZFailCasters(light)) {'
fault render/ShadowReach.cpp "render_logic_test" \
    "the ray to the near plane's middle sees only casters on the light's half of it" \
    'if (hit > 0.0f && hit < 1.0f)' \
    'if (hit > 0.0f && hit < 0.5f)'
fault render/WedgeScissor.cpp "render_logic_test" \
    "a wedge batch's scissor ends halfway to the farthest lit surface" \
    'const float rest = std::max(bestReach - Math::Dot(ends[k / 4], bestAxis), 0.0f);' \
    'const float rest = 0.5f * std::max(bestReach - Math::Dot(ends[k / 4], bestAxis), 0.0f);'
fault render/WedgeScissor.cpp "render_logic_test" \
    "a wedge batch's scissor leaves out where its pyramids cross the near plane" \
    'if ((clip[j][3] >= NearPlane) == front)' \
    'if (true)'
fault world/ShadowLimits.cpp "world_models_test" \
    "a volume may end on a plane past a corner close to the light, far out along its rays" \
    'if (along < 0.1f * distance || along >= distance)' \
    'if (along < 0.0f || along >= distance)'
fault world/OmniLightSource.cpp "world_models_test" \
    "a box exactly at the light's radius is out of its range" \
    'return distanceSquared <= radius * radius;' \
    'return distanceSquared < radius * radius;'
fault game/Curve_SplineCatmullRom.h "game_test" \
    "a closed spline's knots before the first take the times of the first period" \
    'static int FloorDiv(int i, int n) { return (i - Wrap(i, n)) / n; }' \
    'static int FloorDiv(int i, int n) { return i / n; }'
fault game/CommandLine.cpp "game_command_line_test" \
    "--set takes a value with no name" \
    'if (equals == std::string::npos || equals == 0) {' \
    'if (equals == std::string::npos) {'
fault io/DataFolder.cpp "io_tests" \
    "a folder is taken for the data file of its name" \
    'return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);' \
    'return stat(path.c_str(), &info) == 0;'
fault game/Curve_SplineCatmullRom.h "game_test" \
    "a closed spline read periods away runs on past its closing segment" \
    't -= std::floor((t - first) / period) * period;' \
    't -= 0.0f * period;'
fault world/ShadowDrawing.cpp \
    "render_scene_shadows_zori_0_behind@korvo_shadowref render_scene_shadows_dazu_0_behind@korvo_shadowref" \
    "volumes counted in two draws end across any axis, closed there by a fan of slivers" \
    'EndVolume(*mesh, light, limits, open || steps.Count == 1);' \
    'EndVolume(*mesh, light, limits, true);'
fault gl/Display.cpp "platform_context_test" \
    "the display leaves its gamma ramp on the screen when it goes" \
    'if (gammaSaved)' \
    'if (false)'
fault platform/DisplayModes.cpp "platform_context_test" \
    "the screen's blue gamma channel is read from its green one" \
    'blue[i] = gamma->blue[source];' \
    'blue[i] = gamma->green[source];'
fault gl/Display.cpp "platform_context_test" \
    "each gamma setting saves the ramp again, so the one given back is the program's own" \
    'if (!gammaSaved) {' \
    'if (true) {'
fault gl/Display.cpp "platform_context_test" \
    "RestoreMode forgets the mode without giving the desktop's back" \
    'if (Platform::RestoreDisplayMode(window) == Platform::DD_OK)
        modeChanged = false;' \
    'modeChanged = false;'
fault shadow/ShadowVolume.cpp "media_gl_test" \
    "wedge batches that reach no lit surface in view are still drawn, scissored to nothing" \
    'if (scissored && (rect[2] <= 0 || rect[3] <= 0))
            return;' \
    ''
fault platform/DisplayModes.cpp "platform_context_test" \
    "a size the screen has at two refresh rates is listed twice without rates" \
    'if (duplicate)
            continue;' \
    'if (duplicate && false)
            continue;'
fault platform/Context.cpp "platform_gl_test" \
    "the pixel format ranking prefers more samples than asked for" \
    'Attrib(format, GLX_SAMPLES) - request.samples,' \
    'request.samples - Attrib(format, GLX_SAMPLES),'
fault platform/Context.cpp "platform_gl_test" \
    "a request's stencil size is not held as a minimum" \
    'if (Attrib(format, attribute) < minimum)' \
    'if (Attrib(format, attribute) < minimum && attribute != GLX_STENCIL_SIZE)'
fault platform/Context.cpp "platform_gl_test" \
    "a window's pixel format may be set again" \
    'if (window.pixelFormat != 0) {' \
    'if (false) {'
fault render/PassProfiler.cpp "render_renderers_test" \
    "a pass profiled with rasterizing off leaves it off for the passes after it" \
    'glDisable(GL_RASTERIZER_DISCARD);' \
    ';'
fault render/PassProfiler.cpp "render_renderers_test" \
    "the profiler turns rasterizing off for the passes it was not asked to" \
    'Discarded.end(), name) != Discarded.end();' \
    'Discarded.end(), name) == Discarded.end();'
fault render/PrimitiveBufferPattern.cpp "render_logic_test" \
    "the last triangle of the large wedge's closing fan is wound the wrong way" \
    '0, 7, 8, 0, 8, 9};' \
    '0, 7, 8, 0, 9, 8};'
fault render/PrimitiveBufferPattern.cpp "render_logic_test" \
    "the small wedge's last triangle leaves an edge open" \
    '0, 3, 4, 0, 4, 5};' \
    '0, 3, 4, 0, 4, 1};'
fault shadow/ShadowVolume.cpp "render_renderers_test" \
    "the far caps move every vertex onto the first part's end, whatever its own part" \
    '*out++ = Far(positions[i], parts[i]);' \
    '*out++ = Far(positions[i], 0);'
fault shadow/ShadowVolume.cpp "render_renderers_test" \
    "a part that reaches infinity streams its far vertices as points, not directions" \
    'return {away.x, away.y, away.z, 0.0f};' \
    'return {away.x, away.y, away.z, 1.0f};'
fault shadow/IMeshAdjacency.cpp "shadow_adjacency_test" \
    "solids that share a vertex are numbered as separate parts" \
    '                join(t, user);' \
    '                ;'

count=${#files[@]}
if [ -n "$only" ]; then
    if ! [[ "$only" =~ ^[0-9]+$ ]] || [ "$only" -lt 1 ] || [ "$only" -gt "$count" ]; then
        echo "Fault number must be 1 to $count." >&2
        exit 2
    fi
    selected=("$only")
else
    selected=($(seq 1 "$count"))
fi

# --- Restoring the source -----------------------------------------------------------------
saved=$(mktemp -d)
current=""
restore()
{
    if [ -n "$current" ]; then
        # A plain copy gives the file a new time, so the next build recompiles what the
        # fault compiled.
        cp "$saved/original" "$root/$current"
        current=""
    fi
}
finish()
{
    restore
    rm -rf "$saved"
}
trap finish EXIT
trap 'echo "Interrupted: source restored; build before running the tests." >&2; exit 130' \
    INT TERM HUP

# Replaces the one occurrence of OLD by NEW in FILE (with a fourth argument "check", only
# looks); fails when OLD is missing or repeated.
apply()
{
    python3 - "$@" <<'EOF'
import sys
path, old, new = sys.argv[1:4]
text = open(path, encoding="utf-8").read()
found = text.count(old)
if found != 1:
    sys.exit("%s: the text to change occurs %d times, not once:\n%s" % (path, found, old))
if sys.argv[4:] != ["check"]:
    open(path, "w", encoding="utf-8").write(text.replace(old, new))
EOF
}

# Every fault's text first, so that a stale fault stops the check before the long part.
for n in "${selected[@]}"; do
    apply "$root/${files[n-1]}" "${olds[n-1]}" "${news[n-1]}" check ||
        { echo "Fault $n no longer fits the source; update it." >&2; exit 1; }
done

# Builds TESTS and runs them; returns ctest's status (2 when the build failed).
build_and_run()
{
    local names=($1) log=$2 targets=() runs=() name
    for name in "${names[@]}"; do
        runs+=("${name%@*}")
        targets+=("${name#*@}")
    done
    if ! ninja -C "$build" -j "$jobs" "${targets[@]}" >"$log" 2>&1; then
        return 2
    fi
    local regex
    regex="^($(IFS='|'; echo "${runs[*]}"))\$"
    ctest --test-dir "$build" --output-on-failure --no-tests=error -R "$regex" >>"$log" 2>&1
}

logs="$build/mutation-check"
mkdir -p "$logs"
start=$(date +%s)
status=0

# --- Every named test passes on the unchanged source ---------------------------------------
baseline=$(for n in "${selected[@]}"; do echo "${tests[n-1]}"; done | tr ' ' '\n' | sort -u |
           tr '\n' ' ')
echo "Unchanged source: building and running $baseline"
if ! build_and_run "$baseline" "$logs/baseline.log"; then
    echo "The tests fail (or do not build) on the unchanged source; see $logs/baseline.log" >&2
    exit 1
fi

# --- The faults, one at a time -------------------------------------------------------------
results=()
for n in "${selected[@]}"; do
    i=$((n - 1))
    file=${files[i]}
    cp "$root/$file" "$saved/original"
    current=$file
    if ! apply "$root/$file" "${olds[i]}" "${news[i]}"; then
        current=""   # nothing was written
        line=$(printf '%2d  %-13s %-42s %s' "$n" "TEXT MISSING" "$file" "${whats[i]}")
        echo "$line"
        results+=("$line")
        status=1
        continue
    fi
    t0=$(date +%s)
    build_and_run "${tests[i]}" "$logs/fault-$n.log"
    rc=$?
    restore
    case $rc in
    0) verdict="NOT caught"; status=1 ;;
    2) verdict="BUILD FAILED"; status=1 ;;
    *) verdict="caught" ;;
    esac
    line=$(printf '%2d  %-13s %-42s %s [%s] %ds' "$n" "$verdict" "$file" "${whats[i]}" \
           "${tests[i]}" $(($(date +%s) - t0)))
    echo "$line"
    results+=("$line")
done

# Whatever the faults' builds linked (the named tests, and any other program sharing their
# libraries the next build would see as current) is built again, so that a plain ctest
# afterwards runs what the source says.
echo "Rebuilding on the restored source."
ninja -C "$build" -j "$jobs" >"$logs/rebuild.log" 2>&1 ||
    { echo "Rebuilding failed; see $logs/rebuild.log" >&2; status=1; }

echo
echo "Fault results (logs in $logs):"
printf '%s\n' "${results[@]}"
echo "Took $(($(date +%s) - start)) s."
exit $status
