#!/usr/bin/python3
"""Splines and ellipses read as lines, as a user meets them: on the generated part sheet
(part_sheet.py) the spline-edged tabs and the eyelets with an elliptical hole are found as twins
(moved, turned, mirrored) by the command from one of them; what the result action does to them
is done to their own SPLINE and ELLIPSE entities (deleted, recoloured, copied into the row as
curves, never as their lines), and every curve the run did not touch is saved byte for byte.

    /usr/bin/python3 tests/tools/curves_test.py TOOL
"""
import os
import re
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

import ezdxf
from ezdxf.math import Vec3

sys.path.insert(0, str(Path(__file__).resolve().parent))
import part_sheet  # noqa: E402

TOOL = None
SETTINGS = ("Windows Registry Editor Version 5.00\n\n"
            "[HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind]\n"
            "\"mIsRotate\"=\"1\"\n\"mIsSymmetry\"=\"1\"\n\"m_ColorMain\"=\"MAINCOLOR06\"\n")
# The search range, and a window over the first placement of each shape.
RANGE = "-20 -20 820 700"
WINDOW = {"plate": "20 30 90 80", "tab": "20 470 90 520", "eyelet": "20 570 90 640"}


def entity_texts(path):
    """Each entity of the ENTITIES section as its bytes, by handle."""
    lines = Path(path).read_bytes().split(b"\n")
    texts, current, handle, inside = {}, [], None, False
    for i in range(0, len(lines) - 1, 2):
        code, value = lines[i].strip(), lines[i + 1].strip()
        if code == b"0":
            if handle is not None:
                texts[handle] = b"\n".join(current)
            current, handle = [], None
        if code == b"2" and value in (b"ENTITIES", b"OBJECTS", b"BLOCKS"):
            inside = value == b"ENTITIES"
        current += [lines[i], lines[i + 1]]
        if inside and code == b"5" and handle is None:
            handle = value.decode()
    return texts


class CurvesTest(unittest.TestCase):
    def run_command(self, folder, shape, figure, arrange):
        sheet = Path(folder) / "sheet.dxf"
        shapes = {s.name: s for s in part_sheet.write_sheet(sheet)}
        settings = Path(folder) / "s.reg"
        settings.write_text(SETTINGS + f'"mFigure"="{figure}"\n"mIsArrange"="{arrange}"\n')
        script = f"range {RANGE}\nrange {WINDOW[shape]}\nend\n" + ("point 0 -300\n" if arrange
                                                                      else "") + "end\n"
        out = Path(folder) / "out.dxf"
        done = subprocess.run([TOOL, "run", sheet, "--settings", settings, "--out", out],
                              input=script, capture_output=True, text=True, cwd=folder,
                              env=dict(os.environ, HOME=folder), timeout=300)
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
        found = re.search(r"info: 총 ([0-9]+)개의 동일한 부품을 발견하였습니다", done.stdout)
        self.assertIsNotNone(found, done.stdout)
        self.assertEqual(int(found.group(1)), shapes[shape].count)
        return sheet, out, shapes[shape]

    def test_curves_found_as_twins_are_acted_on_as_their_own_entities(self):
        # Shape, result action (0 leave, 1 delete, 2 recolour), row of copies.
        for shape, figure, arrange in (("tab", 1, 1), ("eyelet", 2, 0), ("eyelet", 0, 1)):
            with self.subTest(shape=shape, figure=figure, arrange=arrange), \
                    tempfile.TemporaryDirectory() as folder:
                sheet, out, found = self.run_command(folder, shape, figure, arrange)
                before, after = ezdxf.readfile(sheet), ezdxf.readfile(out)
                self.assertFalse(after.audit().has_errors)
                curve_type = "SPLINE" if shape == "tab" else "ELLIPSE"
                twins = {h for member in found.members for h in member
                         if before.entitydb[h].dxftype() == curve_type}
                self.assertEqual(len(twins), found.count)
                curves = [e for e in after.modelspace() if e.dxftype() == curve_type]
                kept = {e.dxf.handle: e for e in curves if e.dxf.handle in twins}
                copies = [e for e in curves if e.dxf.handle not in twins]
                self.assertEqual(len(kept), 0 if figure == 1 else found.count)
                for handle, e in kept.items():
                    self.assertEqual(e.dxf.get("color", 256), 1 if figure == 2 else 5)
                    self.assertEqual(geometry(e), geometry(before.entitydb[handle]))
                # The row: one copy of each twin, the curve moved, not its lines.
                self.assertEqual(len(copies), found.count if arrange else 0)
                originals = [geometry(before.entitydb[h]) for h in twins]
                for copy in copies:
                    self.assertTrue(any(moved_alike(geometry(copy), o) for o in originals))
                # No curve came back as its lines: the new polylines are the eyelets' outlines
                # and the frame, of four corners.
                added = [e for e in after.modelspace() if e.dxf.handle not in before.entitydb]
                self.assertTrue(all(len(e) == 4 for e in added if e.dxftype() == "LWPOLYLINE"))
                self.assertNotIn("POLYLINE", {e.dxftype() for e in added})

    def test_curves_the_run_did_not_touch_are_saved_byte_for_byte(self):
        with tempfile.TemporaryDirectory() as folder:
            sheet, out, _ = self.run_command(folder, "plate", 1, 0)  # the plates deleted
            before, after = entity_texts(sheet), entity_texts(out)
            doc = ezdxf.readfile(sheet)
            curves = [h for h in before if doc.entitydb[h].dxftype() in ("SPLINE", "ELLIPSE")]
            self.assertEqual(len(curves), 14)
            for handle in curves:
                self.assertEqual(after.get(handle), before[handle], handle)


def geometry(e):
    """Points in world coordinates, and the rest of the curve's shape."""
    if e.dxftype() == "SPLINE":
        return [Vec3(p) for p in e.control_points], (tuple(e.knots), tuple(e.weights))
    return [Vec3(e.dxf.center)], (tuple(e.dxf.major_axis), e.dxf.ratio, e.dxf.start_param,
                                  e.dxf.end_param, tuple(e.dxf.extrusion))


def moved_alike(a, b):
    (points_a, rest_a), (points_b, rest_b) = a, b
    if rest_a != rest_b or len(points_a) != len(points_b):
        return False
    moves = {(round(p.x - q.x, 6), round(p.y - q.y, 6)) for p, q in zip(points_a, points_b)}
    return len(moves) == 1


if __name__ == "__main__":
    TOOL = sys.argv.pop(1)
    unittest.main(verbosity=2)
