"""Part sheets as laser and CNC shops draw them, with their counts known from how they were drawn:
bars side by side whose long edges lie on each other (each drawn whole), bars that share their
cut lines, crosses nested into each other, interlocked cradles, U-shaped tab slots turned every
way in a plate, a gear of 59 teeth drawn as short chords and arcs, and a sheet whose coordinates
were rounded to 0.001. Each sheet function writes the DXF and returns what a person counts on
it: for each kind of part, a window around one of them and how many there are.

    /usr/bin/python3 tests/tools/shop_sheets.py NAME OUT.dxf     writes one sheet (for a look)
"""
import math
import sys
from dataclasses import dataclass

import ezdxf


@dataclass
class Kind:
    name: str
    window: tuple  # x1, y1, x2, y2 around one part (that part alone lies wholly inside)
    count: int
    pick: tuple = None    # a point on that part's outline, for a click
    picked: int = None    # how many a click there finds, where it indicates more than the part
    tolerance: str = None  # the mTolerance the sheet needs (a rounded sheet)

    def __post_init__(self):
        if self.picked is None:
            self.picked = self.count


def placed(points, at, degrees=0.0, mirrored=False, digits=None):
    c, s = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))
    out = []
    for x, y in points:
        if mirrored:
            x = -x
        p = (at[0] + c * x - s * y, at[1] + s * x + c * y)
        out.append(tuple(round(v, digits) for v in p) if digits is not None else p)
    return out


def window_of(points, margin):
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return (min(xs) - margin, min(ys) - margin, max(xs) + margin, max(ys) + margin)


def edge_middle(points):
    """The middle of the first edge."""
    (x1, y1), (x2, y2) = points[0], points[1]
    return ((x1 + x2) / 2, (y1 + y2) / 2)


def add_loop(msp, points, as_lines):
    if as_lines:
        for i, p in enumerate(points):
            msp.add_line(p, points[(i + 1) % len(points)])
    else:
        msp.add_lwpolyline(points, close=True)


def bars(path):
    """Eight bars 100 x 10 stacked so that their long edges lie on each other, each drawn whole
    with its own four lines, and a hole near one end of each."""
    doc = ezdxf.new()
    msp = doc.modelspace()
    for i in range(8):
        y = 10.0 * i
        add_loop(msp, [(0, y), (100, y), (100, y + 10), (0, y + 10)], True)
        msp.add_circle((8, y + 5), 2)
    doc.saveas(path)
    return [Kind("bar", (-0.5, 9.9, 100.5, 20.1), 8, pick=(0, 15))]


def shared_bars(path):
    """Eight bars cut with common lines: one line between two bars serves both."""
    doc = ezdxf.new()
    msp = doc.modelspace()
    for i in range(9):
        msp.add_line((0, 10.0 * i), (100, 10.0 * i))
    for i in range(8):
        y = 10.0 * i
        msp.add_line((0, y), (0, y + 10))
        msp.add_line((100, y), (100, y + 10))
        msp.add_circle((8, y + 5), 2)
    doc.saveas(path)
    return [Kind("bar", (-0.5, 9.9, 100.5, 20.1), 8, pick=(0, 15))]


CROSS = [(1, 0), (2, 0), (2, 1), (3, 1), (3, 2), (2, 2), (2, 3), (1, 3), (1, 2), (0, 2), (0, 1),
         (1, 1)]


def crosses(path):
    """Six crosses of five squares, nested into each other as they tile, each a closed outline
    with a hole off its centre (so that a cross turned is no twin of itself)."""
    doc = ezdxf.new()
    msp = doc.modelspace()
    unit = 10.0
    kinds = []
    for i, j in [(0, 0), (1, 0), (2, 0), (0, 1), (1, 1), (2, 1)]:
        ox, oy = (2 * i - j) * unit, (i + 2 * j) * unit
        outline = [(ox + x * unit, oy + y * unit) for x, y in CROSS]
        add_loop(msp, outline, False)
        msp.add_circle((ox + 1.5 * unit, oy + 2.5 * unit), 2)
        if not kinds:
            kinds.append(Kind("cross", window_of(outline, 0.05), 6, pick=edge_middle(outline)))
    doc.saveas(path)
    return kinds


CRADLE = [(0, 0), (30, 0), (30, 20), (20, 20), (20, 10), (10, 10), (10, 20), (0, 20)]


def cradles(path):
    """Two pairs of U-shaped cradles, interlocked: in each pair one stands upright and the other,
    turned a half turn, hangs with one arm in its slot while the upright's arm lies in its own;
    their edges lie on each other. A hole in one arm of each."""
    doc = ezdxf.new()
    msp = doc.modelspace()
    kinds = []
    for pair in range(2):
        dx = 100.0 * pair
        for at, degrees in [((dx, 0.0), 0), ((dx + 20.0, 30.0), 180)]:
            outline = placed(CRADLE, at, degrees)
            add_loop(msp, outline, True)
            msp.add_circle(placed([(5, 15)], at, degrees)[0], 1.5)
            if not kinds:
                kinds.append(Kind("cradle", window_of(outline, 0.05), 4, pick=edge_middle(outline)))
    doc.saveas(path)
    return kinds


U_SLOT = [(0, 0), (0, 12), (8, 12), (8, 0)]


def u_slots(path):
    """A plate 450 x 450 with 128 U-shaped tab slots, open polylines turned every way: 32 at
    each of 0, 90, 180 and 270 degrees, and a round hole in the plate's corner."""
    doc = ezdxf.new()
    msp = doc.modelspace()
    add_loop(msp, [(0, 0), (450, 0), (450, 450), (0, 450)], False)
    msp.add_circle((435, 435), 6)
    kinds = []
    for k in range(128):
        degrees = 90 * (k % 4)
        at = (30 + 50 * (k % 8), 30 + 50 * (k // 8 % 8))
        if k >= 64:
            at = (at[0] + 25, at[1] + 25)
        points = placed(U_SLOT, at, degrees)
        msp.add_lwpolyline(points, close=False)
        if not kinds:
            kinds.append(Kind("slot", window_of(points, 0.05), 128, pick=edge_middle(points)))
    doc.saveas(path)
    return kinds


def gear(path):
    """A gear of 59 teeth, its outline of loose lines and arcs: each tooth four short chords up
    each flank and an arc at its tip, arcs at the roots; a bore. One tooth is a part."""
    doc = ezdxf.new()
    msp = doc.modelspace()
    teeth, root, tip = 59, 40.0, 44.0
    pitch = 2 * math.pi / teeth
    kinds = []
    for k in range(teeth):
        a0 = k * pitch
        flank = []  # up the first flank: radius root to tip, angle moving a little on
        for i in range(5):
            t = i / 4
            r = root + (tip - root) * t
            a = a0 + pitch * (0.25 + 0.1 * t * t)
            flank.append((r * math.cos(a), r * math.sin(a)))
        back = []  # down the other flank, mirrored about the tooth's middle
        middle = a0 + pitch * 0.5
        for x, y in reversed(flank):
            r, a = math.hypot(x, y), math.atan2(y, x)
            back.append((r * math.cos(2 * middle - a), r * math.sin(2 * middle - a)))
        tooth = []
        for p, q in zip(flank, flank[1:]):
            tooth.append(msp.add_line(p, q))
        a_start, a_end = math.atan2(flank[-1][1], flank[-1][0]), math.atan2(back[0][1], back[0][0])
        tooth.append(msp.add_arc((0, 0), tip, math.degrees(a_start), math.degrees(a_end)))
        for p, q in zip(back, back[1:]):
            tooth.append(msp.add_line(p, q))
        # The root arc to the next tooth's first flank.
        r_end = a0 + pitch * 1.25
        msp.add_arc((0, 0), root, math.degrees(math.atan2(back[-1][1], back[-1][0])),
                    math.degrees(r_end))
        if not kinds:
            points = flank + back
            box = window_of(points, 0.02)
            # A click on a tooth takes the whole gear: its outline is one.
            kinds.append(Kind("tooth", box, teeth, pick=edge_middle(flank), picked=1))
    msp.add_circle((0, 0), 10)
    doc.saveas(path)
    return kinds


# Its first line, which the search lays a copy by, is the short end of an arm: the turn read off
# it is the least sure.
BRACKET = [(50, 0), (50, 4), (4, 4), (4, 35), (0, 35), (0, 0)]


def rounded(path):
    """An R12 sheet whose coordinates were rounded to 0.001: an L-shaped bracket with narrow
    arms and two holes, placed plainly and turned by 17 and 241 degrees."""
    doc = ezdxf.new("R12")
    msp = doc.modelspace()
    kinds = []
    for k, (at, degrees) in enumerate([((0, 0), 0), ((120, 10), 17), ((260, 90), 241)]):
        outline = placed(BRACKET, at, degrees, digits=3)
        for i, p in enumerate(outline):
            msp.add_line(p, outline[(i + 1) % len(outline)])
        for centre, radius in [((2, 28), 1), ((42, 2), 1)]:
            msp.add_circle(placed([centre], at, degrees, digits=3)[0], radius)
        if k == 0:
            kinds.append(Kind("bracket", window_of(outline, 0.05), 3, pick=edge_middle(outline),
                              tolerance="0.002"))
    doc.saveas(path)
    return kinds


SHEETS = {"bars": bars, "shared_bars": shared_bars, "crosses": crosses, "cradles": cradles,
          "u_slots": u_slots, "gear": gear, "rounded": rounded}

if __name__ == "__main__":
    for kind in SHEETS[sys.argv[1]](sys.argv[2]):
        print(kind)
