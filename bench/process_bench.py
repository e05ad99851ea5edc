#!/usr/bin/python3
"""What a user waits on and what a process holds, measured on whole `twinfind` processes.

- load: `twinfind run DRAWING` with an empty script (read the file, run nothing, exit) against
  ezdxf.readfile of the same file, in turns; processor time (user and system) of each, and the
  fraction of ezdxf's time the tool takes.
- searches: one `twinfind run` process making N searches, one after another, on the near-twin
  field written by write_near_twin_dxf (rotation and mirror images on, no rows of copies); its
  peak resident memory for each N (the child's own, through /usr/bin/time), and each peak
  against the first N's. Every search must find the field's twins.

    flock /tmp/twinfind-build.lock /usr/bin/python3 bench/process_bench.py [--build build/default]
        [--rounds 3] [--drawing samples/real/crkbd-F.Cu.dxf] [--searches 10,100,1000]
        [--segments 2000]
"""
import argparse
import os
import pathlib
import re
import statistics
import subprocess
import sys
import tempfile
import time

import ezdxf

HERE = pathlib.Path(__file__).resolve().parent
SETTINGS = ("Windows Registry Editor Version 5.00\n\n"
            "[HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind]\n"
            '"mIsArrange"="0"\n"mIsRotate"="1"\n"mIsSymmetry"="1"\n')


def run(command, env):
    """Runs the command; its standard output, processor seconds and peak memory in KiB, as
    /usr/bin/time reads them from the command's own rusage. (os.wait4 from this process would
    count this process too: a child forked from a parent holding ezdxf's copy of the drawing
    starts with the parent's resident pages, and its peak keeps them across the exec.)"""
    with tempfile.TemporaryDirectory(prefix="twinfind-run-") as folder:
        measured = pathlib.Path(folder) / "time.txt"
        with tempfile.TemporaryFile("w+") as out, tempfile.TemporaryFile("w+") as err:
            child = subprocess.run(["/usr/bin/time", "-f", "%U %S %M", "-o", str(measured),
                                    *command], env=env, stdin=subprocess.DEVNULL, stdout=out,
                                   stderr=err, text=True)
            out.seek(0)
            err.seek(0)
            if child.returncode != 0:
                sys.exit(f"process_bench: {command[0]} failed ({child.returncode}): {err.read()}")
            user, system, kib = measured.read_text().split()[-3:]
            return out.read(), float(user) + float(system), int(kib)


def load(args, tool, env):
    ours, theirs = [], []
    for r in range(args.rounds):
        start = time.process_time()
        ezdxf.readfile(args.drawing)
        theirs.append(time.process_time() - start)
        _, seconds, _ = run([tool, "run", args.drawing, "--settings", env["SETTINGS_FILE"]], env)
        ours.append(seconds)
        print(f"load round {r + 1}: twinfind {ours[-1] * 1e3:.0f} ms, "
              f"ezdxf {theirs[-1] * 1e3:.0f} ms")
    a, b = statistics.median(ours), statistics.median(theirs)
    print(f"load median: twinfind {a * 1e3:.0f} ms, ezdxf {b * 1e3:.0f} ms: the whole process "
          f"takes {a / b:.3f} of ezdxf's read")


def searches(args, tool, env, folder):
    drawing = folder / "near-twins.dxf"
    written = subprocess.run([str(pathlib.Path(args.build) / "bin" / "write_near_twin_dxf"),
                              str(drawing), str(args.segments), str(max(args.segments // 500, 1))],
                             capture_output=True, text=True, check=True).stdout
    facts = {line.split()[0]: line.split()[1:] for line in written.splitlines()}
    expected = int(facts["twins"][0])
    one = (f"start\nrange {' '.join(facts['range'])}\nrange {' '.join(facts['part'])}\n"
           "end\nend\n")
    first = None
    for n in [int(n) for n in args.searches.split(",")]:
        script = folder / f"searches-{n}.script"
        script.write_text(one * n)
        out, seconds, peak = run([tool, "run", str(drawing), "--script", str(script),
                                  "--settings", env["SETTINGS_FILE"]], env)
        found = [int(m) for m in re.findall(r"총 ([0-9]+)개의 동일한 부품을 발견하였습니다", out)]
        if found != [expected] * n:
            sys.exit(f"process_bench: {n} searches found {found[:5]}..., not {expected} each")
        first = first or peak
        print(f"{n} searches: {seconds:.2f} s, peak {peak / 1024:.1f} MiB, "
              f"{peak / first:.2f} times the first row's")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=str(HERE.parent / "build" / "default"))
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--drawing", default=str(HERE.parent / "samples/real/crkbd-F.Cu.dxf"))
    parser.add_argument("--searches", default="10,100,1000")
    parser.add_argument("--segments", type=int, default=2000)
    args = parser.parse_args()
    tool = str(pathlib.Path(args.build) / "bin" / "twinfind")
    with tempfile.TemporaryDirectory(prefix="twinfind-process-") as folder:
        folder = pathlib.Path(folder)
        settings = folder / "settings.reg"
        settings.write_text(SETTINGS)
        env = dict(os.environ, HOME=str(folder), XDG_CONFIG_HOME=str(folder / "config"),
                   SETTINGS_FILE=str(settings))
        env.pop("TWINFIND_SETTINGS", None)
        load(args, tool, env)
        searches(args, tool, env, folder)


if __name__ == "__main__":
    main()
