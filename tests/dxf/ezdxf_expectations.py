#!/usr/bin/python3
"""Counts what our importer should make of a DXF file, read with ezdxf instead of our code.

For each file: the segments the host gets (one per held model-space entity, an INSERT giving a
figure segment when it has figures and a comment segment when it has texts), the extent of
all figures, and the entities the host cannot hold, by type. The rules are those of
docs/dxf.md; the parsing, block flattening and geometry are ezdxf's and this script's own.

    /usr/bin/python3 tests/dxf/ezdxf_expectations.py samples/real/*.dxf samples/real/*.DXF

prints one C++ initializer per file for tests/dxf/real_drawings_test.cpp.
"""
import collections
import math
import os
import sys

import ezdxf
from ezdxf.math import Vec3, bulge_to_arc

FIGURES = {"LINE", "ARC", "CIRCLE", "POINT", "LWPOLYLINE", "POLYLINE"}
TEXTS = {"TEXT", "MTEXT"}
LIMIT = 1e15


class NotHeld(Exception):
    pass


def flat_extrusion(entity):
    """+1 or -1 for an entity drawn in the XY plane, seen from above or below."""
    if not entity.dxf.hasattr("extrusion"):
        return 1
    x, y, z = Vec3(entity.dxf.extrusion).normalize()
    if abs(x) > 1e-9 or abs(y) > 1e-9:
        raise NotHeld("not in the drawing plane")
    return 1 if z > 0 else -1


def finite(*values):
    if not all(math.isfinite(v) and abs(v) <= LIMIT for v in values):
        raise NotHeld("invalid geometry")


def arc_points(cx, cy, r, start_deg, end_deg):
    """The arc's ends and the quadrant points it passes, counter-clockwise start to end."""
    start = math.radians(start_deg) % (2 * math.pi)
    span = (math.radians(end_deg) - start) % (2 * math.pi)
    if span < 1e-12:
        span = 2 * math.pi
    points = [(cx + r * math.cos(start), cy + r * math.sin(start)),
              (cx + r * math.cos(start + span), cy + r * math.sin(start + span))]
    for k in range(8):
        q = k * math.pi / 2
        if 0 < (q - start) < span:
            points.append((cx + r * math.cos(q), cy + r * math.sin(q)))
    return points


def polyline_points(vertices, closed):
    """Points bounding a polyline of (x, y, bulge) vertices; none when it draws nothing."""
    points = []
    edges = list(zip(vertices, vertices[1:]))
    if closed and len(vertices) > 1:
        edges.append((vertices[-1], vertices[0]))
    for (x1, y1, b), (x2, y2, _) in edges:
        finite(x1, y1, x2, y2, b)
        if x1 == x2 and y1 == y2:
            continue
        if abs(b) < 1e-12:
            points += [(x1, y1), (x2, y2)]
            continue
        centre, a1, a2, r = bulge_to_arc((x1, y1), (x2, y2), b)
        points += [(x1, y1), (x2, y2)]
        points += arc_points(centre.x, centre.y, r, math.degrees(a1), math.degrees(a2))[2:]
    if not points:
        raise NotHeld("fewer than two distinct vertices")
    return points


def figure_points(e):
    """Extreme points of a held figure entity in world coordinates."""
    t = e.dxftype()
    if t == "LINE":
        s, d = e.dxf.start, e.dxf.end
        finite(s.x, s.y, d.x, d.y)
        return [(s.x, s.y), (d.x, d.y)]
    if t == "POINT":
        p = e.dxf.location
        finite(p.x, p.y)
        return [(p.x, p.y)]
    side = flat_extrusion(e)
    if t in ("CIRCLE", "ARC"):
        c, r = e.dxf.center, e.dxf.radius
        finite(c.x, c.y, r)
        if r <= 0:
            raise NotHeld("invalid geometry")
        if t == "CIRCLE":
            pts = [(c.x - r, c.y - r), (c.x + r, c.y + r)]
        else:
            pts = arc_points(c.x, c.y, r, e.dxf.start_angle, e.dxf.end_angle)
    elif t == "LWPOLYLINE":
        pts = polyline_points([(x, y, b) for x, y, b in e.get_points("xyb")], e.closed)
    else:  # POLYLINE
        if not e.is_2d_polyline:
            raise NotHeld("3D")
        verts = [v for v in e.vertices if not v.dxf.flags & 16]
        pts = polyline_points([(v.dxf.location.x, v.dxf.location.y, v.dxf.bulge) for v in verts],
                              e.is_closed)
    return [(side * x, y) for x, y in pts]


def text_lines(e):
    if e.dxftype() == "MTEXT":
        return [line for line in e.plain_text().split("\n") if line.strip()]
    text = e.plain_text() if hasattr(e, "plain_text") else e.dxf.text
    return [text] if text.strip() else []


class Census:
    def __init__(self):
        self.segments = 0
        self.box = None
        self.not_held = collections.Counter()

    def include(self, points):
        for x, y in points:
            if self.box is None:
                self.box = [x, y, x, y]
            else:
                self.box = [min(self.box[0], x), min(self.box[1], y),
                            max(self.box[2], x), max(self.box[3], y)]


def copies(insert):
    """The inserts an INSERT stands for: itself, or each copy of a rectangular array."""
    if insert.dxf.get("column_count", 1) > 1 or insert.dxf.get("row_count", 1) > 1:
        return list(insert.multi_insert())
    return [insert]


def flatten(doc, insert, census, depth, found, path=""):
    """Adds an insert's figures to `found` (figure and text counts), the rest to the census."""
    if depth > 64:
        census.not_held["INSERT (nested too deep)"] += 1
        return
    block = doc.blocks.get(insert.dxf.name)
    if block is None:
        census.not_held["INSERT (block not defined)"] += 1
        return
    sx, sy = abs(insert.dxf.xscale), abs(insert.dxf.yscale)
    if abs(sx - sy) > 1e-9 * max(sx, sy):
        # ezdxf turns circles and arcs into ellipses there; the tests' own drawings cover it.
        sys.exit("%s: a block reference scales x and y differently; not modelled here" % path)
    for v in insert.virtual_entities():
        t = v.dxftype()
        if t == "INSERT":
            for copy in copies(v):
                flatten(doc, copy, census, depth + 1, found, path)
        elif t in FIGURES:
            try:
                census.include(figure_points(v))
                found["figures"] += 1
            except NotHeld as why:
                census.not_held["%s (%s)" % (t, why)] += 1
        elif t in TEXTS:
            if text_lines(v):
                found["texts"] += 1
            else:
                census.not_held[t + " (empty)"] += 1
        else:
            census.not_held[t] += 1
    for a in insert.attribs:
        if not a.is_invisible:
            if text_lines(a):
                found["texts"] += 1
            else:
                census.not_held["ATTRIB (empty)"] += 1


def census_of(path):
    doc = ezdxf.readfile(path)
    census = Census()
    for e in doc.modelspace():
        t = e.dxftype()
        try:
            if t in FIGURES:
                census.include(figure_points(e))
                census.segments += 1
            elif t in TEXTS:
                flat_extrusion(e) if t == "TEXT" else None
                if text_lines(e):
                    census.segments += 1
                else:
                    census.not_held[t + " (empty)"] += 1
            elif t == "INSERT":
                for copy in copies(e):
                    found = collections.Counter()
                    flatten(doc, copy, census, 1, found, path)
                    census.segments += (found["figures"] > 0) + (found["texts"] > 0)
            else:
                census.not_held[t] += 1
        except NotHeld as why:
            census.not_held["%s (%s)" % (t, why)] += 1
    for layout in doc.layouts:
        if layout.name != "Model":
            for e in layout:
                census.not_held[e.dxftype() + " (paper space)"] += 1
    return census


def main():
    print("// ezdxf %s" % ezdxf.__version__)
    for path in sys.argv[1:]:
        c = census_of(path)
        held = ", ".join('{"%s", %d}' % kv for kv in sorted(c.not_held.items()))
        print('    {"%s", %d, {%.10g, %.10g, %.10g, %.10g}, {%s}},'
              % (os.path.basename(path), c.segments, *c.box, held))


if __name__ == "__main__":
    main()
