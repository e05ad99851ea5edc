#!/usr/bin/python3
"""The peak memory of importing a drawing of many lines, per segment.

Writes a DXF of N LINE entities (2,000,000 by default: about 100 MB) into a temporary folder,
imports it with `twinfind run FILE --script /dev/null` under /usr/bin/time -v (one import per
process) and prints the peak resident memory, in total and per segment, and the time taken.
Give several builds to compare them in one sitting (the same file, runs in turns).

    flock /tmp/twinfind-build.lock /usr/bin/python3 bench/import_memory.py \
        [--build build/default ...] [--lines 2000000] [--rounds 1]
"""
import argparse
import pathlib
import random
import re
import subprocess
import sys
import tempfile

HERE = pathlib.Path(__file__).resolve().parent


def write_lines(path, n):
    random.seed(1)
    with open(path, "w") as out:
        out.write("0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n0\nENDSEC\n"
                  "0\nSECTION\n2\nENTITIES\n")
        chunk = []
        for _ in range(n):
            x, y = random.randint(0, 99999) / 10, random.randint(0, 99999) / 10
            chunk.append(f"0\nLINE\n8\n0\n10\n{x:.1f}\n20\n{y:.1f}\n11\n{x + 1:.1f}\n21\n{y + 2:.1f}\n")
            if len(chunk) == 10000:
                out.write("".join(chunk))
                chunk = []
        out.write("".join(chunk) + "0\nENDSEC\n0\nEOF\n")


def measure(tool, drawing, folder):
    done = subprocess.run(["/usr/bin/time", "-v", str(tool), "run", str(drawing), "--script",
                           "/dev/null", "--settings", str(folder / "s.reg")],
                          capture_output=True, text=True)
    if done.returncode != 0 or " segments" not in done.stdout:
        sys.exit(f"import_memory: {tool} failed: {done.stdout}{done.stderr}")
    peak = int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", done.stderr).group(1))
    user = float(re.search(r"User time \(seconds\): ([\d.]+)", done.stderr).group(1))
    system = float(re.search(r"System time \(seconds\): ([\d.]+)", done.stderr).group(1))
    return peak * 1024, user + system


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", action="append")
    parser.add_argument("--lines", type=int, default=2000000)
    parser.add_argument("--rounds", type=int, default=1)
    args = parser.parse_args()
    builds = args.build or [str(HERE.parent / "build" / "default")]
    with tempfile.TemporaryDirectory() as name:
        folder = pathlib.Path(name)
        drawing = folder / "lines.dxf"
        write_lines(drawing, args.lines)
        size = drawing.stat().st_size
        print(f"{args.lines} lines, {size / 1e6:.1f} MB")
        for r in range(args.rounds):
            for build in builds:
                peak, seconds = measure(pathlib.Path(build) / "bin" / "twinfind", drawing, folder)
                print(f"round {r + 1}: {build}: peak {peak / 2**20:.0f} MB, "
                      f"{peak / args.lines:.0f} bytes per segment "
                      f"({(peak - size) / args.lines:.0f} beside the file's bytes), "
                      f"{seconds:.2f} s processor time")


if __name__ == "__main__":
    main()
