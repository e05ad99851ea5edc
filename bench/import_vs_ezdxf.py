#!/usr/bin/python3
"""Our DXF import of the largest real drawing against ezdxf reading the same file.

In turns: ezdxf.readfile (processor time in this process) and the import benchmark
(BM_ImportLargestRealDrawing of dxf_import_bench, its processor time per import). Prints both and
what fraction of ezdxf's time our import takes.

    flock /tmp/twinfind-build.lock /usr/bin/python3 bench/import_vs_ezdxf.py [--build build/default]
        [--rounds 3] [--drawing samples/real/crkbd-F.Cu.dxf]
"""
import argparse
import json
import pathlib
import statistics
import subprocess
import sys
import time

import ezdxf

HERE = pathlib.Path(__file__).resolve().parent


def ours(bench):
    done = subprocess.run([str(bench), "--benchmark_filter=BM_ImportLargestRealDrawing",
                           "--benchmark_format=json"], capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(f"import_vs_ezdxf: {bench} failed: {done.stderr}")
    run = json.loads(done.stdout)["benchmarks"][0]
    if run.get("error_occurred"):
        sys.exit(f"import_vs_ezdxf: {run.get('error_message')}")
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[run["time_unit"]]
    return run["cpu_time"] * scale


def theirs(drawing):
    start = time.process_time()
    ezdxf.readfile(str(drawing))
    return time.process_time() - start


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=str(HERE.parent / "build" / "default"))
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--drawing", default=str(HERE.parent / "samples/real/crkbd-F.Cu.dxf"))
    args = parser.parse_args()
    bench = pathlib.Path(args.build) / "bin" / "dxf_import_bench"
    if pathlib.Path(args.drawing).name != "crkbd-F.Cu.dxf":
        sys.exit("import_vs_ezdxf: the import benchmark reads crkbd-F.Cu.dxf")
    our_times, ezdxf_times = [], []
    for r in range(args.rounds):
        ezdxf_times.append(theirs(args.drawing))
        our_times.append(ours(bench))
        print(f"round {r + 1}: import {our_times[-1] * 1e3:.0f} ms, "
              f"ezdxf {ezdxf_times[-1] * 1e3:.0f} ms")
    a, b = statistics.median(our_times), statistics.median(ezdxf_times)
    print(f"median: import {a * 1e3:.0f} ms, ezdxf {b * 1e3:.0f} ms: the import takes "
          f"{a / b:.2f} of ezdxf's time")


if __name__ == "__main__":
    main()
