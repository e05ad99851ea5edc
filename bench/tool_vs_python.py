#!/usr/bin/python3
"""The whole tool run against the Python reference search on the same drawing.

Writes the near-twin field (20 twins among 1,980 near twins, 10,000 segments, turned and
mirrored) as a DXF file, then runs, in turns, `twinfind run FILE --script ...` with rotation and
mirror images on and bench/reference_search.py on the same file and the same windows. Checks
that both report the number of twins the drawing holds, and prints their processor times (user
and system, of the child process) and how many times the tool is faster.

    flock /tmp/twinfind-build.lock /usr/bin/python3 bench/tool_vs_python.py [--build build/default]
        [--rounds 3] [--segments 10000] [--twins 20]
"""
import argparse
import os
import pathlib
import re
import resource
import statistics
import subprocess
import sys
import tempfile

HERE = pathlib.Path(__file__).resolve().parent
SETTINGS = ("Windows Registry Editor Version 5.00\n\n"
            "[HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind]\n"
            '"mIsArrange"="0"\n"mIsRotate"="1"\n"mIsSymmetry"="1"\n')


def timed(command, env):
    """Runs the command; its standard output and the processor time it took."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    done = subprocess.run(command, env=env, capture_output=True, text=True)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    if done.returncode != 0:
        sys.exit(f"tool_vs_python: {command[0]} failed ({done.returncode}): {done.stderr}")
    seconds = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return done.stdout, seconds


def tool_count(out):
    m = re.search(r"info: 총 ([0-9]+)개의 동일한 부품을 발견하였습니다", out)
    if m:
        return int(m.group(1))
    return 0 if "동일한 부품이 없습니다" in out else None


def reference_count(out):
    m = re.search(r"^twins ([0-9]+)$", out, re.M)
    return int(m.group(1)) if m else None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=str(HERE.parent / "build" / "default"))
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--segments", type=int, default=10000)
    parser.add_argument("--twins", type=int, default=20)
    args = parser.parse_args()
    bin_dir = pathlib.Path(args.build) / "bin"
    with tempfile.TemporaryDirectory(prefix="twinfind-vs-python-") as folder:
        folder = pathlib.Path(folder)
        # Everything the children might write stays in the scratch folder.
        env = dict(os.environ, HOME=str(folder), XDG_CONFIG_HOME=str(folder / "config"))
        env.pop("TWINFIND_SETTINGS", None)
        drawing = folder / "near-twins.dxf"
        written = subprocess.run([str(bin_dir / "write_near_twin_dxf"), str(drawing),
                                  str(args.segments), str(args.twins)],
                                 capture_output=True, text=True, check=True).stdout
        facts = {line.split()[0]: line.split()[1:] for line in written.splitlines()}
        expected = int(facts["twins"][0])
        script = folder / "run.script"
        script.write_text(f"range {' '.join(facts['range'])}\nrange {' '.join(facts['part'])}\n"
                          "end\nend\n")
        settings = folder / "settings.reg"
        tool = [str(bin_dir / "twinfind"), "run", str(drawing), "--script", str(script),
                "--settings", str(settings)]
        reference = ["/usr/bin/python3", str(HERE / "reference_search.py"), str(drawing),
                     "--range", *facts["range"], "--part", *facts["part"], "--rotate", "--mirror"]
        print(f"{drawing.name}: {facts['segments'][0]} segments, {expected} twins "
              f"({facts['mirrored'][0]} mirrored)")
        tool_times, python_times = [], []
        for r in range(args.rounds):
            settings.write_text(SETTINGS)
            out, t = timed(tool, env)
            if tool_count(out) != expected:
                sys.exit(f"tool_vs_python: the tool found {tool_count(out)}, not {expected}")
            tool_times.append(t)
            out, p = timed(reference, env)
            if reference_count(out) != expected:
                sys.exit(f"tool_vs_python: the reference found {reference_count(out)}, "
                         f"not {expected}")
            python_times.append(p)
            print(f"round {r + 1}: tool {t:.3f} s, Python {p:.3f} s, ratio {p / t:.1f}")
        tool_median, python_median = statistics.median(tool_times), statistics.median(python_times)
        print(f"both found {expected} twins")
        print(f"median: tool {tool_median:.3f} s, Python {python_median:.3f} s: "
              f"the tool is {python_median / tool_median:.1f} times faster")


if __name__ == "__main__":
    main()
