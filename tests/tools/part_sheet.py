"""A laser part sheet for the tests of the outputs that hand parts on (survey --split, --blocks,
the module's split and save(blocks=...)) and of the curves read as lines: six part shapes (one
with a spline edge, one with an ellipse hole), each placed plainly, turned and mirrored the way
CAD programs mirror (entities in their own plane get extrusion 0, 0, -1), one of them as
references of a block, among a sheet border, a title and a part that has no twin. Every
quantity a parts list gives (size, cut length, closed loops, area inside the outer outline) is
worked out here from the shapes' own definitions, not from what any program reads back.

    /usr/bin/python3 tests/tools/part_sheet.py OUT.dxf     writes the sheet (for a look)
"""
import math
import sys
from dataclasses import dataclass, field

import ezdxf
from ezdxf.math import Matrix44

CELL = 110.0  # the placements' grid


@dataclass
class Shape:
    name: str
    layer: str
    width: float
    height: float
    cut_length: float
    pierces: int
    area: float
    symmetric: bool  # its own mirror image: the search counts no member mirrored
    block: str = ""  # drawn as references of this block
    placements: list = field(default_factory=list)  # (column, row, degrees, mirrored)
    members: list = field(default_factory=list)  # the handles of each placement, as drawn
    matrices: list = field(default_factory=list)  # each placement's, from the shape's own frame

    @property
    def count(self):
        return len(self.placements)

    @property
    def mirrored(self):
        return 0 if self.symmetric else sum(1 for *_, m in self.placements if m)


def plate(msp, layer):
    """60 x 40 with one corner rounded (radius 10) and two round holes."""
    bulge = math.tan(math.pi / 8)  # a quarter circle
    return [
        msp.add_lwpolyline([(0, 0, 0, 0, 0), (60, 0, 0, 0, 0), (60, 30, 0, 0, bulge),
                            (50, 40, 0, 0, 0), (0, 40, 0, 0, 0)], close=True,
                           dxfattribs={"layer": layer, "color": 1}),
        msp.add_circle((15, 20), 5, dxfattribs={"layer": layer}),
        msp.add_circle((40, 20), 3, dxfattribs={"layer": layer}),
    ]


def bracket(msp, layer):
    """An L of loose lines, 50 x 35 with arms 10 wide, and a hole in each arm."""
    corners = [(0, 0), (50, 0), (50, 10), (10, 10), (10, 35), (0, 35)]
    lines = [msp.add_line(corners[i], corners[(i + 1) % 6], dxfattribs={"layer": layer})
             for i in range(6)]
    return lines + [msp.add_circle((5, 28), 2, dxfattribs={"layer": layer}),
                    msp.add_circle((42, 5), 2, dxfattribs={"layer": layer})]


def washer(msp, layer):
    """An obround 42 x 12 of lines and arcs, with a dashed round hole: its own mirror image."""
    return [
        msp.add_line((0, 0), (30, 0), dxfattribs={"layer": layer}),
        msp.add_arc((30, 6), 6, -90, 90, dxfattribs={"layer": layer}),
        msp.add_line((30, 12), (0, 12), dxfattribs={"layer": layer}),
        msp.add_arc((0, 6), 6, 90, 270, dxfattribs={"layer": layer}),
        msp.add_circle((15, 6), 3, dxfattribs={"layer": layer, "linetype": "DASHED"}),
    ]


# The tab's top edge: a cubic spline from (40, 20) to (0, 20), one Bezier span.
TAB_CONTROL = [(40, 20), (30, 35), (10, 5), (0, 20)]


def bezier(points, t):
    (x0, y0), (x1, y1), (x2, y2), (x3, y3) = points
    a, b, c, d = (1 - t) ** 3, 3 * t * (1 - t) ** 2, 3 * t * t * (1 - t), t ** 3
    return (a * x0 + b * x1 + c * x2 + d * x3, a * y0 + b * y1 + c * y2 + d * y3)


TAB_EDGE = [bezier(TAB_CONTROL, k / 20000) for k in range(20001)]
TAB_EDGE_LENGTH = sum(math.dist(TAB_EDGE[k], TAB_EDGE[k + 1]) for k in range(20000))
# Ellipse of semi-axes 10 and 5: its perimeter by the sum of many chords.
ELLIPSE_PERIMETER = sum(
    math.dist((10 * math.cos(k * math.tau / 20000), 5 * math.sin(k * math.tau / 20000)),
              (10 * math.cos((k + 1) * math.tau / 20000), 5 * math.sin((k + 1) * math.tau / 20000)))
    for k in range(20000))


def shoelace(points):
    return abs(sum(points[i][0] * points[i - 1][1] - points[i - 1][0] * points[i][1]
                   for i in range(len(points)))) / 2


def tab(msp, layer):
    """40 wide, straight sides and bottom, an S-shaped spline top, a round hole."""
    return [
        msp.add_line((0, 0), (40, 0), dxfattribs={"layer": layer}),
        msp.add_line((40, 0), (40, 20), dxfattribs={"layer": layer}),
        msp.add_spline(dxfattribs={"layer": layer, "color": 3}).apply_construction_tool(
            ezdxf.math.BSpline(TAB_CONTROL, order=4)),
        msp.add_line((0, 20), (0, 0), dxfattribs={"layer": layer}),
        msp.add_circle((20, 8), 3, dxfattribs={"layer": layer}),
    ]


def eyelet(msp, layer):
    """50 x 30 with an elliptical hole (semi-axes 10 and 5) and a round one off its middle."""
    return [
        msp.add_lwpolyline([(0, 0), (50, 0), (50, 30), (0, 30)], close=True,
                           dxfattribs={"layer": layer}),
        msp.add_ellipse((18, 15), (10, 0), 0.5, dxfattribs={"layer": layer, "color": 5}),
        msp.add_circle((40, 8), 2, dxfattribs={"layer": layer}),
    ]


def hexagon_points(radius):
    return [(radius * math.cos(k * math.pi / 3), radius * math.sin(k * math.pi / 3))
            for k in range(6)]


ROOT3 = math.sqrt(3)
TURNED_AND_MIRRORED = [(0, 0, False), (0, 0, False), (0, 0, False), (30, 0, False),
                       (135, 0, False), (0, 0, True), (70, 0, True)]


def shapes():
    return [
        Shape("plate", "PLATES", 60, 40, 60 + 30 + 5 * math.pi + 50 + 40 + 2 * math.pi * (5 + 3),
              3, 60 * 40 - (100 - 25 * math.pi), False),
        Shape("bracket", "BRACKETS", 50, 35, 170 + 2 * math.pi * 4, 3, 50 * 10 + 10 * 25, False),
        Shape("washer", "WASHERS", 42, 12, 60 + 12 * math.pi + 6 * math.pi, 2,
              30 * 12 + 36 * math.pi, True),
        Shape("flange", "FLANGES", 30, 15 * ROOT3, 6 * 15 + 10 * math.pi, 2,
              1.5 * ROOT3 * 15 * 15, True, block="FLANGE"),
        Shape("tab", "TABS", 40, max(y for _, y in TAB_EDGE), 80 + TAB_EDGE_LENGTH + 6 * math.pi,
              2, shoelace([(0, 0), (40, 0)] + TAB_EDGE), False),
        Shape("eyelet", "EYELETS", 50, 30, 160 + ELLIPSE_PERIMETER + 4 * math.pi, 3, 1500, False),
    ]


# How far the parts list may be from the shapes' own values: a curve read as lines within the
# chord tolerance (0.01) is a little shorter, and encloses a little more or less.
CURVE_LENGTH = {"tab": TAB_EDGE_LENGTH, "eyelet": ELLIPSE_PERIMETER}


DRAW = {"plate": plate, "bracket": bracket, "washer": washer, "tab": tab, "eyelet": eyelet}


def arc_points(cx, cy, r, start, end, step=0.05):
    """Points along an arc, counter-clockwise from start to end (degrees), `step` apart."""
    sweep = (end - start) % 360 or 360
    n = int(sweep / step) + 1
    return [(cx + r * math.cos(math.radians(start + sweep * k / n)),
             cy + r * math.sin(math.radians(start + sweep * k / n))) for k in range(n + 1)]


def outline_points(shape):
    """Points on every figure of the shape in its own frame, curves finely sampled."""
    if shape.name == "plate":
        return ([(0, 0), (60, 0), (60, 30), (50, 40), (0, 40)] + arc_points(50, 30, 10, 0, 90) +
                arc_points(15, 20, 5, 0, 360) + arc_points(40, 20, 3, 0, 360))
    if shape.name == "bracket":
        return ([(0, 0), (50, 0), (50, 10), (10, 10), (10, 35), (0, 35)] +
                arc_points(5, 28, 2, 0, 360) + arc_points(42, 5, 2, 0, 360))
    if shape.name == "washer":
        return (arc_points(30, 6, 6, -90, 90) + arc_points(0, 6, 6, 90, 270) +
                arc_points(15, 6, 3, 0, 360))
    if shape.name == "tab":
        return [(0, 0), (40, 0)] + TAB_EDGE + arc_points(20, 8, 3, 0, 360)
    if shape.name == "eyelet":
        return ([(0, 0), (50, 0), (50, 30), (0, 30)] + arc_points(40, 8, 2, 0, 360) +
                [(18 + 10 * math.cos(k * math.tau / 3600), 15 + 5 * math.sin(k * math.tau / 3600))
                 for k in range(3600)])
    return hexagon_points(15) + arc_points(0, 0, 5, 0, 360)


def placed_box(shape, member):
    """The box (min x, min y, max x, max y) of one placement of the shape."""
    points = [shape.matrices[member].transform((x, y, 0)) for x, y in outline_points(shape)]
    return (min(p.x for p in points), min(p.y for p in points), max(p.x for p in points),
            max(p.y for p in points))


def placement_matrix(shape, column, row, degrees, mirrored):
    """The shape's box centre to the middle of its grid cell, mirrored (x -> -x) first, then
    turned."""
    return Matrix44.chain(
        Matrix44.translate(-shape.width / 2, -shape.height / 2, 0),
        Matrix44.scale(-1 if mirrored else 1, 1, 1),
        Matrix44.z_rotate(math.radians(degrees)),
        Matrix44.translate((column + 0.5) * CELL, (row + 0.5) * CELL, 0))


def write_sheet(path):
    """Writes the sheet (R2010, millimetres); the shapes with the handles of each placement."""
    doc = ezdxf.new("R2010", setup=True)
    doc.header["$INSUNITS"] = 4
    for name in ("PLATES", "BRACKETS", "WASHERS", "FLANGES", "TABS", "EYELETS", "SHEET", "NOTES"):
        doc.layers.add(name)
    msp = doc.modelspace()
    flange = doc.blocks.new("FLANGE")
    flange.add_lwpolyline(hexagon_points(15), close=True)
    flange.add_circle((0, 0), 5)
    result = shapes()
    for row, shape in enumerate(result):
        if shape.block:
            turns = [(0, 1, 1), (15, 1, 1), (40, 1, 1), (90, 1, 1), (20, -1, 1)]
            for column, (degrees, xscale, yscale) in enumerate(turns):
                ref = msp.add_blockref("FLANGE", ((column + 0.5) * CELL, (row + 0.5) * CELL),
                                       dxfattribs={"layer": shape.layer, "rotation": degrees,
                                                   "xscale": xscale, "yscale": yscale})
                shape.placements.append((column, row, degrees, xscale < 0))
                shape.members.append([ref.dxf.handle])
                shape.matrices.append(Matrix44.chain(
                    Matrix44.scale(xscale, yscale, 1), Matrix44.z_rotate(math.radians(degrees)),
                    Matrix44.translate((column + 0.5) * CELL, (row + 0.5) * CELL, 0)))
            continue
        for column, (degrees, _, mirrored) in enumerate(TURNED_AND_MIRRORED):
            entities = DRAW[shape.name](msp, shape.layer)
            m = placement_matrix(shape, column, row, degrees, mirrored)
            for e in entities:
                e.transform(m)
            shape.placements.append((column, row, degrees, mirrored))
            shape.members.append([e.dxf.handle for e in entities])
            shape.matrices.append(m)
    # What no family holds: the sheet's border, its title, a part without a twin.
    msp.add_lwpolyline([(-10, -10), (800, -10), (800, 680), (-10, 680)], close=True,
                       dxfattribs={"layer": "SHEET"})
    msp.add_text("SHEET 1 - 2 MM STEEL", dxfattribs={"layer": "NOTES", "height": 5,
                                                      "insert": (0, 670)})
    msp.add_lwpolyline([(690, 360), (750, 360), (690, 410)], close=True,
                       dxfattribs={"layer": "PLATES"})
    doc.saveas(path)
    return result


if __name__ == "__main__":
    write_sheet(sys.argv[1])
