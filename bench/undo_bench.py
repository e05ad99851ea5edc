#!/usr/bin/python3
"""What undo costs on a large drawing, measured on whole `twinfind` processes: a field of
loose lines (1,000,000 by default) and five groups of five small squares; each result action
deletes the twins of one group, and after five actions five undos take them back. Three runs,
each a process of its own: the load alone, the load and five actions, the load, five actions
and five undos, in turns, three rounds (medians). The child's processor time and peak memory come from /usr/bin/time (the
child's own rusage, not the Python parent's), and each action's and undo's share is its
difference from the run before divided by five, beside the load's.

    flock /tmp/twinfind-build.lock /usr/bin/python3 bench/undo_bench.py [--build build/default]
        [--lines 1000000] [--rounds 3]
"""
import argparse
import os
import pathlib
import statistics
import subprocess
import sys
import tempfile

HERE = pathlib.Path(__file__).resolve().parent
SETTINGS = ("Windows Registry Editor Version 5.00\n\n"
            "[HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind]\n"
            '"mIsArrange"="0"\n"mFigure"="1"\n"mRangeLimit"="1000000"\n')
GROUPS = 5


def write_drawing(path, count):
    """The lines in rows below the squares; the squares in five groups of five along y = 0."""
    with open(path, "w", encoding="ascii") as f:
        f.write("0\nSECTION\n2\nENTITIES\n")
        row = 1000
        for i in range(count):
            x, y = (i % row) * 3.0, -10.0 - (i // row) * 2.0
            f.write(f"0\nLINE\n8\n0\n10\n{x}\n20\n{y}\n11\n{x + 1}\n21\n{y}\n")
        for g in range(GROUPS):
            for k in range(5):
                x = g * 100 + k * 10
                for x1, y1, x2, y2 in ((0, 0, 2, 0), (2, 0, 2, 2), (2, 2, 0, 2), (0, 2, 0, 0)):
                    f.write(f"0\nLINE\n8\n0\n10\n{x + x1}\n20\n{y1}\n11\n{x + x2}\n21\n{y2}\n")
        f.write("0\nENDSEC\n0\nEOF\n")


def run(tool, drawing, script, settings, folder):
    """The child's processor seconds and peak resident memory in MiB."""
    measured = folder / "time.txt"
    done = subprocess.run(["/usr/bin/time", "-f", "%U %S %M", "-o", str(measured), tool, "run",
                           str(drawing), "--script", str(script), "--settings", str(settings)],
                          capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(f"undo_bench: twinfind failed ({done.returncode}): {done.stderr}")
    user, system, kib = measured.read_text().split()[-3:]
    return float(user) + float(system), int(kib) / 1024, done.stdout


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=str(HERE.parent / "build" / "default"))
    parser.add_argument("--lines", type=int, default=1000000)
    parser.add_argument("--rounds", type=int, default=3)
    args = parser.parse_args()
    if not os.access("/usr/bin/time", os.X_OK):
        sys.exit("undo_bench: /usr/bin/time is missing (Debian package time)")
    tool = str(pathlib.Path(args.build) / "bin" / "twinfind")
    with tempfile.TemporaryDirectory(prefix="twinfind-undo-") as folder:
        folder = pathlib.Path(folder)
        drawing, settings = folder / "field.dxf", folder / "settings.reg"
        write_drawing(drawing, args.lines)
        settings.write_text(SETTINGS)
        actions = "".join(f"start\nrange {g * 100 - 1} -1 {g * 100 + 50} 3\n"
                          f"range {g * 100 - 0.5} -0.5 {g * 100 + 2.5} 2.5\nend\n"
                          for g in range(GROUPS))
        scripts = {"load": "", "actions": actions, "undos": actions + "undo\n" * GROUPS}
        runs = {name: [] for name in scripts}
        for _ in range(args.rounds):  # in turns, so that a busy moment weighs on all alike
            for name, text in scripts.items():
                script = folder / f"{name}.script"
                script.write_text(text)
                runs[name].append(run(tool, drawing, script, settings, folder))
        # Each run's median time and memory: a process's load varies by more than an action.
        measured = {name: (statistics.median(r[0] for r in rs), statistics.median(r[1] for r in rs),
                           rs[-1][2]) for name, rs in runs.items()}
        out = measured["undos"][2]
        if out.count("undone:") != GROUPS or "nothing to undo" in out:
            sys.exit("undo_bench: the undos did not all take an action back")
        (load_s, load_m, _), (act_s, act_m, _), (undo_s, undo_m, _) = (
            measured["load"], measured["actions"], measured["undos"])
        print(f"{args.lines} lines: load {load_s:.2f} s, peak {load_m:.0f} MiB")
        print(f"each action: {(act_s - load_s) / GROUPS * 1e3:.0f} ms "
              f"({(act_s - load_s) / GROUPS / load_s:.3f} of the load), "
              f"{(act_m - load_m) / GROUPS:.1f} MiB ({(act_m - load_m) / GROUPS / load_m:.3f})")
        print(f"each undo: {(undo_s - act_s) / GROUPS * 1e3:.0f} ms, "
              f"{(undo_m - act_m) / GROUPS:.1f} MiB; five actions and five undos: "
              f"{undo_s - load_s:.2f} s and {undo_m - load_m:.0f} MiB over the load")


if __name__ == "__main__":
    main()
