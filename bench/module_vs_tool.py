#!/usr/bin/python3
"""The Python module's survey against the tool's, on the largest real drawing.

In turns, each in a child process of its own: `twinfind survey DRAWING` with turns and mirror
images on (its settings file and home in a temporary folder), and a Python that imports the
module and runs twinfind.open(DRAWING) and Drawing.survey(rotate=True, mirror=True). The tool's
time is the child's wall time, from start to exit; the module's is the open and the survey timed
inside the child (without starting Python and importing the package), and the survey alone. Both
must give the same families. Prints each round and the ratio of the medians.

    flock /tmp/twinfind-build.lock /usr/bin/python3 bench/module_vs_tool.py [--build build/default]
        [--rounds 3] [--drawing samples/real/crkbd-F.Cu.dxf]
"""
import argparse
import json
import os
import pathlib
import re
import statistics
import subprocess
import sys
import tempfile
import time

HERE = pathlib.Path(__file__).resolve().parent

SETTINGS = ("Windows Registry Editor Version 5.00\n\n"
            "[HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind]\n"
            '"mIsRotate"="1"\n"mIsSymmetry"="1"\n')

CHILD = """
import json, sys, time
import twinfind
start = time.perf_counter()
drawing = twinfind.open(sys.argv[1])
opened = time.perf_counter()
families = drawing.survey(rotate=True, mirror=True)
done = time.perf_counter()
print(json.dumps({"open": opened - start, "survey": done - opened,
                  "counts": [f.count for f in families]}))
"""


def tool(binary, drawing, folder):
    env = dict(os.environ, HOME=str(folder))
    env.pop("TWINFIND_SETTINGS", None)
    start = time.perf_counter()
    done = subprocess.run([str(binary), "survey", str(drawing), "--settings",
                           str(folder / "s.reg")], capture_output=True, text=True, env=env,
                          cwd=folder)
    wall = time.perf_counter() - start
    if done.returncode != 0:
        sys.exit(f"module_vs_tool: the tool failed: {done.stderr}")
    counts = [int(m) for m in re.findall(r"^family \d+: (\d+) parts", done.stdout, re.M)]
    return wall, counts


def module(package, drawing, folder):
    env = dict(os.environ, HOME=str(folder), PYTHONPATH=str(package), PYTHONDONTWRITEBYTECODE="1")
    done = subprocess.run(["/usr/bin/python3", "-c", CHILD, str(drawing)], capture_output=True,
                          text=True, env=env, cwd=folder)
    if done.returncode != 0:
        sys.exit(f"module_vs_tool: the module failed: {done.stderr}")
    return json.loads(done.stdout.splitlines()[-1])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=str(HERE.parent / "build" / "default"))
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--drawing", default=str(HERE.parent / "samples/real/crkbd-F.Cu.dxf"))
    args = parser.parse_args()
    build = pathlib.Path(args.build).resolve()
    drawing = pathlib.Path(args.drawing).resolve()
    tool_times, module_times, survey_times = [], [], []
    with tempfile.TemporaryDirectory() as name:
        folder = pathlib.Path(name)
        (folder / "s.reg").write_text(SETTINGS)
        for r in range(args.rounds):
            wall, counts = tool(build / "bin" / "twinfind", drawing, folder)
            ours = module(build / "python", drawing, folder)
            if ours["counts"] != counts:
                sys.exit(f"module_vs_tool: the families differ: {ours['counts']} and {counts}")
            tool_times.append(wall)
            module_times.append(ours["open"] + ours["survey"])
            survey_times.append(ours["survey"])
            print(f"round {r + 1}: twinfind survey {wall:.3f} s; module open and survey "
                  f"{module_times[-1]:.3f} s (survey {ours['survey']:.3f} s): "
                  f"{module_times[-1] / wall:.3f} of the tool's time; {len(counts)} families")
    a, b = statistics.median(module_times), statistics.median(tool_times)
    print(f"median: twinfind survey {b:.3f} s, module open and survey {a:.3f} s "
          f"(survey alone {statistics.median(survey_times):.3f} s): the module takes "
          f"{a / b:.3f} of the tool's time")


if __name__ == "__main__":
    main()
