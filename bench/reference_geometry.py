"""Plain geometry of figures for the reference search (reference_search.py).

A figure is a tuple:
    ("L", x1, y1, x2, y2)                      a line from (x1, y1) to (x2, y2)
    ("C", cx, cy, r)                           a circle
    ("A", cx, cy, sx, sy, ex, ey, r, d)        an arc from (sx, sy) to (ex, ey); d 1 counter-
                                               clockwise, 2 clockwise
    ("P", x, y)                                a point
Written for clarity, with plain lists and loops.
"""
import math

TWO_PI = 2.0 * math.pi
SEARCH_TOLERANCE = 1e-9  # geometry this close to a window's edge meets it
JOINT_TOLERANCE = 1e-6  # ends this close join in an outline
ON_OUTLINE = 1e-9  # a point this close to an outline is not outside it


def angle_of(x, y):
    a = math.atan2(y, x)
    if a < 0:
        a += TWO_PI
    if a >= TWO_PI:
        a -= TWO_PI
    return a


def line_angle(x1, y1, x2, y2):
    """The direction from (x1, y1) to (x2, y2) in [0, 2 pi), by the search's own rule."""
    if x1 != x2:
        a = math.atan((y2 - y1) / (x2 - x1))
        if x1 > x2:
            a += math.pi
        elif a < 0:
            a += TWO_PI
        return a
    if y1 == y2:
        return 0.0
    return 1.5 * math.pi if y1 > y2 else 0.5 * math.pi


def sweep_of(arc):
    """The counter-clockwise sweep (from, length) an arc covers."""
    _, cx, cy, sx, sy, ex, ey, _, d = arc
    start, end = angle_of(sx - cx, sy - cy), angle_of(ex - cx, ey - cy)
    if d == 2:
        start, end = end, start
    sweep = end - start
    if sweep <= 0:
        sweep += TWO_PI
    return start, sweep


def on_sweep(sweep, angle, tolerance=0.0):
    offset = angle - sweep[0]
    while offset < -tolerance:
        offset += TWO_PI
    while offset >= TWO_PI - tolerance:
        offset -= TWO_PI
    return -tolerance <= offset <= sweep[1] + tolerance


def extent(figures):
    """The exact box (min x, min y, max x, max y) of a segment's figures."""
    xs, ys = [], []
    for f in figures:
        if f[0] == "L":
            xs += [f[1], f[3]]
            ys += [f[2], f[4]]
        elif f[0] == "C":
            r = abs(f[3])
            xs += [f[1] - r, f[1] + r]
            ys += [f[2] - r, f[2] + r]
        elif f[0] == "A":
            _, cx, cy, sx, sy, ex, ey, r, _ = f
            r = abs(r)
            xs += [sx, ex]
            ys += [sy, ey]
            sweep = sweep_of(f)
            for a, x, y in ((0.0, cx + r, cy), (0.5 * math.pi, cx, cy + r),
                            (math.pi, cx - r, cy), (1.5 * math.pi, cx, cy - r)):
                if on_sweep(sweep, a):
                    xs.append(x)
                    ys.append(y)
        elif f[0] == "P":
            xs.append(f[1])
            ys.append(f[2])
    if not xs:
        return None
    return (min(xs), min(ys), max(xs), max(ys))


def widened(box, by):
    return (box[0] - by, box[1] - by, box[2] + by, box[3] + by)


def line_meets_box(x1, y1, x2, y2, box):
    """Does the line from (x1, y1) to (x2, y2) meet the closed box? (Liang-Barsky clipping.)"""
    t0, t1 = 0.0, 1.0
    dx, dy = x2 - x1, y2 - y1
    for p, q in ((-dx, x1 - box[0]), (dx, box[2] - x1), (-dy, y1 - box[1]), (dy, box[3] - y1)):
        if p == 0.0:
            if q < 0.0:
                return False
        else:
            t = q / p
            if p < 0.0:
                t0 = max(t0, t)
            else:
                t1 = min(t1, t)
            if t0 > t1:
                return False
    return True


def circle_meets_box(cx, cy, r, box):
    """The circle's rim meets the box: the box comes within r of the centre, not wholly inside."""
    nx, ny = min(max(cx, box[0]), box[2]), min(max(cy, box[1]), box[3])
    nearest = math.hypot(cx - nx, cy - ny)
    farthest = math.hypot(max(abs(cx - box[0]), abs(cx - box[2])),
                          max(abs(cy - box[1]), abs(cy - box[3])))
    return nearest <= r and farthest >= r


def point_in_box(x, y, box):
    return box[0] <= x <= box[2] and box[1] <= y <= box[3]


def arc_meets_box(arc, box):
    _, cx, cy, sx, sy, ex, ey, r, _ = arc
    if point_in_box(sx, sy, box) or point_in_box(ex, ey, box):
        return True
    r = abs(r)
    if not circle_meets_box(cx, cy, r, box):
        return False
    # Neither end lies in the box: the arc meets it where it crosses one of its edges.
    sweep = sweep_of(arc)
    slack = SEARCH_TOLERANCE / r if r > 0 else 0.0
    for x in (box[0], box[2]):
        h = r * r - (x - cx) ** 2
        if h >= 0:
            for y in (cy - math.sqrt(h), cy + math.sqrt(h)):
                if box[1] <= y <= box[3] and on_sweep(sweep, angle_of(x - cx, y - cy), slack):
                    return True
    for y in (box[1], box[3]):
        h = r * r - (y - cy) ** 2
        if h >= 0:
            for x in (cx - math.sqrt(h), cx + math.sqrt(h)):
                if box[0] <= x <= box[2] and on_sweep(sweep, angle_of(x - cx, y - cy), slack):
                    return True
    return False


def figure_meets_box(f, box):
    """Crossing test of one figure against the box, already widened by the search tolerance."""
    if f[0] == "L":
        return line_meets_box(f[1], f[2], f[3], f[4], box)
    if f[0] == "C":
        return circle_meets_box(f[1], f[2], abs(f[3]), box)
    if f[0] == "A":
        return arc_meets_box(f, box)
    return point_in_box(f[1], f[2], box)


# Moving, turning, mirroring and reversing figures.

def placed(f, move):
    """The figure under move(x, y) -> (x, y); `flips` arcs when the move is a mirror image."""
    point, flips = move
    if f[0] == "L":
        a, b = point(f[1], f[2]), point(f[3], f[4])
        return ("L", a[0], a[1], b[0], b[1])
    if f[0] == "C":
        c = point(f[1], f[2])
        return ("C", c[0], c[1], f[3])
    if f[0] == "A":
        c, s, e = point(f[1], f[2]), point(f[3], f[4]), point(f[5], f[6])
        d = f[8]
        if flips:
            d = 2 if d == 1 else 1 if d == 2 else d
        return ("A", c[0], c[1], s[0], s[1], e[0], e[1], f[7], d)
    p = point(f[1], f[2])
    return ("P", p[0], p[1])


def turn_and_move(pivot, target, radians):
    """Points turned about pivot by the angle, then moved from pivot to target."""
    c, s = math.cos(radians), math.sin(radians)

    def point(x, y):
        dx, dy = x - pivot[0], y - pivot[1]
        return (target[0] + c * dx - s * dy, target[1] + s * dx + c * dy)
    return point, False


def mirror_across(p, phi):
    """Points mirrored across the line through p in the direction phi."""
    c, s = math.cos(2 * phi), math.sin(2 * phi)

    def point(x, y):
        dx, dy = x - p[0], y - p[1]
        return (p[0] + c * dx + s * dy, p[1] + s * dx - c * dy)
    return point, True


def reversed_figure(f):
    if f[0] == "L":
        return ("L", f[3], f[4], f[1], f[2])
    if f[0] == "A":
        return ("A", f[1], f[2], f[5], f[6], f[3], f[4], f[7], 2 if f[8] == 1 else 1)
    return f


def reversed_segment(figures):
    return [reversed_figure(f) for f in reversed(figures)]


# Comparing figures.

def within(a, b, t):
    return abs(a - b) < t


def figures_agree(a, b, t):
    if a[0] != b[0]:
        return False
    if a[0] == "A":
        return all(within(a[i], b[i], t) for i in range(1, 8)) and a[8] == b[8]
    return all(within(a[i], b[i], t) for i in range(1, len(a)))


def all_matched(a, b, t):
    """Every figure of a takes the first figure of b not yet taken that agrees with it, and in
    the end every figure of b is taken."""
    taken = [False] * len(b)
    for fa in a:
        for k, fb in enumerate(b):
            if not taken[k] and figures_agree(fa, fb, t):
                taken[k] = True
                break
    return all(taken)


# Closed outlines.

def ends_of(f):
    if f[0] == "L":
        return (f[1], f[2]), (f[3], f[4])
    return (f[3], f[4]), (f[5], f[6])


def is_closed(figures):
    """One closed chain: a lone circle, or lines and arcs walked end to start through every
    figure once: every joint joins an even number of ends and the figures hang together."""
    if len(figures) == 1 and figures[0][0] == "C":
        return True
    if not figures or any(f[0] not in ("L", "A") for f in figures):
        return False
    ends = []
    for f in figures:
        ends += list(ends_of(f))
    parent = list(range(len(ends)))

    def root(i):
        while parent[i] != i:
            i = parent[i]
        return i
    for i in range(len(ends)):
        for j in range(i + 1, len(ends)):
            if math.hypot(ends[i][0] - ends[j][0], ends[i][1] - ends[j][1]) <= JOINT_TOLERANCE:
                parent[root(i)] = root(j)
    at_joint = [0] * len(ends)
    for i in range(len(ends)):
        at_joint[root(i)] += 1
    if any(n % 2 for n in at_joint):
        return False
    for i in range(0, len(ends), 2):
        parent[root(i)] = root(i + 1)
    return all(root(i) == root(0) for i in range(len(ends)))


def distance_to(f, x, y):
    if f[0] == "L":
        _, x1, y1, x2, y2 = f
        dx, dy = x2 - x1, y2 - y1
        n = dx * dx + dy * dy
        t = ((x - x1) * dx + (y - y1) * dy) / n if n > 0 else 0.0
        t = min(max(t, 0.0), 1.0)
        return math.hypot(x - x1 - t * dx, y - y1 - t * dy)
    if f[0] == "C":
        return abs(math.hypot(x - f[1], y - f[2]) - abs(f[3]))
    if f[0] == "A":
        _, cx, cy, sx, sy, ex, ey, r, _ = f
        if (x, y) != (cx, cy) and on_sweep(sweep_of(f), angle_of(x - cx, y - cy)):
            return abs(math.hypot(x - cx, y - cy) - abs(r))
        return min(math.hypot(x - sx, y - sy), math.hypot(x - ex, y - ey))
    return None


def monotone_pieces(cx, cy, r, start, sweep, first, last):
    """A counter-clockwise sweep from the point `first` to the point `last`, cut at the circle's
    top and bottom: (p, q, side) pieces along which y runs one way, side +1 on the right half of
    the circle, -1 on the left."""
    pieces = []
    at, left, p = start, sweep, first
    while left > 0:
        turn = min(t for t in (0.5 * math.pi, 1.5 * math.pi, 2.5 * math.pi, 3.5 * math.pi)
                   if t > at)
        last_piece = turn - at >= left
        step = left if last_piece else turn - at
        q = last if last_piece else (cx, cy + r if math.sin(turn) > 0 else cy - r)
        pieces.append((p, q, 1.0 if math.cos(at + step / 2) >= 0 else -1.0))
        p, at, left = q, at + step, left - step
        if at >= TWO_PI:
            at -= TWO_PI
    return pieces


def is_outside(outline, x, y):
    """The point lies strictly outside the closed outline (a ray to the right crosses it an even
    number of times); a point on the outline is not outside."""
    inside = False
    for f in outline:
        d = distance_to(f, x, y)
        if d is not None and d <= ON_OUTLINE:
            return False
        if f[0] == "L":
            (px, py), (qx, qy) = (f[1], f[2]), (f[3], f[4])
            if (py > y) != (qy > y) and px + (y - py) * (qx - px) / (qy - py) > x:
                inside = not inside
            continue
        if f[0] == "C":
            cx, cy, r = f[1], f[2], abs(f[3])
            start, sweep = 0.0, TWO_PI
            first = last = (cx + r, cy)
        elif f[0] == "A":
            cx, cy, r = f[1], f[2], abs(f[7])
            start, sweep = sweep_of(f)
            first, last = (f[3], f[4]), (f[5], f[6])
            if f[8] == 2:  # a clockwise arc's sweep runs from its end to its start
                first, last = last, first
        else:
            continue
        for p, q, side in monotone_pieces(cx, cy, r, start, sweep, first, last):
            if (p[1] > y) != (q[1] > y):
                h = r * r - (y - cy) ** 2
                if cx + side * math.sqrt(max(h, 0.0)) > x:
                    inside = not inside
    return not inside


def test_points(f):
    """The points of a figure that must lie inside an outline for the figure to lie inside."""
    if f[0] == "L":
        return [(f[1], f[2]), (f[3], f[4])]
    if f[0] == "C":
        cx, cy, r = f[1], f[2], f[3]
        return [(cx, cy), (cx - r, cy), (cx + r, cy), (cx, cy - r), (cx, cy + r)]
    if f[0] == "A":
        return [(f[1], f[2]), (f[3], f[4]), (f[5], f[6])]
    return [(f[1], f[2])]
