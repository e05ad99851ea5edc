#!/usr/bin/python3
"""The same twins however a drawing lies: every drawing of samples/real and the generated shop
sheets, written again by ezdxf turned about the origin (7, 33, 90 and 137 degrees), moved far
away, mirrored, with its entities in another order, its lines and polylines drawn the other way,
and its polylines exploded into loose lines, is surveyed with turns and mirror images on. The
families must be the same: twin by twin (by the handles of the entities each twin came from)
where the entities keep their handles, with the same parts of each family told mirrored up to
which hand is the plain one; as counts where the entities were made anew.

    /usr/bin/python3 tests/tools/metamorphic_test.py TOOL SAMPLES_DIR [DRAWING ...]

With drawings named, only those (of samples/real, or "shop:NAME" for a generated sheet) and
a table of the totals per variant is printed.
"""
import json
import math
import os
import random
import subprocess
import sys
import tempfile

import ezdxf
from ezdxf.math import Matrix44

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import shop_sheets  # noqa: E402

SETTINGS = ('Windows Registry Editor Version 5.00\n\n'
            '[HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind]\n'
            '"mIsRotate"="1"\n"mIsSymmetry"="1"\n"mIsArrange"="0"\n')


def transformed(doc, matrix):
    for e in list(doc.modelspace()):
        try:
            e.transform(matrix)
        except (NotImplementedError, ezdxf.DXFError, ValueError, TypeError):
            pass  # an entity ezdxf cannot move (the survey does not read it either)


def reversed_lines(doc):
    for e in doc.modelspace():
        if e.dxftype() == "LINE":
            e.dxf.start, e.dxf.end = e.dxf.end, e.dxf.start
        elif e.dxftype() == "LWPOLYLINE":
            points = list(e.get_points("xyb"))
            # Drawn from the other end: each bulge belongs to the vertex before its span, and
            # turns the other way.
            back = [(x, y, 0.0) for x, y, _ in reversed(points)]
            n = len(points)
            for i in range(n):
                # The span from vertex i to i + 1 becomes the span from n - 2 - i to n - 1 - i.
                if e.closed:
                    j = (n - 1 - i - 1) % n
                else:
                    j = n - 2 - i
                if 0 <= j < n:
                    x, y, _ = back[j]
                    back[j] = (x, y, -points[i][2])
            e.set_points(back, "xyb")


def shuffled(doc, seed):
    msp = doc.modelspace()
    entities = list(msp)
    for e in entities:
        msp.unlink_entity(e)
    random.Random(seed).shuffle(entities)
    for e in entities:
        msp.add_entity(e)


def exploded(doc):
    msp = doc.modelspace()
    for e in list(msp):
        if e.dxftype() in ("LWPOLYLINE", "POLYLINE"):
            try:
                e.explode()
            except (ezdxf.DXFError, TypeError, ValueError):
                pass


VARIANTS = {
    "turned 7": lambda d: transformed(d, Matrix44.z_rotate(math.radians(7))),
    "turned 33": lambda d: transformed(d, Matrix44.z_rotate(math.radians(33))),
    "turned 90": lambda d: transformed(d, Matrix44.z_rotate(math.radians(90))),
    "turned 137": lambda d: transformed(d, Matrix44.z_rotate(math.radians(137))),
    "moved 1e6": lambda d: transformed(d, Matrix44.translate(1e6, -1e6, 0)),
    "mirrored": lambda d: transformed(d, Matrix44.scale(-1, 1, 1)),
    "shuffled": lambda d: shuffled(d, 7),
    "drawn backwards": reversed_lines,
    "exploded": exploded,
}
# What the variant keeps: the entities' handles (twin by twin), or only the counts.
COUNTS_ONLY = {"exploded"}


def survey(tool, drawing, folder):
    settings = os.path.join(folder, "s.reg")
    with open(settings, "w", encoding="utf-8") as f:
        f.write(SETTINGS)
    report = os.path.join(folder, "report.json")
    done = subprocess.run([tool, "survey", drawing, "--settings", settings, "--report", report],
                          capture_output=True, text=True, cwd=folder,
                          env=dict(os.environ, HOME=folder), timeout=600)
    if done.returncode != 0:
        raise AssertionError(f"survey of {drawing} failed: {done.stderr}")
    with open(report, encoding="utf-8") as f:
        return json.load(f)["searches"]


def families_by_handle(searches):
    """Each family as its members (handle sets), split into the two hands."""
    found = set()
    for s in searches:
        hands = {True: set(), False: set()}
        for t in s["twins"]:
            hands[t["mirrored"]].add(frozenset(t["handles"]))
        found.add(frozenset((frozenset(hands[True]), frozenset(hands[False]))))
    return found


def counts(searches):
    return sorted((len(s["twins"]), min(sum(t["mirrored"] for t in s["twins"]),
                                        sum(not t["mirrored"] for t in s["twins"])))
                  for s in searches)


def total(searches):
    parts = sum(len(s["twins"]) for s in searches)
    return f"{len(searches)} families, {parts} parts"


def drawings(samples, names):
    real = os.path.join(samples, "real")
    if not names:
        names = sorted(n for n in os.listdir(real) if n.lower().endswith(".dxf"))
        names += ["shop:" + n for n in shop_sheets.SHEETS]
    for name in names:
        yield name, (None if name.startswith("shop:") else os.path.join(real, name))


def main():
    tool, samples, names = os.path.abspath(sys.argv[1]), sys.argv[2], sys.argv[3:]
    failures = []
    with tempfile.TemporaryDirectory(prefix="twinfind-metamorphic-") as folder:
        for name, path in drawings(samples, names):
            source = os.path.join(folder, "source.dxf")
            if path is None:
                shop_sheets.SHEETS[name[len("shop:"):]](source)
            else:
                ezdxf.readfile(path).saveas(source)  # as ezdxf writes it, like the variants
            base = survey(tool, source, folder)
            handles = all(t["handles"] for s in base for t in s["twins"])
            row = [name, total(base)]
            for variant, change in VARIANTS.items():
                doc = ezdxf.readfile(source)
                change(doc)
                changed = os.path.join(folder, "changed.dxf")
                doc.saveas(changed)
                got = survey(tool, changed, folder)
                row.append(total(got))
                if handles and variant not in COUNTS_ONLY:
                    same = families_by_handle(got) == families_by_handle(base)
                else:
                    same = counts(got) == counts(base)
                if not same:
                    failures.append(f"{name}, {variant}: {total(got)} against {total(base)}")
            if names:
                print(" | ".join(row))
    for failure in failures:
        print("not the same families:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
