"""One answer everywhere: the command's count, its report, the survey, the part files, the blocks
and the module tell the twins the search found, twin by twin, each with the turn and mirroring
the search laid the part on it with; none of them lays the part on a twin again."""

import json
import math
import re

import ezdxf
import pytest

import twinfind
from conftest import REAL

TURNS = {"rotate": True, "mirror": True}


def add_shape(msp, outline, holes, lines, at, turn, mirrored=False, nudge=None):
    """The shape moved to `at`, turned by `turn` degrees after a mirroring x -> -x when asked;
    `nudge` moves one point of the outline (index, dx, dy) after the placement."""
    c, s = math.cos(math.radians(turn)), math.sin(math.radians(turn))

    def place(p):
        x, y = (-p[0], p[1]) if mirrored else p
        return (at[0] + c * x - s * y, at[1] + s * x + c * y)

    points = [place(p) for p in outline]
    if nudge:
        i, dx, dy = nudge
        points[i] = (points[i][0] + dx, points[i][1] + dy)
    msp.add_lwpolyline(points, close=True)
    for centre, radius in holes:
        msp.add_circle(place(centre), radius)
    for a, b in lines:
        msp.add_line(place(a), place(b))


PLATE = [(0, 0), (40, 0), (40, 20), (0, 20)]
NOTCH = [((5, 0), (5, 5))]


def write_turned_plates(path):
    """A plate with a hole and a notch, and two copies turned a quarter, the hole of the second
    0.0005 off (within the coordinate tolerance of the search)."""
    doc = ezdxf.new()
    msp = doc.modelspace()
    add_shape(msp, PLATE, [((30, 10), 3)], NOTCH, (0, 0), 0)
    add_shape(msp, PLATE, [((30, 10), 3)], NOTCH, (100, 0), 90)
    add_shape(msp, PLATE, [((30.0005, 10), 3)], NOTCH, (200, 0), 90)
    doc.saveas(path)


def gear_outline(teeth=20, per_tooth=24, inner=20.0, outer=23.0):
    n = teeth * per_tooth
    points = []
    for i in range(n):
        a = 2 * math.pi * i / n
        r = inner + (outer - inner) * (0.5 - 0.5 * math.cos(2 * math.pi * (i % per_tooth) / per_tooth))
        points.append((r * math.cos(a), r * math.sin(a)))
    return points


GEAR_HOLES = [((0, 0), 5), ((10, 0), 1.5), ((0, 10), 1.5), ((-10, 0), 1.5), ((3, -11), 1)]


def write_gears(path):
    """A gear of a 480-chord outline and five holes, and its twin turned a quarter."""
    doc = ezdxf.new()
    msp = doc.modelspace()
    add_shape(msp, gear_outline(), GEAR_HOLES, [], (0, 0), 0)
    add_shape(msp, gear_outline(), GEAR_HOLES, [], (100, 0), 90)
    doc.saveas(path)


def write_rounded_plates(path):
    """Three plates, two with a corner 0.004 off: twins at a tolerance of 0.01."""
    doc = ezdxf.new()
    msp = doc.modelspace()
    add_shape(msp, PLATE, [((30, 10), 3)], NOTCH, (0, 0), 0)
    add_shape(msp, PLATE, [((30, 10), 3)], NOTCH, (100, 0), 0, nudge=(2, 0.004, 0))
    add_shape(msp, PLATE, [((30, 10), 3)], NOTCH, (200, 0), 0, nudge=(2, 0, -0.004))
    doc.saveas(path)


def write_sheet(path):
    """Shapes placed plainly, turned by odd angles and mirrored, far from the origin: one without
    symmetry, one that looks the same after a half turn, one that is its own mirror image."""
    doc = ezdxf.new()
    msp = doc.modelspace()
    odd = [(0, 0), (30, 0), (30, 8), (12, 14), (0, 10)]
    pad = [(0, 0), (24, 0), (24, 10), (0, 10)]
    slot = [(0, 0), (16, 0), (16, 4), (0, 4)]
    far = (5e5, -3e5)
    for k, (turn, mirrored) in enumerate([(0, False), (33, False), (90, True), (211, False),
                                          (305, True)]):
        at = (far[0] + 60 * k, far[1])
        add_shape(msp, odd, [((8, 5), 2)], [((20, 2), (26, 6))], at, turn, mirrored)
        add_shape(msp, pad, [((6, 5), 1.5), ((18, 5), 1.5)], [], (at[0], at[1] + 80),
                  turn + 180 * (k % 2), mirrored)
        add_shape(msp, slot, [], [((8, 0), (8, 4))], (at[0], at[1] + 160), 7 * k, mirrored)
    doc.saveas(path)


def settings(tool, **rules):
    from conftest import settings_text
    path = tool.folder / "s.reg"
    path.write_text(settings_text(**rules))
    return path


def turns_of(twins):
    return [(round(t["angle"], 6) % 360, t["mirrored"]) for t in twins]


def inserts_by_block(path):
    """Per block, the (rotation, mirrored) of every INSERT of it in model space, as ezdxf reads
    them, in the file's order."""
    doc = ezdxf.readfile(path)
    found = {}
    for insert in doc.modelspace().query("INSERT"):
        mirrored = insert.dxf.xscale < 0
        found.setdefault(insert.dxf.name, []).append((round(insert.dxf.rotation, 6) % 360,
                                                      mirrored))
    return found


def test_every_output_tells_the_turns_the_search_laid_the_plate_with(tool):
    drawing = tool.folder / "plates.dxf"
    write_turned_plates(drawing)
    rules = {"rotate": True}
    expected = [(0, False), (90, False), (90, False)]
    script = tool.folder / "run.script"
    script.write_text("range -50 -50 300 100\nrange -1 -1 41 21\nend\nend\n")
    run = tool.report("run", drawing, rules, "--script", script, "--out", tool.folder / "run.dxf",
                      "--blocks")
    assert turns_of(run["searches"][0]["twins"]) == expected
    survey = tool.report("survey", drawing, rules, "--split", tool.folder / "parts", "--out",
                         tool.folder / "survey.dxf", "--blocks")
    assert turns_of(survey["searches"][0]["twins"]) == expected
    (row,) = json.loads((tool.folder / "parts" / "parts.json").read_text())["parts"]
    assert turns_of(row["members"]) == expected
    for saved in ("run.dxf", "survey.dxf"):
        assert sorted(inserts_by_block(tool.folder / saved).values()) == [expected]
    opened = twinfind.open(drawing)
    found = opened.find((-1, -1, 41, 21), range=(-50, -50, 300, 100), **rules)
    assert [(t.angle, t.mirrored) for t in found] == expected
    (family,) = opened.survey(**rules)
    assert [(t.angle, t.mirrored) for t in family.members] == expected


def test_the_report_and_the_parts_list_tell_every_twin_the_command_counted(tool):
    drawing = tool.folder / "gears.dxf"
    write_gears(drawing)
    script = tool.folder / "run.script"
    script.write_text("range -50 -50 150 50\nrange -24 -24 24 24\nend\nend\n")
    report = tool.report("run", drawing, {"rotate": True}, "--script", script)
    (search,) = report["searches"]
    assert turns_of(search["twins"]) == [(0, False), (90, False)]
    assert [len(t["segments"]) for t in search["twins"]] == [6, 6]
    assert search["unmatched"] == []
    # The balloon method: its count text and its parts list say the same.
    path = tool.folder / "s.reg"
    path.write_text(path.read_text() + '"mMethod"="1"\n"mIsMaterial"="0"\n"mIsDepth"="0"\n')
    script.write_text("range -50 -50 150 50\nkey A-1\nrange -24 -24 24 24\nend\nend\nend\n")
    report_path = tool.folder / "balloon.json"
    done = tool.run("run", drawing, "--settings", path, "--script", script, "--report",
                    report_path)
    assert "총 2개의 동일한 부품을 발견하였습니다." in done.stdout
    report = json.loads(report_path.read_text())
    (search,) = report["searches"]
    assert len(search["twins"]) == 2
    assert [(e["partNumber"], e["count"]) for e in report["partsList"]] == [("A-1", 2)]


def test_the_module_saves_the_blocks_the_tool_saves_at_a_wider_tolerance(tool):
    drawing = tool.folder / "rounded.dxf"
    write_rounded_plates(drawing)
    rules = {"rotate": True, "tolerance": 0.01}
    script = tool.folder / "run.script"
    script.write_text("range -50 -50 300 100\nrange -1 -1 41 21\nend\nend\n")
    tool.report("run", drawing, rules, "--script", script, "--out", tool.folder / "run.dxf",
                "--blocks")
    tool.report("survey", drawing, rules, "--out", tool.folder / "survey.dxf", "--blocks")
    by_tool = inserts_by_block(tool.folder / "run.dxf")
    assert sorted(by_tool.values()) == [[(0, False)] * 3]
    assert inserts_by_block(tool.folder / "survey.dxf") == by_tool
    opened = twinfind.open(drawing)
    opened.find((-1, -1, 41, 21), range=(-50, -50, 300, 100), **rules)
    opened.save(tool.folder / "found.dxf", blocks=True)
    assert inserts_by_block(tool.folder / "found.dxf") == by_tool
    opened = twinfind.open(drawing)
    opened.survey(**rules)
    opened.save(tool.folder / "surveyed.dxf", blocks=True)
    assert inserts_by_block(tool.folder / "surveyed.dxf") == by_tool


# Drawings of public projects with handles in their files, and generated ones.
AGREEMENT_CASES = ["Ceco.NET-Architecture-Tm-53.dxf", "floorplan.dxf", "wipeout_door.dxf",
                   "api-cw750-details.dxf", "sheet", "plates"]


def between(base, member):
    """The turn and mirroring that take twin `base` onto twin `member`, both (handles, turn,
    mirrored) against the same part: member = R(a) M^m part and base = R(b) M^n part."""
    _, b, n = base
    _, a, m = member
    angle = (a + b) if m != n else (a - b)
    return (round(angle, 6) % 360, m != n)


def as_keys(twins):
    """(handles, turn, mirrored) of each twin, from the report's dicts or the module's twins."""
    keys = []
    for t in twins:
        if isinstance(t, dict):
            keys.append((tuple(t["handles"]), round(t["angle"], 6) % 360, t["mirrored"]))
        else:
            keys.append((tuple(t.handles), round(t.angle, 6) % 360, t.mirrored))
    return keys


@pytest.mark.parametrize("name", AGREEMENT_CASES)
def test_every_output_agrees_twin_by_twin(tool, name):
    if name == "sheet":
        drawing = tool.folder / "sheet.dxf"
        write_sheet(drawing)
    elif name == "plates":
        drawing = tool.folder / "plates.dxf"
        write_turned_plates(drawing)
    else:
        drawing = REAL / name
    survey = tool.report("survey", drawing, TURNS, "--split", tool.folder / "parts", "--out",
                         tool.folder / "blocks.dxf", "--blocks")
    families = [as_keys(s["twins"]) for s in survey["searches"]]
    assert families

    # The command, given the two range lines printed under each family, finds the family's
    # twins, each with the same turn and mirroring (unless the family's line says a window over
    # its part takes more than the part).
    lines = tool.run("survey", drawing, "--settings", tool.folder / "s.reg").stdout
    picks = re.findall(r"^family [0-9]+: (.*)\n  (range .*)\n  (range .*)$", lines, re.M)
    assert len(picks) == len(families)
    script = "start\n".join(f"{r}\n{p}\nend\nend\n" for _, r, p in picks)
    (tool.folder / "run.script").write_text(script)
    run = tool.report("run", drawing, TURNS, "--script", tool.folder / "run.script")
    assert len(run["searches"]) == len(families)
    for (said, _, _), family, search in zip(picks, families, run["searches"]):
        if "more segments lying in its box" not in said:
            assert sorted(as_keys(search["twins"])) == sorted(family)

    # The part files: every part once. A family's members that are parts (not a hole of
    # another part) are one row together, each placed as the survey places it from the row's
    # first (the file's part); the rows of parts the survey's families do not hold come after.
    def from_first(keys, first):
        # (handles, turn, mirrored) of each twin from the twin `first` of the same list: a
        # mirror image's turns run the other way.
        _, a0, m0 = first
        return sorted((h, round((a0 - a if m0 else a - a0) % 360, 3) % 360, m != m0)
                      for h, a, m in keys)

    rows = json.loads((tool.folder / "parts" / "parts.json").read_text())["parts"]
    row_keys = [as_keys(r["members"]) for r in rows]
    assert [r["count"] for r in rows] == [len(k) for k in row_keys]
    row_of = {key[0]: i for i, keys in enumerate(row_keys) for key in keys}
    listed = set()
    for family in families:
        holding = {row_of[key[0]] for key in family if key[0] in row_of}
        assert len(holding) <= 1, family
        for i in holding:
            first = row_keys[i][0]
            same = next(k for k in family if k[0] == first[0])
            assert from_first(row_keys[i], first) == from_first(
                [k for k in family if k[0] in row_of], same)
            listed.add(i)
    assert sorted(listed) == list(range(len(listed)))  # the survey's families first

    # The blocks: a family whose twins all became references of a new block has them turned
    # and mirrored as the twins lie from the member the block was made of.
    blocks = inserts_by_block(tool.folder / "blocks.dxf")
    for number, family in enumerate(families, 1):
        made = sorted(blocks.get(f"TWINFIND_PART_{number}", []))
        if len(made) == len(family):
            assert any(made == sorted(between(base, member) for member in family)
                       for base in family)

    # The module: its survey is the tool's, and a search from each family's first part there
    # tells each of its twins as the tool's command does.
    opened = twinfind.open(drawing)
    surveyed = opened.survey(**TURNS)
    assert [as_keys(f.members) for f in surveyed] == families
    for family in surveyed[:4]:
        first = family.members[0]
        if not first.handles:
            continue
        found = as_keys(opened.find(first.handles, **TURNS))
        for key in as_keys(family.members):
            assert key in found
