#!/usr/bin/python3
"""Counts twins in the real drawings with ezdxf and geometry of this script's own, not our code.

For each case of tests/tools/real_twins_test.cpp it prints the part's window, the search range
and how many twins a user would count there:

- JR-3099-V2-LTCSL-4X-S.DXF: pattern pieces, closed POLYLINEs each with a grain line (a
  two-vertex POLYLINE inside it). Piece B is a turned twin of piece A when A's vertices, moved
  and turned so that A's grain line lies on B's (either way round), land on B's vertices within
  0.001.
- crkbd-Edge.Cuts.dxf and crkbd-F.Cu.dxf: outlines drawn as loose LINEs. Lines whose ends meet
  (rounded to 0.001) form one outline; outlines with the same number of lines and the same
  sorted line lengths (rounded to 0.01) are twins.
- api-cw750-details.dxf: the INSERTs of one block are twins.

    /usr/bin/python3 tests/dxf/twin_expectations.py samples/real
"""
import collections
import math
import os
import sys

import ezdxf
from ezdxf import bbox


def box_of(entities, margin):
    b = bbox.extents(entities)
    return (b.extmin.x - margin, b.extmin.y - margin, b.extmax.x + margin, b.extmax.y + margin)


def inside(box, outer):
    return box[0] >= outer[0] and box[1] >= outer[1] and box[2] <= outer[2] and box[3] <= outer[3]


def vertices(polyline):
    return [(v.dxf.location.x, v.dxf.location.y) for v in polyline.vertices]


def placed(points, a0, a1, b0, b1):
    """The points moved and turned so that the line a0-a1 lies on b0-b1."""
    ta = math.atan2(a1[1] - a0[1], a1[0] - a0[0])
    tb = math.atan2(b1[1] - b0[1], b1[0] - b0[0])
    c, s = math.cos(tb - ta), math.sin(tb - ta)
    return [(b0[0] + (x - a0[0]) * c - (y - a0[1]) * s, b0[1] + (x - a0[0]) * s + (y - a0[1]) * c)
            for x, y in points]


def same_points(p, q, tolerance):
    near = lambda a, points: min(math.hypot(a[0] - u, a[1] - v) for u, v in points) < tolerance
    return len(p) == len(q) and all(near(a, q) for a in p) and all(near(b, p) for b in q)


def pattern_pieces(path):
    msp = ezdxf.readfile(path).modelspace()
    polylines = list(msp.query("POLYLINE"))
    grains = [e for e in polylines if len(vertices(e)) == 2]
    pieces = []
    for e in polylines:
        points = vertices(e)
        if len(points) > 5 and points[0] == points[-1]:
            box = box_of([e], 0)
            grain = next(g for g in grains if inside(box_of([g], 0), box))
            pieces.append((e, grain))
    return pieces


def jr_cases(path):
    pieces = pattern_pieces(path)
    for piece, grain in pieces:
        if len(vertices(piece)) != 27:  # the first piece of 26 spans
            continue
        a, ga = vertices(piece)[:-1], vertices(grain)
        twins = 0
        for other, other_grain in pieces:
            b, gb = vertices(other)[:-1], vertices(other_grain)
            if any(same_points(placed(a, ga[0], ga[1], b0, b1), b, 0.001)
                   for b0, b1 in ((gb[0], gb[1]), (gb[1], gb[0]))):
                twins += 1
        print(f"JR: part {box_of([piece], 0.01)} twins {twins} of {len(pieces)} pieces")
        break


def outlines_of_lines(path):
    msp = ezdxf.readfile(path).modelspace()
    lines = list(msp.query("LINE"))
    key = lambda p: (round(p[0], 3), round(p[1], 3))
    parent = {}

    def find(a):
        while parent.setdefault(a, a) != a:
            parent[a] = parent[parent[a]]
            a = parent[a]
        return a

    for e in lines:
        parent[find(key(e.dxf.start))] = find(key(e.dxf.end))
    groups = collections.defaultdict(list)
    for e in lines:
        groups[find(key(e.dxf.start))].append(e)
    families = collections.defaultdict(list)
    for members in groups.values():
        lengths = tuple(sorted(round((e.dxf.end - e.dxf.start).magnitude, 2) for e in members))
        families[lengths].append(box_of(members, 0.01))
    return families


def line_family_case(name, path, lines, corner, search_range):
    """The family of outlines of `lines` lines that has one with its lower left at `corner`."""
    for lengths, boxes in outlines_of_lines(path).items():
        if len(lengths) != lines:
            continue
        in_range = [b for b in boxes if search_range is None or inside(b, search_range)]
        for b in in_range:
            if math.hypot(b[0] - corner[0], b[1] - corner[1]) < 0.05:
                print(f"{name}: part {b} range {search_range} twins {len(in_range)}")


def api_case(path):
    doc = ezdxf.readfile(path)
    inserts = list(doc.modelspace().query('INSERT[name=="Fast-128-394-T"]'))
    print(f"api: part {box_of([inserts[0]], 0.01)} twins {len(inserts)}")


def main(folder):
    jr_cases(os.path.join(folder, "JR-3099-V2-LTCSL-4X-S.DXF"))
    line_family_case("Edge.Cuts", os.path.join(folder, "crkbd-Edge.Cuts.dxf"), 75,
                     (68.16, -111.99), None)
    line_family_case("F.Cu", os.path.join(folder, "crkbd-F.Cu.dxf"), 18, (140.26, -68.70),
                     (128, -108, 162, -60))
    api_case(os.path.join(folder, "api-cw750-details.dxf"))


if __name__ == "__main__":
    main(sys.argv[1])
