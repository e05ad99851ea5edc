#!/usr/bin/python3
"""Runs every benchmark once and prints the table of figures beside their goals, as
docs/performance.md shows it; with --write, puts the table into docs/performance.md between its
markers. Each figure comes from this one run.

    /usr/bin/python3 bench/performance_table.py [--build build/default] [--write]

Run it on a quiet machine (no build beside it): it takes a few minutes. Debian's /usr/bin/python3
with python3-ezdxf runs the Python comparisons.
"""
import argparse
import datetime
import json
import pathlib
import re
import subprocess
import sys

HERE = pathlib.Path(__file__).resolve().parent
BEGIN, END = "<!-- figures:begin -->", "<!-- figures:end -->"


def benchmark(build, binary, pattern):
    """Google Benchmark's JSON rows of one binary, by name."""
    out = subprocess.run([str(build / "bin" / binary), f"--benchmark_filter={pattern}",
                          "--benchmark_format=json"], capture_output=True, text=True, check=True)
    rows = json.loads(out.stdout)["benchmarks"]
    for row in rows:
        if row.get("error_occurred"):
            sys.exit(f"performance_table: {binary} {row['name']}: {row.get('error_message')}")
    return {row["name"]: row for row in rows}


def row(rows, name):
    """The row of that name, or whose name goes on from it with "/" (a row's options)."""
    for key, value in rows.items():
        if key == name or key.startswith(name + "/"):
            return value
    sys.exit(f"performance_table: no benchmark {name} among {sorted(rows)}")


def script(name, *args):
    """The output of one of the Python comparisons."""
    done = subprocess.run([sys.executable, str(HERE / name), *args], capture_output=True,
                          text=True)
    if done.returncode != 0:
        sys.exit(f"performance_table: {name} failed:\n{done.stdout}{done.stderr}")
    return done.stdout


def number(pattern, text, what):
    found = re.search(pattern, text)
    if not found:
        sys.exit(f"performance_table: no {what} in:\n{text}")
    return [float(g) for g in found.groups()]


def rows(build):
    """(measure, figure, goal, met) for every goal."""
    table = []

    def add(measure, figure, goal, met):
        table.append((measure, figure, goal, "yes" if met else "no"))

    tool = script("tool_vs_python.py", "--build", str(build))
    t, p = number(r"median: tool ([0-9.]+) s, Python ([0-9.]+) s", tool, "tool-against-Python median")
    add("the whole tool on 20 twins among 1,980 near twins, rotation and mirror on, against the "
        "Python reference", f"{p / t:.0f} times faster ({t:.3f} s against {p:.2f} s)",
        "at least 150 times", p / t >= 150)

    near = benchmark(build, "near_twin_bench", "NearTwinSearch")
    for size in (2000, 10000):
        x = row(near, f"BM_NearTwinSearch/{size}")["x_pass"]
        add(f"the search on a near-twin field of {size:,} range segments, against one pass",
            f"{x:.0f} passes", "at most 20", x <= 20)

    after = benchmark(build, "after_search_bench", "SearchAndAfter")
    plain = row(after, "BM_SearchAndAfter/reordered:0")
    reordered = row(after, "BM_SearchAndAfter/reordered:1")
    add("250 twins of 40 loose lines: the search and everything after it, against the load",
        f"{plain['x_load']:.2f}", "at most 1", plain["x_load"] <= 1)
    add("the same, every twin's lines shuffled and half reversed, against the plain case",
        f"{reordered['x_plain']:.2f}", "at most 2", reordered["x_plain"] <= 2)

    imported = script("import_vs_ezdxf.py", "--build", str(build))
    ours, theirs = number(r"median: import ([0-9.]+) ms, ezdxf ([0-9.]+) ms", imported, "import")
    add("importing crkbd-F.Cu.dxf, against ezdxf reading it", f"{ours / theirs:.3f}",
        "at most 0.1", ours / theirs <= 0.1)
    polyline = benchmark(build, "dxf_import_bench", "ImportOnePolyline/2500")
    x4 = row(polyline, "BM_ImportOnePolyline/2500")["x_4n"]
    add("importing one polyline of 4N vertices, against one of N", f"{x4:.2f}", "at most 5",
        x4 <= 5)

    survey = benchmark(build, "survey_bench", "Largest|PlanLike|Generated/|SixDecimals/")
    board = row(survey, "BM_SurveyLargestRealDrawing")["cpu_time"] / 1e3
    add("the survey of crkbd-F.Cu.dxf (40,810 segments), turns and mirror images on",
        f"{board:.2f} s", "under 0.4 s", board < 0.4)
    sizes = [1000, 3000, 10000, 30000, 100000]
    per = {n: row(survey, f"BM_SurveyGenerated/{n}")["ns_per_segment"] / 1e3 for n in sizes}
    spread = max(per.values()) / min(per.values())
    add("the survey of generated drawings of 1,000 to 100,000 segments: time a segment, largest "
        "against smallest", f"{spread:.2f} ({min(per.values()):.1f} to {max(per.values()):.1f} µs)",
        "linear within 1.2", spread <= 1.2)
    add("the same: time a segment at 100,000", f"{per[100000]:.1f} µs", "10 µs",
        per[100000] <= 10)
    six = max(row(survey, f"BM_SurveySixDecimals/{n}")["cpu_time"] /
              row(survey, f"BM_SurveyGenerated/{n}")["cpu_time"] for n in sizes)
    add("the same drawings written to six decimals, against the clean ones (the largest multiple)",
        f"{six:.2f}", "the same cost", six <= 1.2)
    plan = row(survey, "BM_SurveyPlanLike")["cpu_time"] / 1e3
    add("the survey of the plan-like drawing (8,829 segments, 160 shapes)", f"{plan:.2f} s",
        "under 2 s", plan < 2)

    process = script("process_bench.py", "--build", str(build), "--rounds", "3")
    a, b = number(r"load median: twinfind ([0-9.]+) ms, ezdxf ([0-9.]+) ms", process, "load")
    add("a whole `twinfind run` that only reads crkbd-F.Cu.dxf, against ezdxf reading it",
        f"{a / b:.3f}", "at most 0.08", a / b <= 0.08)
    grown, = number(r"1000 searches: [0-9.]+ s, peak [0-9.]+ MiB, ([0-9.]+) times", process,
                    "memory after 1,000 searches")
    add("peak memory of one process after 1,000 searches, against after 10", f"{grown:.2f}",
        "at most 1.1", grown <= 1.1)

    memory = script("import_memory.py", "--build", str(build), "--lines", "1000000")
    per_segment, = number(r"([0-9]+) bytes per segment", memory, "import memory")
    add("peak memory importing 1,000,000 lines", f"{per_segment:.0f} bytes a segment",
        "at most 500", per_segment <= 500)

    undo = script("undo_bench.py", "--build", str(build))
    time_share, memory_share = number(
        r"each action: [0-9]+ ms \(([0-9.]+) of the load\), -?[0-9.]+ MiB \((-?[0-9.]+)\)", undo,
        "undo")
    add("one result action on 1,000,000 lines, against the load",
        f"{time_share:.3f} of its time, {max(memory_share, 0):.3f} of its memory",
        "under 0.05 of each", time_share < 0.05 and memory_share < 0.05)
    return table


def markdown(table):
    lines = [f"One run of `bench/performance_table.py` on {datetime.date.today().isoformat()}:",
             "", "| measure | figure | goal | met |", "|---|---|---|---|"]
    lines += [f"| {m} | {f} | {g} | {ok} |" for m, f, g, ok in table]
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", default=str(HERE.parent / "build" / "default"))
    parser.add_argument("--write", action="store_true",
                        help="put the table into docs/performance.md between its markers")
    args = parser.parse_args()
    text = markdown(rows(pathlib.Path(args.build).resolve()))
    print(text, end="")
    if args.write:
        doc = HERE.parent / "docs" / "performance.md"
        old = doc.read_text()
        if BEGIN not in old or END not in old:
            sys.exit(f"performance_table: {doc} has no {BEGIN} ... {END}")
        head, rest = old.split(BEGIN, 1)
        doc.write_text(head + BEGIN + "\n" + text + END + rest.split(END, 1)[1])


if __name__ == "__main__":
    main()
