#!/usr/bin/python3
"""A straightforward reference implementation of Twinfind's same-part search, for comparing
the tool's speed and results with (bench/tool_vs_python.py). Plain Python lists and loops: no
numpy, no spatial index; every window is found by looking at every segment of the drawing.

    /usr/bin/python3 bench/reference_search.py DRAWING.dxf --range X1 Y1 X2 Y2 \\
        --part X1 Y1 X2 Y2 [--rotate] [--mirror] [--tolerance T]

It reads the drawing with ezdxf (one segment per entity, a block reference flattened into one),
takes the range and the part as window selections, and follows the search's rules: every line
of an unused range segment with the anchor line's length is a candidate; a copy of the part
turned about the anchor's start is placed there; the drawing segments crossing the window around
it are paired with the copy's segments by figure comparison (within 0.001, either drawing
direction); the counts decide, forgiving segments outside the copy's closed outline; a failed
placement is tried mirrored across the candidate line (with --mirror) and, with --rotate, the
whole again from the candidate line's other end. Matches sharing a segment with a later one are
dropped, as the general method does. Prints "twins N" (and how many are mirror images). Layer
and line-attribute conditions are not followed (the tool's defaults leave them off).
"""
import argparse
import math
import sys

import ezdxf

import reference_geometry as g

SEARCH_EPS = 1e-6  # anchor length and angle (the default tolerance)
COINCIDE_EPS = 1e-3  # coordinates of two figures
RANGE_CAPACITY, PART_CAPACITY, WORK_CAPACITY = 10000, 1000, 1000


class Segment:
    def __init__(self, number, figures):
        self.number = number  # drawing order
        self.figures = figures
        self.box = g.extent(figures)


def bulge_span(p, q, bulge):
    """The figure of one polyline span from p to q."""
    if bulge == 0:
        return ("L", p[0], p[1], q[0], q[1])
    chord = math.hypot(q[0] - p[0], q[1] - p[1])
    nx, ny = -(q[1] - p[1]) / chord, (q[0] - p[0]) / chord  # left of the chord
    offset = chord * (1 - bulge * bulge) / (4 * bulge)
    cx, cy = (p[0] + q[0]) / 2 + nx * offset, (p[1] + q[1]) / 2 + ny * offset
    r = chord * (1 + bulge * bulge) / (4 * abs(bulge))
    return ("A", cx, cy, p[0], p[1], q[0], q[1], r, 1 if bulge > 0 else 2)


def polyline_figures(points, closed):
    """points: (x, y, bulge) of each vertex."""
    figures = []
    spans = len(points) if closed else len(points) - 1
    for i in range(spans):
        p, q = points[i], points[(i + 1) % len(points)]
        if (p[0], p[1]) != (q[0], q[1]):
            figures.append(bulge_span(p, q, p[2]))
    return figures


def clockwise_mark(entity):
    return entity.has_xdata("TWINFIND") and any(
        tag.value == "clockwise" for tag in entity.get_xdata("TWINFIND"))


def figures_of(entity):
    """The figures of an entity in drawing coordinates. An entity seen from below (extrusion
    0, 0, -1, as a mirrored block reference leaves its circles, arcs and polylines) has its
    coordinates in a plane whose x runs the other way."""
    figures = plane_figures_of(entity)
    in_plane = ("CIRCLE", "ARC", "LWPOLYLINE", "POLYLINE")  # LINE and POINT are in drawing x, y
    if entity.dxftype() in in_plane and entity.dxf.get("extrusion", (0, 0, 1))[2] < 0:
        flip = (lambda x, y: (-x, y), True)
        figures = [g.placed(f, flip) for f in figures]
    return figures


def plane_figures_of(entity):
    kind = entity.dxftype()
    if kind == "LINE":
        s, e = entity.dxf.start, entity.dxf.end
        return [("L", s.x, s.y, e.x, e.y)]
    if kind == "CIRCLE":
        c = entity.dxf.center
        return [("C", c.x, c.y, entity.dxf.radius)]
    if kind == "ARC":
        c, r = entity.dxf.center, entity.dxf.radius
        a0, a1 = math.radians(entity.dxf.start_angle), math.radians(entity.dxf.end_angle)
        s = (c.x + r * math.cos(a0), c.y + r * math.sin(a0))
        e = (c.x + r * math.cos(a1), c.y + r * math.sin(a1))
        if clockwise_mark(entity):  # the same points, drawn from the end angle back
            return [("A", c.x, c.y, e[0], e[1], s[0], s[1], r, 2)]
        return [("A", c.x, c.y, s[0], s[1], e[0], e[1], r, 1)]
    if kind == "POINT":
        p = entity.dxf.location
        return [("P", p.x, p.y)]
    if kind == "LWPOLYLINE":
        points = [(x, y, b) for x, y, _, _, b in entity.get_points("xyseb")]
        return polyline_figures(points, entity.closed)
    if kind == "POLYLINE" and entity.is_2d_polyline:
        points = [(v.dxf.location.x, v.dxf.location.y, v.dxf.bulge) for v in entity.vertices]
        return polyline_figures(points, entity.is_closed)
    if kind == "INSERT":
        figures = []
        for part in entity.virtual_entities():
            figures += figures_of(part)
        return figures
    return []


def read_drawing(path):
    segments = []
    for entity in ezdxf.readfile(path).modelspace():
        figures = figures_of(entity)
        if figures:
            segments.append(Segment(len(segments), figures))
    return segments


def select(segments, window):
    """A window selection: the segments lying wholly inside, in drawing order."""
    return inside_window(segments, window)


def crossing(segments, window):
    """Every segment with a figure meeting the window."""
    near = g.widened(window, g.SEARCH_TOLERANCE)
    low_x, low_y, high_x, high_y = near
    found = []
    for s in segments:
        b = s.box  # the extent first: most segments lie far away
        if b[0] > high_x or b[2] < low_x or b[1] > high_y or b[3] < low_y:
            continue
        if any(g.figure_meets_box(f, near) for f in s.figures):
            found.append(s)
    return found


def inside_window(segments, window):
    """Every segment lying wholly inside the window."""
    low_x, low_y, high_x, high_y = g.widened(window, g.SEARCH_TOLERANCE)
    found = []
    for s in segments:
        b = s.box
        if b[0] >= low_x and b[1] >= low_y and b[2] <= high_x and b[3] <= high_y:
            found.append(s)
    return found


def placement_window(d_theta, pivot, target, box):
    """The part's box turned about the anchor start, widened by 1 percent, moved there."""
    turn, _ = g.turn_and_move(pivot, pivot, d_theta)
    corners = [turn(x, y) for x, y in ((box[0], box[1]), (box[2], box[1]), (box[2], box[3]),
                                       (box[0], box[3]))]
    min_x, min_y = min(c[0] for c in corners), min(c[1] for c in corners)
    max_x, max_y = max(c[0] for c in corners), max(c[1] for c in corners)
    min_x -= 0.01 * abs(max_x - min_x)
    min_y -= 0.01 * abs(max_y - min_y)
    max_x += 0.01 * abs(max_x - min_x)
    max_y += 0.01 * abs(max_y - min_y)
    dx, dy = target[0] - pivot[0], target[1] - pivot[1]
    return (min_x + dx, min_y + dy, max_x + dx, max_y + dy)


def mirror_window(start, end, window):
    mirror, _ = g.mirror_across(start, g.line_angle(start[0], start[1], end[0], end[1]))
    corners = [mirror(x, y) for x in (window[0], window[2]) for y in (window[1], window[3])]
    return (min(c[0] for c in corners), min(c[1] for c in corners),
            max(c[0] for c in corners), max(c[1] for c in corners))


def coincide(a, b, tolerance):
    """Two segments hold the same figures in the same place, in either drawing direction."""
    if len(a) != len(b):
        return False
    return g.all_matched(a, b, tolerance) or g.all_matched(a, g.reversed_segment(b), tolerance)


def inside_answer(closed, other):
    """None when the copy segment cannot tell (not a closed outline); else whether every test
    point of the other segment lies inside it."""
    if not g.is_closed(closed):
        return None
    return all(not g.is_outside(closed, x, y) for f in other for x, y in g.test_points(f))


class Search:
    def __init__(self, segments, targets, part, options):
        self.segments, self.options = segments, options
        self.targets = targets
        self.used = [False] * len(targets)
        self.part = part
        self.tolerance = max(COINCIDE_EPS, options.tolerance)
        box = None
        for s in part:
            box = s.box if box is None else (min(box[0], s.box[0]), min(box[1], s.box[1]),
                                             max(box[2], s.box[2]), max(box[3], s.box[3]))
        self.part_box = box
        self.anchor = next(f for s in part for f in s.figures if f[0] == "L")
        a = self.anchor
        self.anchor_start = (a[1], a[2])
        self.anchor_angle = g.line_angle(*a[1:])
        self.anchor_length = math.hypot(a[3] - a[1], a[4] - a[2])
        self.matches = []  # (segment numbers, mirrored)

    def pair(self, copies, window):
        used_copy, used_window = [False] * len(copies), [False] * len(window)
        for c, copy in enumerate(copies):
            for w, s in enumerate(window):
                if not used_window[w] and coincide(copy, s.figures, self.tolerance):
                    used_copy[c] = used_window[w] = True
                    break
        return used_window

    def direct_trial(self, start, theta):
        d_theta = theta - self.anchor_angle
        window = placement_window(d_theta, self.anchor_start, start, self.part_box)
        found = crossing(self.segments, window)
        if len(found) > WORK_CAPACITY:
            raise OverflowError("the window holds more than 1000 segments")
        move = g.turn_and_move(self.anchor_start, start, d_theta)
        copies = [[g.placed(f, move) for f in s.figures] for s in self.part]
        paired = self.pair(copies, found)
        n_c, n_w, p_w = len(copies), len(found), sum(paired)
        if n_c == p_w:
            if n_c == n_w:
                return [s for s, p in zip(found, paired) if p], copies, window
            extras = 0
            for s, p in zip(found, paired):
                if p:
                    continue
                for copy in copies:
                    answer = inside_answer(copy, s.figures)
                    if answer is not None:
                        extras += 0 if answer else 1
                        break
            if n_c == n_w - extras:
                return [s for s, p in zip(found, paired) if p], copies, window
        return None, copies, window

    def mirror_trial(self, start, end, copies, window):
        found = inside_window(self.segments, mirror_window(start, end, window))
        if len(found) > WORK_CAPACITY:
            raise OverflowError("the mirror window holds more than 1000 segments")
        move = g.mirror_across(start, g.line_angle(start[0], start[1], end[0], end[1]))
        mirrored = [[g.placed(f, move) for f in copy] for copy in copies]
        paired = self.pair(mirrored, found)
        n_c, p_w = len(mirrored), sum(paired)
        kept = []
        for s, p in zip(found, paired):
            duplicate = not p and any(
                q and coincide(s.figures, v.figures, self.tolerance) for v, q in zip(found, paired))
            if not duplicate:
                kept.append((s, p))
        if n_c == p_w and n_c == len(kept):
            return [s for s, p in kept if p]
        return None

    def try_candidate(self, start, end, theta):
        """The segments of the twin found there and whether it is a mirror image, or None."""
        twin, copies, window = self.direct_trial(start, theta)
        if twin is not None:
            return twin, False
        if self.options.mirror:
            twin = self.mirror_trial(start, end, copies, window)
            if twin is not None:
                return twin, True
        return None

    def is_candidate(self, f):
        if f[0] != "L":
            return None
        length = math.hypot(f[3] - f[1], f[4] - f[2])
        if abs(length - self.anchor_length) >= self.options.tolerance:
            return None
        theta = g.line_angle(*f[1:])
        if not self.options.rotate and abs(theta - self.anchor_angle) >= self.options.tolerance:
            return None
        return theta

    def accept(self, twin, mirrored):
        numbers = [s.number for s in twin]
        self.matches.append((numbers, mirrored))
        for t, target in enumerate(self.targets):
            if not self.used[t] and target.number in numbers:
                self.used[t] = True

    def run(self):
        for t, target in enumerate(self.targets):
            if self.used[t]:
                continue
            for f in target.figures:
                theta = self.is_candidate(f)
                if theta is None:
                    continue
                start, end = (f[1], f[2]), (f[3], f[4])
                found = self.try_candidate(start, end, theta)
                if found is None and self.options.rotate:
                    found = self.try_candidate(end, start, g.line_angle(f[3], f[4], f[1], f[2]))
                if found is not None:
                    self.accept(*found)
                    break

    def without_overlaps(self):
        kept = []
        for m, (numbers, mirrored) in enumerate(self.matches):
            later = [n for other, _ in self.matches[m + 1:] for n in other]
            if not any(n in later for n in numbers):
                kept.append((numbers, mirrored))
        return kept


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("drawing")
    parser.add_argument("--range", nargs=4, type=float, required=True)
    parser.add_argument("--part", nargs=4, type=float, required=True)
    parser.add_argument("--rotate", action="store_true")
    parser.add_argument("--mirror", action="store_true")
    parser.add_argument("--tolerance", type=float, default=SEARCH_EPS)
    options = parser.parse_args()
    as_window = lambda c: (min(c[0], c[2]), min(c[1], c[3]), max(c[0], c[2]), max(c[1], c[3]))
    segments = read_drawing(options.drawing)
    targets = select(segments, as_window(options.range))
    part = select(segments, as_window(options.part))
    if len(targets) > RANGE_CAPACITY or len(part) > PART_CAPACITY:
        sys.exit("reference_search: the range or the part holds too many segments")
    if not part or not any(f[0] == "L" for s in part for f in s.figures):
        sys.exit("reference_search: the part needs a line")
    search = Search(segments, targets, part, options)
    search.run()
    twins = search.without_overlaps()
    print(f"twins {len(twins)}")
    print(f"mirrored {sum(1 for _, m in twins if m)}")


if __name__ == "__main__":
    main()
