#!/usr/bin/python3
"""The Python module's survey against the tool's, on the largest real drawing.

In turns, each in a child process of its own: `twinfind survey DRAWING` with turns and mirror
images on (its settings file and home in a temporary folder), and a Python that imports the
module and runs twinfind.open(DRAWING) and Drawing.survey(rotate=True, mirror=True). The tool's
time is the child's wall time, from start to exit; the module's is the open and the survey timed
inside the child (without starting Python and importing the package), and the survey alone. Both
must give the same families. Both are timed in wall time and in processor time (user and
system: the tool's from the system's account of the child, the module's inside the child), which
other work on the machine disturbs less. Prints each round and the ratios of the medians.

    flock /tmp/twinfind-build.lock /usr/bin/python3 bench/module_vs_tool.py [--build build/default]
        [--rounds 3] [--drawing samples/real/crkbd-F.Cu.dxf]
"""
import argparse
import json
import os
import pathlib
import re
import resource
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
start, cpu_start = time.perf_counter(), time.process_time()
drawing = twinfind.open(sys.argv[1])
opened, cpu_opened = time.perf_counter(), time.process_time()
families = drawing.survey(rotate=True, mirror=True)
done, cpu_done = time.perf_counter(), time.process_time()
print(json.dumps({"wall": done - start, "cpu": cpu_done - cpu_start, "survey": done - opened,
                  "survey_cpu": cpu_done - cpu_opened, "counts": [f.count for f in families]}))
"""


def tool(binary, drawing, folder):
    env = dict(os.environ, HOME=str(folder))
    env.pop("TWINFIND_SETTINGS", None)
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    done = subprocess.run([str(binary), "survey", str(drawing), "--settings",
                           str(folder / "s.reg")], capture_output=True, text=True, env=env,
                          cwd=folder)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    if done.returncode != 0:
        sys.exit(f"module_vs_tool: the tool failed: {done.stderr}")
    counts = [int(m) for m in re.findall(r"^family \d+: (\d+) parts", done.stdout, re.M)]
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return {"wall": wall, "cpu": cpu, "counts": counts}


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
    tool_runs, module_runs = [], []
    with tempfile.TemporaryDirectory() as name:
        folder = pathlib.Path(name)
        (folder / "s.reg").write_text(SETTINGS)
        for r in range(args.rounds):
            theirs = tool(build / "bin" / "twinfind", drawing, folder)
            ours = module(build / "python", drawing, folder)
            if ours["counts"] != theirs["counts"]:
                sys.exit(f"module_vs_tool: the families differ: {ours['counts']} and "
                         f"{theirs['counts']}")
            tool_runs.append(theirs)
            module_runs.append(ours)
            print(f"round {r + 1}: twinfind survey {theirs['wall']:.3f} s "
                  f"(processor {theirs['cpu']:.3f} s); module open and survey {ours['wall']:.3f} s "
                  f"(processor {ours['cpu']:.3f} s; the survey {ours['survey']:.3f} s): "
                  f"{ours['wall'] / theirs['wall']:.3f} of the tool's wall time, "
                  f"{ours['cpu'] / theirs['cpu']:.3f} of its processor time; "
                  f"{len(theirs['counts'])} families")

    def median(runs, key):
        return statistics.median(run[key] for run in runs)

    for key, survey, what in (("wall", "survey", "wall time"),
                              ("cpu", "survey_cpu", "processor time")):
        a, b = median(module_runs, key), median(tool_runs, key)
        print(f"median {what}: twinfind survey {b:.3f} s, module open and survey {a:.3f} s "
              f"(the survey alone {median(module_runs, survey):.3f} s): the module takes "
              f"{a / b:.3f} of the tool's")

if __name__ == "__main__":
    main()
