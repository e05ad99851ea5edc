#!/usr/bin/python3
"""Holes in real drawings, counted with ezdxf and geometry of this test's own, against the count
the tool reports when one hole is indicated as a user would: a hole is a circle of the
indicated one's radius, lying wholly in the search range, with nothing drawn inside it.

    /usr/bin/python3 tests/tools/real_holes_test.py TOOL SAMPLES_DIR
"""
import math
import os
import re
import subprocess
import sys
import tempfile

import ezdxf
from ezdxf import bbox

# Drawing, search range, the centre of the hole to indicate.
CASES = [
    ("crkbd-F.Cu.dxf", (128, -108, 162, -60), (138.2, -89.5)),
    # (api-cw750-details.dxf draws its circles on layers that are off: none is seen or selected.)
    ("floorplan.dxf", (-1000, -1000, 1000, 1000), (-379.763, 326.042)),
]


def points_of(e):
    """Points whose being inside a circle puts the whole entity inside it (None: can't tell)."""
    t = e.dxftype()
    if t == "LINE":
        return [e.dxf.start, e.dxf.end]
    if t in ("CIRCLE", "ARC"):
        c, r = e.dxf.center, e.dxf.radius
        return [(c.x - r, c.y - r), (c.x + r, c.y - r), (c.x - r, c.y + r), (c.x + r, c.y + r)]
    if t == "LWPOLYLINE":
        return [(x, y) for x, y, *_ in e.get_points()]
    b = bbox.extents([e])
    if not b.has_data:
        return None
    return [(b.extmin.x, b.extmin.y), (b.extmax.x, b.extmax.y), (b.extmin.x, b.extmax.y),
            (b.extmax.x, b.extmin.y)]


def independent_count(path, search_range, centre):
    doc = ezdxf.readfile(path)
    # What a person sees: layers that are off (a negative colour) or frozen are not drawn.
    hidden = {layer.dxf.name.upper() for layer in doc.layers
              if layer.dxf.color < 0 or layer.dxf.flags & 1}
    msp = [e for e in doc.modelspace() if e.dxf.get("layer", "0").upper() not in hidden]
    circles = [e for e in msp if e.dxftype() == "CIRCLE"]
    radius = min(circles, key=lambda c: math.dist((c.dxf.center.x, c.dxf.center.y), centre)).dxf.radius
    others = [(e, points_of(e)) for e in msp if e.dxftype() in
              ("LINE", "CIRCLE", "ARC", "LWPOLYLINE", "INSERT", "POLYLINE")]
    x1, y1, x2, y2 = search_range
    holes = 0
    for c in circles:
        cx, cy, r = c.dxf.center.x, c.dxf.center.y, c.dxf.radius
        if abs(r - radius) > 1e-9 or not (x1 <= cx - r and cx + r <= x2 and y1 <= cy - r and cy + r <= y2):
            continue
        inside = lambda p: math.hypot(p[0] - cx, p[1] - cy) <= r + 1e-6  # on it counts
        holes += not any(e is not c and pts and all(inside(p) for p in pts) for e, pts in others)
    return radius, holes


def tool_count(tool, path, search_range, centre, radius, rotate, folder):
    settings = os.path.join(folder, "s.reg")
    with open(settings, "w") as f:
        f.write("Windows Registry Editor Version 5.00\n\n"
                "[HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind]\n\"mIsArrange\"=\"0\"\n"
                f"\"mIsRotate\"=\"{1 if rotate else 0}\"\n")
    m = radius * 1.05
    script = (f"range {' '.join(map(str, search_range))}\n"
              f"range {centre[0] - m} {centre[1] - m} {centre[0] + m} {centre[1] + m}\nend\nend\n")
    out = subprocess.run([tool, "run", path, "--settings", settings], input=script, text=True,
                         capture_output=True, cwd=folder, env=dict(os.environ, HOME=folder)).stdout
    found = re.search(r"info: 총 ([0-9]+)개의 동일한 부품을 발견하였습니다", out)
    return int(found.group(1)) if found else 0


def main(tool, samples):
    failed = 0
    with tempfile.TemporaryDirectory() as folder:
        for name, search_range, centre in CASES:
            path = os.path.join(samples, "real", name)
            radius, expected = independent_count(path, search_range, centre)
            for rotate in (False, True):
                found = tool_count(tool, path, search_range, centre, radius, rotate, folder)
                verdict = "ok" if found == expected and expected >= 2 else "FAILED"
                failed += verdict != "ok"
                print(f"{verdict}: {name} holes of radius {radius:g}, rotation {'on' if rotate else 'off'}:"
                      f" counted {expected}, the tool found {found}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
