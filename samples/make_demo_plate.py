#!/usr/bin/python3
"""Draws the demo drawing samples/demo-plate.dxf: a base plate carrying brackets and flanges,
some turned, one mirrored, one flange on another layer, among centre lines, texts and other
geometry that is no twin of anything.

Run with Debian's /usr/bin/python3 and python3-ezdxf. The drawing is committed; this script is
kept so that it can be made again or changed.
"""
import math
import sys

import ezdxf

BRACKET = [  # an L-shaped bracket with a rounded inner corner: (x, y, bulge to the next vertex)
    (0, 0, 0), (40, 0, 0), (40, 10, 0), (16, 10, -0.4142), (10, 16, 0), (10, 30, 0), (0, 30, 0)]
BRACKET_HOLES = [(28, 5, 2.5), (5, 22, 2.5)]

FLANGE = [  # a square flange with chamfered corners
    (4, 0, 0), (32, 0, 0), (36, 4, 0), (36, 32, 0), (32, 36, 0), (4, 36, 0), (0, 32, 0), (0, 4, 0)]
FLANGE_HOLES = [(18, 18, 8), (6, 6, 2), (30, 6, 2), (30, 30, 2), (6, 30, 2)]


def place(x, y, px, py, degrees, mirrored):
    """A point of a part moved to (px, py), turned by degrees, optionally mirrored first."""
    if mirrored:
        y = -y
    a = math.radians(degrees)
    return (px + x * math.cos(a) - y * math.sin(a), py + x * math.sin(a) + y * math.cos(a))


def add_part(msp, outline, holes, px, py, degrees=0, mirrored=False, layer="PARTS", color=7):
    attribs = {"layer": layer, "color": color}
    points = []
    for x, y, bulge in outline:
        qx, qy = place(x, y, px, py, degrees, mirrored)
        points.append((qx, qy, 0, 0, -bulge if mirrored else bulge))
    msp.add_lwpolyline(points, format="xyseb", close=True, dxfattribs=attribs)
    for x, y, r in holes:
        msp.add_circle(place(x, y, px, py, degrees, mirrored), r, dxfattribs=attribs)


def main(path):
    doc = ezdxf.new("R2010", setup=True)
    doc.header["$INSUNITS"] = 4  # millimetres
    doc.layers.add("PLATE", color=8)
    doc.layers.add("PARTS", color=7)
    doc.layers.add("SPARE", color=3)
    doc.layers.add("CENTER", color=1, linetype="CENTER")
    doc.layers.add("NOTES", color=2)
    msp = doc.modelspace()

    # The plate and its centre lines.
    msp.add_lwpolyline([(0, 0), (420, 0), (420, 260), (0, 260)], close=True,
                       dxfattribs={"layer": "PLATE"})
    msp.add_line((210, -10), (210, 270), dxfattribs={"layer": "CENTER"})
    msp.add_line((-10, 130), (430, 130), dxfattribs={"layer": "CENTER"})

    # Brackets: two as drawn, two turned, one mirrored.
    add_part(msp, BRACKET, BRACKET_HOLES, 20, 20)
    add_part(msp, BRACKET, BRACKET_HOLES, 90, 20)
    add_part(msp, BRACKET, BRACKET_HOLES, 200, 60, degrees=90)
    add_part(msp, BRACKET, BRACKET_HOLES, 250, 30, degrees=30)
    add_part(msp, BRACKET, BRACKET_HOLES, 340, 60, mirrored=True)

    # Flanges: two as drawn, one turned, one on the spare layer in another colour.
    add_part(msp, FLANGE, FLANGE_HOLES, 30, 180)
    add_part(msp, FLANGE, FLANGE_HOLES, 100, 180)
    add_part(msp, FLANGE, FLANGE_HOLES, 200, 170, degrees=45)
    add_part(msp, FLANGE, FLANGE_HOLES, 330, 180, layer="SPARE", color=3)

    # Clutter: slots, a near-bracket with one hole moved, notes.
    for i in range(4):
        x = 150 + 14 * i
        msp.add_lwpolyline([(x, 110, 0, 0, 0), (x + 6, 110, 0, 0, 1), (x + 6, 120, 0, 0, 0),
                            (x, 120, 0, 0, 1)], format="xyseb", close=True,
                           dxfattribs={"layer": "PLATE"})
    near = [(28, 5, 2.5), (5, 23, 2.5)]
    add_part(msp, BRACKET, near, 20, 90)
    msp.add_text("BASE PLATE 420 x 260", height=6,
                 dxfattribs={"layer": "NOTES", "insert": (10, 236)})
    msp.add_text("동일부품검색 예제", height=6, dxfattribs={"layer": "NOTES", "insert": (260, 236)})

    doc.saveas(path)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "samples/demo-plate.dxf")
