#!/usr/bin/env python3
"""Per-pass profile of both demo scenes and both renderers, with the pixel floor of each
frame, and the frame time side by side with another build (the main a change starts from).

    bench/pass_bench.py [--build build] [--base OTHER_BUILD] [--frames 30] [--warmup 10]
                        [--rounds 2] [--out build/passbench]

Needs an X display with GLX (start Xvfb and set DISPLAY, as bench/frame_bench.sh does) and
the capture tool built in each build folder (korvo_capture, korvo_content_files).

What it measures, at 640 x 480 on the framebuffer-object path, fixed 20 ms steps:
- frame time: the mean of the capture tool's per-frame times after the warm-up, ours and
  the base build's, their runs alternating (--rounds of each) so that both see the same
  machine;
- the pass table: `korvo_capture --passes` (a glFinish on both sides of every pass, the
  driver's pipeline-statistics and samples-passed queries), run in every round beside the
  frame times, each pass's time the median of the rounds';
- the pixel floor: the frame with shadow rasterisation removed plus the fragments each
  shadow pass must touch. The frame with shadow rasterisation removed is the profiled
  frame with each shadow geometry pass (hard "DrawStencilPass", soft
  "DrawAlphaStencilPass" and "DrawCoveragePass") timed as it runs with rasterizing off
  (`korvo_capture --shadow-raster 0`: every draw, vertex and state change of the pass, no
  fragment), profiled in every round too, the median taken; every other pass counts as
  drawn. The fragments each shadow pass must touch are costed at what a fragment of that
  pass costs in the profile (pass time over its fragment-shader invocations):
    * the volume count (hard "DrawStencilPass", soft "DrawAlphaStencilPass"): one fragment
      for every pixel in the light's hard shadow, where a count has to change;
    * the wedge coverage ("DrawCoveragePass"): three fragments (count, cover, clear) for
      every pixel in the light's penumbra;
  shadowed and penumbra pixels are read from the soft renderer's shadow value of each light
  (below 0.5, and strictly between 0.02 and 0.98). For comparison the frame is also drawn
  with shadows off (`--cast 0`: no shadow pass at all, and every pixel lit), and the same
  fragments added to that give a stricter figure, which leaves out what the shadow
  geometry's triangles and draws cost besides their fragments;
- the picture: the share of pixels of ours and the base build's last frame that differ by
  more than 2/255.
Writes Markdown to standard output.
"""

import argparse
import os
import re
import struct
import subprocess
import sys
import zlib

SCENES = {"zori": 2, "dazu": 2}   # lights per scene
SHADOW_PASSES = ("DrawStencilPass", "DrawAlphaStencilPass", "DrawCoveragePass")
STEP = 20
WIDTH, HEIGHT = 640, 480


def read_png(path):
    """RGBA or RGB 8-bit PNG as (width, height, channels, rows of bytes)."""
    data = open(path, "rb").read()
    pos, chunks, width = 8, [], 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            channels = {2: 3, 6: 4, 0: 1}[colour]
            assert depth == 8
        elif kind == b"IDAT":
            chunks.append(body)
        pos += 12 + length
    raw = zlib.decompress(b"".join(chunks))
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            upleft = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - upleft
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - upleft)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else upleft)) & 255
        rows.append(line)
        previous = line
    return width, height, channels, rows


def capture(build, out, name, scene, renderer, frames, extra):
    args = [os.path.join(build, "korvo_capture"), "--scene", scene, "--renderer", renderer,
            "--fbo", "1", "--width", str(WIDTH), "--height", str(HEIGHT), "--step", str(STEP),
            "--frames", str(frames), "--out", os.path.join(out, name + ".png")] + extra
    env = dict(os.environ, KORVO_MESSAGEBOX="stderr")
    result = subprocess.run(args, cwd=build, env=env, capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit(f"{' '.join(args)} failed:\n{result.stdout[-2000:]}{result.stderr[-2000:]}")


def frame_times(path, warmup):
    times = []
    for line in open(path):
        match = re.match(r"frame (\d+): .* total ([0-9.]+)", line)
        if match and int(match.group(1)) >= warmup:
            times.append(float(match.group(2)))
    return times


def read_rows(path):
    """The pass rows of a profile as lists of cells, and its frame ms."""
    rows, total = [], 0.0
    for line in open(path):
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if len(cells) != 7 or cells[0] in ("pass", "---") or cells[0].startswith("-"):
            continue
        if cells[0] == "all passes":
            total = float(cells[2])
        else:
            rows.append(cells)
    return rows, total


def median(values):
    ordered = sorted(values)
    middle = len(ordered) // 2
    return ordered[middle] if len(ordered) % 2 else 0.5 * (ordered[middle - 1] + ordered[middle])


def merged_table(paths):
    """The profiles of several runs of the same frames as one: each pass's times are the
    median of its runs' (the counts are the same in every run). Returns
    ({name: (runs/frame, ms/frame, fragment shaders/frame, samples/frame)}, frame ms, text)."""
    runs = [read_rows(path) for path in paths]
    number = lambda text: float(text) if text not in ("-", "") else 0.0
    passes = {}
    text = ["| pass | runs/frame | ms/frame | timer ms/frame | primitives/frame | "
            "fragment shaders/frame | samples passed/frame |",
            "|---|---|---|---|---|---|---|"]
    for i, cells in enumerate(runs[0][0]):
        ms = median([number(rows[i][2]) for rows, _ in runs])
        timer = median([number(rows[i][3]) for rows, _ in runs])
        passes[cells[0]] = (number(cells[1]), ms, number(cells[5]), number(cells[6]))
        text.append(f"| {cells[0]} | {cells[1]} | {ms:.2f} | {timer:.2f} | {cells[4]} | "
                    f"{cells[5]} | {cells[6]} |")
    frame = median([total for _, total in runs])
    text.append(f"| all passes | | {frame:.2f} | | | | |")
    return passes, frame, "\n".join(text) + "\n"


def shadow_pixels(path):
    """Pixels in the hard shadow (value below 0.5) and in the penumbra."""
    width, height, channels, rows = read_png(path)
    shadowed = penumbra = 0
    for row in rows:
        for x in range(width):
            value = row[x * channels] / 255.0
            shadowed += value < 0.5
            penumbra += 0.02 < value < 0.98
    return shadowed, penumbra


def picture_difference(a, b):
    wa, ha, ca, rows_a = read_png(a)
    wb, hb, cb, rows_b = read_png(b)
    assert (wa, ha) == (wb, hb)
    differ = 0
    for ra, rb in zip(rows_a, rows_b):
        for x in range(wa):
            if max(abs(ra[x * ca + c] - rb[x * cb + c]) for c in range(3)) > 2:
                differ += 1
    return differ / (wa * ha)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default="build")
    parser.add_argument("--base", default=None)
    parser.add_argument("--frames", type=int, default=30)
    parser.add_argument("--warmup", type=int, default=10)
    parser.add_argument("--rounds", type=int, default=2)
    parser.add_argument("--out", default=None)
    parser.add_argument("--set", default="zori:hard zori:soft dazu:hard dazu:soft")
    options = parser.parse_args()
    build = os.path.realpath(options.build)
    base = os.path.realpath(options.base) if options.base else None
    out = os.path.realpath(options.out or os.path.join(build, "passbench"))
    os.makedirs(out, exist_ok=True)

    summary = []
    details = []
    for item in options.set.split():
        scene, renderer = item.split(":")
        name = f"{scene}-{renderer}"
        ours, theirs = [], []
        for round_ in range(options.rounds):
            capture(build, out, f"{name}-ours", scene, renderer, options.frames,
                    ["--timings", os.path.join(out, f"{name}-ours-{round_}.txt")])
            ours += frame_times(os.path.join(out, f"{name}-ours-{round_}.txt"), options.warmup)
            if base:
                capture(base, out, f"{name}-base", scene, renderer, options.frames,
                        ["--timings", os.path.join(out, f"{name}-base-{round_}.txt")])
                theirs += frame_times(os.path.join(out, f"{name}-base-{round_}.txt"),
                                      options.warmup)
            capture(build, out, f"{name}-profile", scene, renderer, options.frames,
                    ["--passes", os.path.join(out, f"{name}-passes-{round_}.md")])
            capture(build, out, f"{name}-noraster", scene, renderer, options.frames,
                    ["--shadow-raster", "0", "--passes",
                     os.path.join(out, f"{name}-noraster-{round_}.md")])
            capture(build, out, f"{name}-noshadow", scene, renderer, options.frames,
                    ["--cast", "0", "--passes",
                     os.path.join(out, f"{name}-noshadow-{round_}.md")])
        rounds = range(options.rounds)
        passes, frame, table = merged_table(
            [os.path.join(out, f"{name}-passes-{r}.md") for r in rounds])
        unrasterized, _, _ = merged_table(
            [os.path.join(out, f"{name}-noraster-{r}.md") for r in rounds])
        _, without, _ = merged_table(
            [os.path.join(out, f"{name}-noshadow-{r}.md") for r in rounds])

        # A renamed pass would leave the floor the frame itself, and a profile whose shadow
        # passes still rasterized would make it the frame again: both stop the run.
        drawn = [p for p in SHADOW_PASSES if p in passes]
        if not drawn or any(p not in unrasterized for p in drawn):
            named = ", ".join(drawn) or "any of " + ", ".join(SHADOW_PASSES)
            sys.exit(f"{name}: the profiles do not both name {named}")
        if any(unrasterized[p][2] > 0 for p in drawn):
            sys.exit(f"{name}: the shadow passes rasterized with --shadow-raster 0")
        floor = frame
        for pass_name in drawn:
            floor += unrasterized[pass_name][1] - passes[pass_name][1]
        fragments_ms = 0.0
        for light in range(SCENES[scene]):
            shadow = os.path.join(out, f"{scene}-shadow{light}.png")
            if not os.path.exists(shadow):
                capture(build, out, f"{scene}-shadowpicture", scene, "soft", options.frames,
                        ["--shadow-light", str(light), "--shadow-out", shadow])
            shadowed, penumbra = shadow_pixels(shadow)
            needs = {"DrawStencilPass": shadowed, "DrawAlphaStencilPass": shadowed,
                     "DrawCoveragePass": 3 * penumbra}
            for pass_name, fragments in needs.items():
                if pass_name in passes:
                    runs, ms, invocations, _ = passes[pass_name]
                    if invocations > 0:
                        fragments_ms += fragments * (ms / runs) / (invocations / runs)
        floor += fragments_ms
        strict = without + fragments_ms

        mean = lambda values: sum(values) / len(values) if values else float("nan")
        difference = (picture_difference(os.path.join(out, f"{name}-ours.png"),
                                         os.path.join(out, f"{name}-base.png"))
                      if base else float("nan"))
        summary.append((scene, renderer, mean(theirs), mean(ours), frame, floor, strict,
                        difference))
        unrasterized_ms = sum(unrasterized[p][1] for p in drawn)
        details.append(f"#### {scene}, {renderer} renderer\n\n{table}\n"
                       f"Shadow passes with rasterizing off: {unrasterized_ms:.2f} ms; "
                       f"fragments they must touch: {fragments_ms:.2f} ms; pixel floor "
                       f"{floor:.2f} ms; profiled frame / floor {frame / floor:.2f}. Frame "
                       f"with shadows off: {without:.2f} ms; with those fragments "
                       f"{strict:.2f} ms, profiled frame / that {frame / strict:.2f}.\n")

    print(f"Frames: {options.frames} at {STEP} ms steps, {WIDTH} x {HEIGHT}, framebuffer "
          f"objects, first {options.warmup} left out, {options.rounds} alternating rounds.\n")
    print("| scene | renderer | base ms/frame | ours ms/frame | ours / base | profiled frame ms "
          "| pixel floor ms | frame / floor | base / floor | shadows off + fragments ms "
          "| frame / that | pixels differing from base |")
    print("|---|---|---|---|---|---|---|---|---|---|---|---|")
    for scene, renderer, theirs, ours, frame, floor, strict, difference in summary:
        print(f"| {scene} | {renderer} | {theirs:.1f} | {ours:.1f} | {ours / theirs:.2f} | "
              f"{frame:.1f} | {floor:.1f} | {frame / floor:.2f} | {theirs / floor:.2f} | "
              f"{strict:.1f} | {frame / strict:.2f} | {100 * difference:.3f} % |")
    print()
    print("\n".join(details))


if __name__ == "__main__":
    main()
