#!/usr/bin/python3
"""The outputs that hand parts on, run as a user runs them on a generated part sheet
(part_sheet.py) and read back with ezdxf: `survey --split` (with and without --split-hands)
gives one file per family whose entities are the member's own, moved to the origin, and a parts
list whose counts, sizes, cut lengths, pierces and areas are the sheet's own geometry;
`survey --out --blocks` and `run --out --blocks` give one block per family with one reference
per twin at the twin's place, every other entity unchanged; what cannot be done is refused.

    /usr/bin/python3 tests/tools/parts_test.py TOOL
"""
import csv
import json
import math
import os
import re
import subprocess
import sys
import tempfile
import unittest
from collections import Counter
from pathlib import Path
from xml.etree import ElementTree

import ezdxf
from ezdxf import path as ezpath
from ezdxf import recover
from ezdxf.math import Vec3

sys.path.insert(0, str(Path(__file__).resolve().parent))
import part_sheet  # noqa: E402

TOOL = None
REAL = Path(__file__).resolve().parents[2] / "samples" / "real"
SETTINGS = ("Windows Registry Editor Version 5.00\n\n"
            "[HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind]\n"
            "\"mIsArrange\"=\"0\"\n\"mIsRotate\"=\"1\"\n\"mIsSymmetry\"=\"1\"\n")


def run(folder, *args, script=None):
    env = dict(os.environ, HOME=str(folder))
    env.pop("TWINFIND_SETTINGS", None)
    return subprocess.run([TOOL, *map(str, args)], input=script, capture_output=True, text=True,
                          cwd=folder, env=env, timeout=300)


def audit_clean(test, path):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    test.assertEqual([e.message for e in auditor.errors] + [f.message for f in auditor.fixes], [],
                     f"{path} does not audit clean")
    return doc


def wcs_points(e):
    """The points of an entity in world coordinates, and what else fixes its shape."""
    t = e.dxftype()
    if t == "LINE":
        return [e.dxf.start, e.dxf.end], ()
    if t in ("CIRCLE", "ARC"):
        rest = (e.dxf.radius,) + ((e.dxf.start_angle, e.dxf.end_angle) if t == "ARC" else ())
        return [e.ocs().to_wcs(e.dxf.center)], rest + tuple(e.dxf.extrusion)
    if t == "LWPOLYLINE":
        return list(e.vertices_in_wcs()), tuple(b for *_, b in e.get_points()) + (e.closed,)
    if t == "INSERT":
        return [e.ocs().to_wcs(e.dxf.insert)], (e.dxf.name, e.dxf.rotation, e.dxf.xscale,
                                                e.dxf.yscale)
    if t == "SPLINE":
        return [Vec3(p) for p in e.control_points], (tuple(e.knots), e.dxf.degree,
                                                     tuple(e.weights))
    if t == "ELLIPSE":
        return [e.dxf.center], (tuple(e.dxf.major_axis), e.dxf.ratio, e.dxf.start_param,
                                e.dxf.end_param, tuple(e.dxf.extrusion))
    raise AssertionError(f"no geometry for {t}")


def look(e):
    return (e.dxftype(), e.dxf.layer, e.dxf.get("color", 256), e.dxf.get("linetype", "BYLAYER"))


def curves(entities):
    """The entities' curves as polylines (references exploded), within 0.01 of them: ezdxf
    draws arcs as cubic curves, up to 0.0003 of the radius off."""
    lines = []
    for e in entities:
        if e.dxftype() == "INSERT":
            lines += curves(list(e.virtual_entities()))
        else:
            lines.append([(v.x, v.y) for v in ezpath.make_path(e).flattening(0.002, segments=8)])
    return lines


def middle(lines):
    points = [p for line in lines for p in line]
    return (sum(x for x, _ in points) / len(points), sum(y for _, y in points) / len(points))


def far_apart(a, b):
    """The most that a point of the one set of polylines lies from the other's lines."""
    def to_segment(p, s, t):
        dx, dy = t[0] - s[0], t[1] - s[1]
        k = max(0.0, min(1.0, ((p[0] - s[0]) * dx + (p[1] - s[1]) * dy) / (dx * dx + dy * dy or 1)))
        return math.dist(p, (s[0] + k * dx, s[1] + k * dy))

    def one_way(p, q):
        segments = [(l[i], l[i + 1]) for l in q for i in range(len(l) - 1)] or [(l[0], l[0]) for l in q]
        return max(min(to_segment(x, *seg) for seg in segments) for line in p for x in line)
    return max(one_way(a, b), one_way(b, a))


class Sheet:
    """The sheet written once into a folder, with its shapes and handles."""

    def __init__(self, folder, unit=4):
        self.folder = Path(folder)
        self.path = self.folder / "sheet.dxf"
        self.shapes = part_sheet.write_sheet(self.path)
        self.settings = self.folder / "s.reg"
        self.settings.write_text(SETTINGS)
        self.doc = ezdxf.readfile(self.path)
        if unit != 4:  # the same sheet, its coordinates said to be in another unit
            self.doc.header["$INSUNITS"] = unit
            self.doc.saveas(self.path)
        self.unit = unit
        # The part drawn once: the triangle of legs 60 and 50.
        self.lone, = [e.dxf.handle for e in self.doc.modelspace()
                      if e.dxftype() == "LWPOLYLINE" and len(e) == 3]

    def shape_of(self, handles):
        """The shape and placement a member with these handles is."""
        for shape in self.shapes:
            for i, member in enumerate(shape.members):
                if sorted(member) == sorted(handles):
                    return shape, i
        raise AssertionError(f"no placement has the handles {handles}")


class SplitTest(unittest.TestCase):
    def test_split_gives_each_family_its_file_and_the_sheets_quantities(self):
        # --split-hands: the mirror images of the plate and the bracket in files of their own.
        # The list's sizes are in the drawing's unit ($INSUNITS: 4 mm, 1 inches), or in
        # millimetres with --split-mm; --split-quantities puts each file's quantity in its name.
        cases = [  # unit code, options, list unit, sizes times
            (4, [], "mm", 1), (4, ["--split-hands"], "mm", 1),
            (1, [], "in", 1), (1, ["--split-mm", "--split-quantities"], "mm", 25.4),
            (0, ["--split-quantities"], "unitless", 1), (4, ["--split-svg"], "mm", 1),
        ]
        for unit, options, listed, scale in cases:
            with self.subTest(unit=unit, options=options), \
                    tempfile.TemporaryDirectory() as folder:
                sheet = Sheet(folder, unit)
                out = sheet.folder / "parts"
                args = ["survey", sheet.path, "--settings", sheet.settings, "--split", out]
                done = run(folder, *args, *options)
                self.assertEqual(done.returncode, 0, done.stderr)
                self.check_split(sheet, out, "--split-hands" in options, listed, scale,
                                 "--split-quantities" in options)
                if "--split-svg" in options:
                    self.check_svgs(out)

    def check_svgs(self, out):
        """Each part's SVG holds its closed loops as closed paths and circles, within its page
        sized as the list says; sheet.svg holds each part's loops once for every copy, mirror
        images flipped."""
        ns = {"s": "http://www.w3.org/2000/svg"}
        rows = list(csv.DictReader((out / "parts.csv").open()))
        shapes_of = {}
        for row in rows:
            svg = ElementTree.parse(out / row["file"].replace(".dxf", ".svg")).getroot()
            width, height = float(row["width"]), float(row["height"])
            self.assertTrue(svg.get("width").endswith("mm") and svg.get("height").endswith("mm"))
            self.assertAlmostEqual(float(svg.get("width")[:-2]), width, delta=1e-6)
            self.assertAlmostEqual(float(svg.get("height")[:-2]), height, delta=1e-6)
            circles = svg.findall(".//s:circle", ns)
            paths = [p.get("d") for p in svg.findall(".//s:path", ns)]
            closed = [d for d in paths if d.endswith("Z")]
            self.assertEqual(len(circles) + len(closed), int(row["pierces"]), row["file"])
            # Every point a path reaches (the ends of its moves, lines and arcs) lies on the
            # page: x from 0 to the width, y from minus the height to 0 (y runs down).
            points = [tuple(map(float, args.split()[-2:])) for d in paths
                      for _, args in re.findall(r"([MLA])([^MLAZ]*)", d)]
            points += [(float(c.get("cx")), float(c.get("cy"))) for c in circles]
            for x, y in points:
                self.assertTrue(-1e-5 <= x <= width + 1e-5 and -height - 1e-5 <= y <= 1e-5,
                                (row["file"], x, y))
            shapes_of[row["file"]] = len(circles) + len(paths)
        sheet = ElementTree.parse(out / "sheet.svg").getroot()
        for row in rows:
            group = sheet.find(f".//s:g[@id='{row['file']}']", ns)
            drawn = group.findall(".//s:circle", ns) + group.findall(".//s:path", ns)
            self.assertEqual(len(drawn), shapes_of[row["file"]] * int(row["quantity"]))
            flipped = [g for g in group.findall("s:g", ns) if "scale(-1 1)" in g.get("transform")]
            self.assertEqual(len(flipped), int(row["mirrored"]))

    def check_split(self, sheet, out, hands, unit="mm", scale=1, quantities=False):
        rows = list(csv.DictReader((out / "parts.csv").open()))
        self.assertEqual(list(rows[0])[:2], ["path", "quantity"])  # what nesting programs read
        listing = json.loads((out / "parts.json").read_text())
        self.assertEqual(listing["unit"], unit)
        listed = listing["parts"]
        files = sorted(p.name for p in out.iterdir() if p.suffix != ".svg")
        self.assertEqual(files, sorted([r["file"] for r in rows] + ["parts.csv", "parts.json"]))
        # Every part of the sheet once: the families, and the triangle drawn once; not the
        # sheet's border nor its title.
        expected_rows = 1 + sum(2 if hands and s.mirrored else 1 for s in sheet.shapes)
        self.assertEqual(len(rows), expected_rows)
        counted = Counter()
        for row, entry in zip(rows, listed):
            if entry["members"][0]["handles"] == [sheet.lone]:
                sizes = [float(row[k]) for k in ("width", "height", "cut_length", "area")]
                expected = [60, 50, 110 + math.hypot(60, 50), 1500]
                for got, want, f in zip(sizes, expected, (scale, scale, scale, scale * scale)):
                    self.assertAlmostEqual(got, want * f, delta=1e-6 * f)
                self.assertEqual((row["quantity"], row["mirrored"], row["pierces"]),
                                 ("1", "0", "1"))
                continue
            self.assertEqual(row["file"], entry["file"])
            self.assertEqual(row["path"], str((out / row["file"]).resolve()))
            self.assertEqual((row["path"], row["unit"]), (entry["path"], unit))
            shape, searched = sheet.shape_of(entry["members"][0]["handles"])
            members = {tuple(sorted(m["handles"])) for m in entry["members"]}
            counted[shape.name] += int(row["quantity"])
            self.assertEqual(len(members), int(row["quantity"]))
            self.assertTrue(members <= {tuple(sorted(m)) for m in shape.members})
            mirrored_file = "-mirrored" in row["file"]
            self.assertEqual(mirrored_file, hands and shape.placements[searched][3])
            self.assertEqual(int(row["mirrored"]), 0 if hands else shape.mirrored, row)
            if hands and shape.mirrored:
                self.assertEqual(int(row["quantity"]),
                                 shape.mirrored if mirrored_file else shape.count - shape.mirrored)
            block = f"-{shape.block}" if shape.block else ""
            quantity = rf"\.{row['quantity']}" if quantities else ""
            self.assertRegex(row["file"], rf"^part-0\d{block}(-mirrored)?{quantity}\.dxf$")
            # A curve read as lines (within 0.01 of it) is a little shorter than the curve, its
            # box may be smaller by as much, and it encloses a little more or less.
            curve = part_sheet.CURVE_LENGTH.get(shape.name, 0)
            chord = 0.01 if curve else 0
            x1, y1, x2, y2 = part_sheet.placed_box(shape, searched)
            width, height, cut, area = (float(row[k]) / f for k, f in (
                ("width", scale), ("height", scale), ("cut_length", scale),
                ("area", scale * scale)))
            self.assertAlmostEqual(width, x2 - x1, delta=1e-4 + 2 * chord)
            self.assertAlmostEqual(height, y2 - y1, delta=1e-4 + 2 * chord)
            self.assertLessEqual(cut, shape.cut_length + 1e-6)
            self.assertAlmostEqual(cut, shape.cut_length, delta=1e-6 + 0.001 * curve)
            self.assertEqual(int(row["pierces"]), shape.pierces)
            self.assertAlmostEqual(area, shape.area, delta=1e-6 + 0.01 * curve)
            self.assertEqual(row["layer"], shape.layer)
            self.check_part_file(sheet, out / row["file"], shape, searched,
                                 entry["members"][0]["handles"], chord)
        self.assertEqual(counted, Counter({s.name: s.count for s in sheet.shapes}))

    def check_part_file(self, sheet, path, shape, searched, handles, chord):
        """The file holds the member's own entities, all moved alike, its box at the origin, in
        the sheet's version and units."""
        doc = audit_clean(self, path)
        self.assertEqual(doc.dxfversion, sheet.doc.dxfversion)
        self.assertEqual(doc.header.get("$INSUNITS", 0), sheet.unit)
        entities = list(doc.modelspace())
        self.assertEqual(sorted(e.dxf.handle for e in entities), sorted(handles))
        moves = set()
        for e in entities:
            before = sheet.doc.entitydb[e.dxf.handle]
            self.assertEqual(look(e), look(before))
            moved, rest = wcs_points(e)
            original, rest_before = wcs_points(before)
            self.assertEqual(rest, rest_before)
            self.assertEqual(len(moved), len(original))
            moves |= {(round(p.x - q.x, 9), round(p.y - q.y, 9)) for p, q in zip(moved, original)}
        self.assertEqual(len(moves), 1, "the entities moved alike")
        (dx, dy), = moves
        x1, y1, _, _ = part_sheet.placed_box(shape, searched)
        self.assertAlmostEqual(dx, -x1, delta=1e-5 + chord)  # the box starts at the origin
        self.assertAlmostEqual(dy, -y1, delta=1e-5 + chord)


class SheetPartsTest(unittest.TestCase):
    def test_every_part_once_holes_with_their_plates_frames_and_strokes_left_out(self):
        # Each case: what is drawn, then the quantities the list must give (largest first) and
        # what the parts line leaves out.
        def plate(msp, x, holes=2):
            msp.add_lwpolyline([(x, 0), (x + 40, 0), (x + 40, 20), (x, 20)], close=True)
            for k in range(holes):
                msp.add_circle((x + 8 + 12 * k, 10), 3)

        def washer_with_disc(msp, x):
            msp.add_circle((x, 50), 10)
            msp.add_circle((x, 50), 6)   # the washer's hole
            msp.add_circle((x, 50), 4)   # a disc cut from inside it

        def framed(msp):
            msp.add_lwpolyline([(-10, -10), (200, -10), (200, 100), (-10, 100)], close=True)

        def wide_line(msp, corners, width=0.15):
            # A closed outline exported as the two edges of a wide pen's stroke: the outer edge
            # with rounded corners, the inner one sharp.
            cx = sum(x for x, _ in corners) / len(corners)
            cy = sum(y for _, y in corners) / len(corners)
            for d in (width / 2, -width / 2):
                msp.add_lwpolyline([(x + (d if x > cx else -d), y + (d if y > cy else -d))
                                    for x, y in corners], close=True)

        def board(msp):
            # A board and its square cut-outs, each drawn as a wide line's two edges.
            wide_line(msp, [(0, 0), (100, 0), (100, 60), (70, 80), (0, 80)])
            for x in (10, 40, 70):
                wide_line(msp, [(x, 20), (x + 14, 20), (x + 14, 34), (x, 34)])

        def hexagon_with_discs(msp):
            # A plate that is no rectangle, whose holes each hold a disc cut from them.
            msp.add_lwpolyline([(0, 0), (60, 0), (90, 30), (60, 60), (0, 60), (-30, 30)],
                               close=True)
            for x in (10, 50):
                msp.add_circle((x, 30), 12)
                msp.add_circle((x, 30), 6)

        def strokes(msp):
            for k in range(3):
                msp.add_line((0, 120 + 5 * k), (30, 120 + 5 * k))

        cases = {
            "plates with holes": ([lambda m: [plate(m, x) for x in (0, 60, 120)]], [3], ""),
            "plates of another hole count": ([lambda m: plate(m, 0), lambda m: plate(m, 60, 3)],
                                             [1, 1], ""),
            "a disc in a washer's hole": ([lambda m: washer_with_disc(m, 0)], [1, 1], ""),
            "a frame around the plates": ([framed, lambda m: [plate(m, x) for x in (0, 60)]],
                                          [2], "1 segment of outlines drawn around parts"),
            "a board drawn as a wide line's edges": ([board], [1], ""),
            "a plate whose holes hold discs": ([hexagon_with_discs], [2, 1], ""),
            "strokes beside a plate": ([strokes, lambda m: plate(m, 0)], [1],
                                       "3 segments of open strokes outside every part"),
        }
        for name, (drawn, quantities, left_out) in cases.items():
            with self.subTest(name), tempfile.TemporaryDirectory() as folder:
                folder = Path(folder)
                doc = ezdxf.new("R2010")
                doc.header["$INSUNITS"] = 4
                for draw in drawn:
                    draw(doc.modelspace())
                doc.saveas(folder / "sheet.dxf")
                (folder / "s.reg").write_text(SETTINGS)
                done = run(folder, "survey", folder / "sheet.dxf", "--split", folder / "parts",
                           "--settings", folder / "s.reg")
                self.assertEqual(done.returncode, 0, done.stderr)
                rows = list(csv.DictReader((folder / "parts" / "parts.csv").open()))
                self.assertEqual(sorted((int(r["quantity"]) for r in rows), reverse=True),
                                 quantities, done.stdout)
                line = next(x for x in done.stdout.splitlines() if x.startswith("parts: "))
                self.assertIn(left_out or "left out: nothing", line)
                # A hole (a circle of radius 3) is never a part of its own.
                for r in rows:
                    self.assertGreater(float(r["area"]), 30, r)


class ReadmeTest(unittest.TestCase):
    def test_the_readmes_laser_example_runs_word_for_word(self):
        # The README's commands, run in a folder of their own (its home holding the settings),
        # print the lines it shows and write the parts list it shows, the folder for /home/me.
        readme = (REAL.parents[1] / "README.md").read_text()
        section = readme.split("### For laser and CNC")[1].split("\n### ")[0]
        shown = [line[4:] for line in section.splitlines() if line.startswith("    ")]
        commands = [line.split("#")[0].split() for line in shown
                    if line.startswith("build/default/bin/twinfind")]
        self.assertEqual(len(commands), 3)
        with tempfile.TemporaryDirectory() as folder:
            folder = Path(folder)
            (folder / "samples").mkdir()
            (folder / "samples" / "part-sheet.dxf").write_bytes(
                (REAL.parent / "part-sheet.dxf").read_bytes())
            printed = ""
            for command in commands:
                done = run(folder, *command[1:])
                self.assertEqual(done.returncode, 0, done.stderr)
                printed += done.stdout
            for line in shown:
                if line.startswith(("parts: ", "wrote ")):
                    self.assertIn(line + "\n", printed)
            listed = (folder / "parts" / "parts.csv").read_text().replace(str(folder), "/home/me")
            csv_shown = [line for line in shown if line.startswith(("path,", "/home/me/"))]
            self.assertEqual(listed.splitlines(), csv_shown)


class RefusalTest(unittest.TestCase):
    def test_what_cannot_be_split_is_refused_or_told_and_nothing_is_written(self):
        with tempfile.TemporaryDirectory() as folder:
            folder = Path(folder)
            sheet = Sheet(folder)
            strokes = folder / "strokes.dxf"
            doc = ezdxf.new("R2010")
            for i in range(3):
                doc.modelspace().add_line((0, 10 * i), (50, 10 * i))
            doc.saveas(strokes)
            unitless = folder / "unitless.dxf"
            doc = ezdxf.readfile(sheet.path)
            doc.header["$INSUNITS"] = 0
            doc.saveas(unitless)
            full = folder / "full"
            full.mkdir()
            (full / "mine.txt").write_text("mine")
            cases = [  # arguments, exit status, words of the message, what the folder holds
                ([sheet.path, "--split", full], 2, "is not empty", ["mine.txt"]),
                ([sheet.path, "--split", sheet.path], 2, "is not a folder", None),
                ([strokes, "--split", folder / "new"], 0, "no part (a closed outline)", None),
                ([sheet.path, "--split", folder / "new", "--report", folder / "new" / "r.json"],
                 2, "lies in the --split folder", None),
                ([sheet.path, "--split-hands"], 2, "--split-hands goes with --split", None),
                ([sheet.path, "--split-mm"], 2, "--split-mm goes with --split", None),
                ([unitless, "--split", folder / "new", "--split-mm"], 1,
                 "the drawing names no unit ($INSUNITS)", None),
                ([sheet.path, "--blocks"], 2, "--blocks goes with --out", None),
            ]
            for args, status, words, holds in cases:
                with self.subTest(args=[str(a) for a in args]):
                    done = run(folder, "survey", *args, "--settings", sheet.settings)
                    self.assertEqual(done.returncode, status, done.stderr)
                    self.assertIn(words, done.stdout + done.stderr)
                    self.assertFalse((folder / "new").exists())
                    if holds is not None:
                        self.assertEqual(sorted(p.name for p in full.iterdir()), holds)


class BlocksTest(unittest.TestCase):
    def test_survey_blocks_give_one_reference_per_twin_and_keep_everything_else(self):
        with tempfile.TemporaryDirectory() as folder:
            sheet = Sheet(folder)
            out = sheet.folder / "blocks.dxf"
            done = run(folder, "survey", sheet.path, "--settings", sheet.settings, "--out", out,
                       "--blocks", "--split", sheet.folder / "parts")
            self.assertEqual(done.returncode, 0, done.stderr)
            listed = json.loads((sheet.folder / "parts" / "parts.json").read_text())["parts"]
            expected = {}
            for entry in listed:
                if len(entry["members"]) == 1:
                    continue  # a part drawn once makes no block
                shape, _ = sheet.shape_of(entry["members"][0]["handles"])
                name = shape.block or f"TWINFIND_PART_{entry['family']}"
                expected[name] = (shape, [m["handles"] for m in entry["members"]])
            self.check_blocks(sheet, out, expected)

    def test_run_blocks_name_each_search_by_its_part_number_else_its_number(self):
        # The plate, found from its first placement by the general method and by the balloon
        # method with a part number.
        general = "range -20 -20 820 470\nrange 24 34 86 76\nend\nend\n"
        balloon = "range -20 -20 820 470\nkey SS400\nkey P-100\nkey 2\nrange 24 34 86 76\nend\n"
        for method, script, name in (("0", general, "TWINFIND_PART_1"), ("1", balloon, "P-100")):
            with self.subTest(method=method), tempfile.TemporaryDirectory() as folder:
                sheet = Sheet(folder)
                sheet.settings.write_text(SETTINGS + f'"mMethod"="{method}"\n"mIsArrange"="0"\n')
                out = sheet.folder / "blocks.dxf"
                done = run(folder, "run", sheet.path, "--settings", sheet.settings, "--out", out,
                           "--blocks", script=script)
                self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
                plate = next(s for s in sheet.shapes if s.name == "plate")
                self.check_blocks(sheet, out, {name: (plate, plate.members)}, partial=True)

    def test_copies_keep_the_extended_data_they_were_read_with(self):
        # Every drawn entity of the sheet carries extended data of an application of its own and
        # an extension dictionary; every copy the outputs make of it (block members, part files,
        # entities kept) carries both whole, its application group first and a dictionary of
        # its own, as ezdxf reads them back.
        with tempfile.TemporaryDirectory() as folder:
            sheet = Sheet(folder)
            doc = ezdxf.readfile(sheet.path)
            doc.appids.new("SHOPDATA")
            for e in doc.modelspace():
                e.set_xdata("SHOPDATA", [(1000, "from " + e.dxf.handle), (1070, 7)])
                # And an extension dictionary of its own, holding a record.
                e.new_extension_dict().add_xrecord("SHOPRECORD").reset([(1, "cut")])
            doc.saveas(sheet.path)
            script = "range -20 -20 820 470\nrange 24 34 86 76\nend\nend\n"
            outputs = {"survey": (["survey", sheet.path, "--out", sheet.folder / "s.dxf", "--blocks",
                                   "--split", sheet.folder / "parts"], None, "s.dxf"),
                       "run": (["run", sheet.path, "--out", sheet.folder / "r.dxf", "--blocks"],
                               script, "r.dxf")}
            for name, (args, lines, out) in outputs.items():
                done = run(folder, *args, "--settings", sheet.settings, script=lines)
                self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
                written = audit_clean(self, sheet.folder / out)
                layouts = [written.modelspace()] + [b for b in written.blocks
                                                    if b.name.startswith("TWINFIND_")]
                copies = [e for layout in layouts for e in layout
                          if not (e.dxftype() == "INSERT" and e.dxf.name.startswith("TWINFIND_"))]
                self.assertTrue(any(e.dxf.owner != written.modelspace().block_record_handle
                                    for e in copies), f"{name}: no block member")
                for e in copies:
                    self.assertTrue(e.has_xdata("SHOPDATA"), f"{name}: {e.dxftype()} {e.dxf.handle}")
                    self.assertEqual(e.get_xdata("SHOPDATA")[1], (1070, 7), name)
                    # Its own copy of the extension dictionary, owned by it.
                    self.assertTrue(e.has_extension_dict, f"{name}: {e.dxftype()} {e.dxf.handle}")
                    record = e.get_extension_dict().dictionary["SHOPRECORD"]
                    self.assertEqual([tuple(t) for t in record.tags], [(1, "cut")], name)
                    self.assertEqual(record.dxf.owner, e.get_extension_dict().dictionary.dxf.handle)
            for part in sorted((sheet.folder / "parts").glob("*.dxf")):
                for e in audit_clean(self, part).modelspace():
                    self.assertTrue(e.has_xdata("SHOPDATA"), f"{part.name}: {e.dxftype()}")

    def test_blocks_and_part_files_of_real_drawings_audit_as_their_drawing_does(self):
        # ezdxf's audit finds no more to fix in the survey's --blocks drawing and in each part
        # file than in the drawing they came from. An R12 drawing (no owner handles) is read by
        # ezdxf with a stray SEQEND for each old-style polyline in a block, even in a file ezdxf
        # writes itself: those are told apart and allowed.
        def fixes(path):
            doc, recovered = recover.readfile(str(path))
            found = [f.message for f in recovered.fixes + doc.audit().fixes]
            errors = [e.message for e in recovered.errors + doc.audit().errors]
            r12_blocks = doc.dxfversion == "AC1009"
            return ([f for f in found if not (r12_blocks and f.startswith("Deleted SEQEND"))],
                    errors)

        for drawing in sorted(REAL.glob("*.[dD][xX][fF]")):
            with self.subTest(drawing.name), tempfile.TemporaryDirectory() as folder:
                folder = Path(folder)
                (folder / "s.reg").write_text(SETTINGS)
                done = run(folder, "survey", drawing, "--blocks", "--out", folder / "blocks.dxf",
                           "--split", folder / "parts", "--settings", folder / "s.reg")
                self.assertEqual(done.returncode, 0, done.stderr)
                before = fixes(drawing)
                for out in [folder / "blocks.dxf"] + sorted((folder / "parts").glob("*.dxf")):
                    found = fixes(out)
                    self.assertEqual(found[1], before[1], out.name)
                    self.assertLessEqual(len(found[0]), len(before[0]), f"{out.name}: {found[0]}")

    def check_blocks(self, sheet, out, expected, partial=False):
        doc = audit_clean(self, out)
        msp = list(doc.modelspace())
        references = Counter(e.dxf.name for e in msp if e.dxftype() == "INSERT")
        for name, (shape, twins) in expected.items():
            self.assertEqual(references[name], len(twins), name)
        # Every twin is drawn by one reference of its family's block, at its place and turn.
        for name, (shape, twins) in expected.items():
            inserts = [curves([e]) for e in msp if e.dxftype() == "INSERT" and e.dxf.name == name]
            for handles in twins:
                drawn = curves([sheet.doc.entitydb[h] for h in handles])
                nearest = min(inserts, key=lambda i: math.dist(middle(i), middle(drawn)))
                self.assertLess(far_apart(drawn, nearest), 0.01, f"{name}: twin {handles}")
        # Everything else is as it was, handle by handle.
        taken = {h for _, twins in expected.values() for handles in twins for h in handles}
        kept = {e.dxf.handle: e for e in msp}
        for e in sheet.doc.modelspace():
            if e.dxf.handle in taken:
                continue
            if partial and e.dxftype() == "INSERT" or e.dxf.layer == "801":
                continue  # the balloons' and the other families' own
            self.assertIn(e.dxf.handle, kept)
            self.assertEqual(kept[e.dxf.handle].dxfattribs(), e.dxfattribs())
            self.assertEqual(wcs_points(kept[e.dxf.handle]) if e.dxftype() != "TEXT" else None,
                             wcs_points(e) if e.dxftype() != "TEXT" else None)
        # $HANDSEED lies beyond every handle of the file (ezdxf makes objects of its own).
        lines = out.read_text().splitlines()
        after_header = lines.index("ENDSEC")
        handles = [int(lines[i + 1], 16) for i in range(after_header + 1, len(lines) - 1, 2)
                   if lines[i].strip() in ("5", "105")]
        self.assertLess(max(handles), int(doc.header["$HANDSEED"], 16))


if __name__ == "__main__":
    TOOL = sys.argv.pop(1)
    unittest.main(verbosity=2)
