#!/usr/bin/python3
"""Checks a twinfind report against the drawings, read with ezdxf.

    /usr/bin/python3 tests/tools/report_check.py inserts REPORT.json DRAWING.dxf BLOCK
        Every twin of the report's first search against the INSERT of BLOCK whose drawn extent
        has the same centre as the twin's box: its rotation angle and mirroring relative to the
        part's INSERT (a twin is R(angle) M part, M the mirroring x -> -x), and its handle when
        the report gives handles. One line per twin, then "twins N angles A mirrored M
        mismatches K handles H" (A: the angles, sorted, with their counts).

    /usr/bin/python3 tests/tools/report_check.py balloons REPORT.json OUT.dxf
        The report's parts list against the balloons (INSERTs of TWINFIND_BALLOON_ blocks) of
        the output drawing: one line per balloon's rows, then "entries N balloons B unmatched U
        missing M": U balloons whose rows name no entry (part number, material, count), M
        entries that no balloon shows.
"""
import json
import math
import sys

import ezdxf
from ezdxf import bbox


def centre(entity):
    box = bbox.extents(entity.virtual_entities())
    return ((box.extmin.x + box.extmax.x) / 2, (box.extmin.y + box.extmax.y) / 2)


def linear(insert):
    """The 2x2 matrix of an INSERT's scale and rotation, scale made 1."""
    sx, sy = insert.dxf.get("xscale", 1), insert.dxf.get("yscale", 1)
    r = math.radians(insert.dxf.get("rotation", 0))
    c, s = math.cos(r), math.sin(r)
    sx, sy = math.copysign(1, sx), math.copysign(1, sy)
    return [[c * sx, -s * sy], [s * sx, c * sy]]


def relative(part, twin):
    """(angle in degrees, mirrored) of twin = R(angle) M^m part."""
    p, t = linear(part), linear(twin)
    det = p[0][0] * p[1][1] - p[0][1] * p[1][0]
    inv = [[p[1][1] / det, -p[0][1] / det], [-p[1][0] / det, p[0][0] / det]]
    l = [[sum(t[i][k] * inv[k][j] for k in range(2)) for j in range(2)] for i in range(2)]
    mirrored = l[0][0] * l[1][1] - l[0][1] * l[1][0] < 0
    # R(angle) M = l, so R(angle) = l M: the first column negated when mirrored.
    a00, a10 = (-l[0][0], -l[1][0]) if mirrored else (l[0][0], l[1][0])
    angle = round(math.degrees(math.atan2(a10, a00)), 6) % 360
    return angle, mirrored


def box_centre(box):
    return ((box["minX"] + box["maxX"]) / 2, (box["minY"] + box["maxY"]) / 2)


def nearest(inserts, point):
    return min(inserts, key=lambda i: math.dist(i[1], point))


def check_inserts(report_path, drawing_path, block):
    report = json.load(open(report_path, encoding="utf-8"))
    doc = ezdxf.readfile(drawing_path)
    inserts = [(e, centre(e)) for e in doc.modelspace().query("INSERT") if e.dxf.name == block]
    search = report["searches"][0]
    part = nearest(inserts, box_centre(search["part"]["box"]))[0]
    mismatches = handles = 0
    angles = {}
    mirrored_count = 0
    used = set()
    for twin in search["twins"]:
        insert, where = nearest(inserts, box_centre(twin["box"]))
        angle, mirrored = relative(part, insert)
        wrong = (math.dist(where, box_centre(twin["box"])) > 1e-6 or insert.dxf.handle in used or
                 abs((twin["angle"] - angle + 180) % 360 - 180) > 1e-6 or
                 twin["mirrored"] != mirrored)
        used.add(insert.dxf.handle)
        if twin["handles"]:
            handles += 1
            wrong = wrong or twin["handles"] != [insert.dxf.handle]
        mismatches += wrong
        angles[angle] = angles.get(angle, 0) + 1
        mirrored_count += mirrored
        print(f"twin {twin['number']}: insert {insert.dxf.handle} angle {angle:g} mirrored "
              f"{int(mirrored)}; report angle {twin['angle']:g} mirrored {int(twin['mirrored'])}"
              f" handles {' '.join(twin['handles'])}")
    listed = " ".join(f"{a:g}x{n}" for a, n in sorted(angles.items()))
    print(f"twins {len(search['twins'])} angles {listed} mirrored {mirrored_count} "
          f"mismatches {mismatches} handles {handles}")


def check_balloons(report_path, out_path):
    report = json.load(open(report_path, encoding="utf-8"))
    doc = ezdxf.readfile(out_path)
    balloons = []
    for e in doc.modelspace().query("INSERT"):
        if e.dxf.name.startswith("TWINFIND_BALLOON_"):
            rows = [t.dxf.text for t in e.virtual_entities() if t.dxftype() == "TEXT"]
            balloons.append(rows)
            print("balloon " + " / ".join(rows))
    entries = report["partsList"]
    unmatched = 0
    shown = set()
    for rows in balloons:
        found = [i for i, p in enumerate(entries)
                 if p["partNumber"] in rows and p["material"] in rows and str(p["count"]) in rows]
        unmatched += not found
        shown.update(found)
    print(f"entries {len(entries)} balloons {len(balloons)} unmatched {unmatched} "
          f"missing {len(entries) - len(shown)}")


if __name__ == "__main__":
    if sys.argv[1] == "inserts":
        check_inserts(sys.argv[2], sys.argv[3], sys.argv[4])
    else:
        check_balloons(sys.argv[2], sys.argv[3])
