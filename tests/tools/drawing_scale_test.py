#!/usr/bin/python3
"""mDrawingScale, the sizes of balloons, texts and gaps against the drawing, read back with ezdxf.

    /usr/bin/python3 tests/tools/drawing_scale_test.py TOOL SAMPLES_DIR

- Absent and 1: the balloon run on the demo plate writes the same bytes (drawing and report).
- On the plan (43 units wide), absent: the count texts are 10 high, a quarter of the plan, and
  the tool says once how to fit them; auto: every text and balloon is between a 300th and a
  50th of the plan's larger side, and nothing is said.
- A factor of 2 on the plate doubles the balloons' diameters and the count texts' heights.
- The general method on the plan: rows of copies 5 apart, more than a twentieth of it, are
  said once; auto and the plate say nothing.
"""
import os
import subprocess
import sys
import tempfile

import ezdxf
from ezdxf import bbox

TOOL, SAMPLES = sys.argv[1], sys.argv[2]
PLATE = os.path.join(SAMPLES, "demo-plate.dxf")
PLAN = os.path.join(SAMPLES, "real", "Ceco.NET-Architecture-Tm-53.dxf")
PLATE_SCRIPT = "range -5 -5 425 265\nkey SS400\nkey A-009\nkey 12\nrange 28 178 68 218\nend\npoint 0 -280\n"
PLAN_SCRIPT = "range -1 -1 45 35\nkey SS400\nkey A-009\nkey 12\nrange 17.2 12.6 18.1 13.5\nend\npoint 0 -3\n"
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED:", what)


def run(drawing, script, scale, folder, settings=()):
    reg = os.path.join(folder, "s.reg")
    env = {k: v for k, v in os.environ.items() if k not in ("TWINFIND_SETTINGS", "XDG_CONFIG_HOME")}
    env["HOME"] = folder  # nothing of the user's is read or written
    for name, value in (("mMethod", "1"), ("mIsBalloonAutoArrange", "1")) + tuple(settings):
        subprocess.run([TOOL, "settings", "set", name, value, "--settings", reg], check=True,
                       capture_output=True, env=env)
    if scale is not None:
        subprocess.run([TOOL, "settings", "set", "mDrawingScale", scale, "--settings", reg],
                       check=True, capture_output=True, env=env)
    out = os.path.join(folder, "out.dxf")
    report = os.path.join(folder, "report.json")
    result = subprocess.run([TOOL, "run", drawing, "--settings", reg, "--out", out, "--report",
                             report], input=script, text=True, capture_output=True, cwd=folder, env=env)
    check(result.returncode == 0, f"run {drawing} {scale}: {result.stderr}")
    return result.stdout, out, report


def sizes(path, before):
    """The heights of the texts and the diameters of the balloons that the run added."""
    texts, balloons = [], []
    for e in ezdxf.readfile(path).modelspace():
        if e.dxf.handle in before:
            continue
        if e.dxftype() in ("TEXT", "MTEXT"):
            texts.append(e.dxf.char_height if e.dxftype() == "MTEXT" else e.dxf.height)
        if e.has_xdata("TWINFIND"):
            tags = [(t.code, t.value) for t in e.get_xdata("TWINFIND")]
            if (1000, "balloon") in tags:
                balloons.append([v for c, v in tags if c == 1040][4])
    return texts, balloons


def handles(path):
    return {e.dxf.handle for e in ezdxf.readfile(path).modelspace()}


def larger_side(path):
    extent = bbox.extents(ezdxf.readfile(path).modelspace())
    return max(extent.size.x, extent.size.y)


def main():
    read = lambda p: open(p, "rb").read()
    # Absent and 1: byte for byte the same.
    outputs = []
    for scale in (None, "1"):
        with tempfile.TemporaryDirectory() as folder:
            printed, out, report = run(PLATE, PLATE_SCRIPT, scale, folder)
            outputs.append((read(out), read(report)))
            check("scale:" not in printed, "the plate's sizes fit it: nothing is said")
    check(outputs[0] == outputs[1], "absent and 1 write the same drawing and report")

    # A factor of 2 doubles the sizes.
    measured = {}
    for scale in (None, "2"):
        with tempfile.TemporaryDirectory() as folder:
            _, out, _ = run(PLATE, PLATE_SCRIPT, scale, folder)
            measured[scale] = sizes(out, handles(PLATE))
    for one, two in zip(sorted(measured[None][0]) + sorted(measured[None][1]),
                        sorted(measured["2"][0]) + sorted(measured["2"][1])):
        check(abs(two - 2 * one) < 1e-9, f"factor 2: {one} became {two}")
    check(measured[None][1], "the plate run made balloons")

    # The plan in metres: absent, texts a quarter of it and one line of advice; auto, legible.
    side = larger_side(PLAN)
    plan_handles = handles(PLAN)
    for scale in (None, "auto"):
        with tempfile.TemporaryDirectory() as folder:
            printed, out, _ = run(PLAN, PLAN_SCRIPT, scale, folder,
                                  (("mIsRotate", "1"), ("mIsSymmetry", "1")))
            texts, balloons = sizes(out, plan_handles)
            check(texts and balloons, f"{scale}: texts {texts} balloons {balloons}")
            advice = printed.count("scale: the balloon method writes texts 10 high")
            if scale is None:
                check(max(texts) > side / 20, f"absent: texts {texts} on a plan {side} across")
                check(advice == 1, f"absent: the advice once, not {advice} times")
            else:
                for size in texts + balloons:
                    # A power of ten near a hundredth: within a factor of 10**0.5 of it, and
                    # for the texts under the twentieth that makes the advice.
                    check(side / 400 < size < side / 25, f"auto: size {size} on a plan {side} across")
                check(advice == 0, "auto: no advice")
    # The general method on the plan: rows of copies 5 apart on a plan 43 across, said once;
    # with auto the gaps fit the plan and nothing is said; on the plate nothing either.
    general = "range -1 -1 45 35\nrange 17.2 12.6 18.1 13.5\nend\npoint 0 -3\n"
    for drawing, script, scale, said in ((PLAN, general, None, 1), (PLAN, general, "auto", 0),
                                         (PLATE, "range -5 -5 425 265\nrange 28 178 68 218\n"
                                                 "end\npoint 0 -280\n", None, 0)):
        with tempfile.TemporaryDirectory() as folder:
            printed, _, _ = run(drawing, script, scale, folder,
                                (("mMethod", "0"), ("mIsRotate", "1"), ("mIsSymmetry", "1")))
            advice = printed.count("scale: rows of copies are laid out 5 apart")
            check(advice == said and "done: " in printed,
                  f"general on {os.path.basename(drawing)}, {scale}: advice {advice} times")
    total = 13
    print(f"{total - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
