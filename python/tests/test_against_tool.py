"""The module's answers are the tool's: twins of parts indicated as a user indicates them with
`twinfind run`, and the families of `twinfind survey`, on the real drawings, by handle."""

import pytest

import twinfind
from conftest import REAL

ROTATE = {"rotate": True}
TURNS = {"rotate": True, "mirror": True}

# Drawing, twin rules, range, part window, how many twins the command finds there, whether the
# file has handles.
FIND_CASES = [
    ("JR-3099-V2-LTCSL-4X-S.DXF", ROTATE, (-1, -1, 80, 60), (24.516, 2.655, 29.378, 5.331), 2,
     False),
    ("crkbd-Edge.Cuts.dxf", dict(ROTATE, tolerance=0.001), (55, -160, 200, -55),
     (68.165, -111.985, 71.835, -107.315), 9, False),
    ("crkbd-F.Cu.dxf", ROTATE, (128, -108, 162, -60), (140.27, -68.6927, 141.29, -67.6573), 11,
     False),
    ("api-cw750-details.dxf", TURNS, (100, 100, 800, 600), (550.8, 315.58, 557.33, 318.09), 3,
     True),
    ("wipeout_door.dxf", TURNS, (9000, 3000, 16000, 8000), (11637, 4705.8, 11652.2, 4749.9), 4,
     True),
    ("Ceco.NET-Architecture-Tm-53.dxf", TURNS, (-1, -1, 44.1, 33.6), (17.2, 12.6, 18.1, 13.5),
     10, True),
]


def twin_key(segments, handles, angle, mirrored, is_part):
    return (tuple(segments), tuple(handles), round(angle, 6) % 360, mirrored, is_part)


def module_twins(twins):
    return sorted(twin_key(t.segments, t.handles, t.angle, t.mirrored, t.is_part) for t in twins)


def report_twins(search):
    return sorted(twin_key(t["segments"], t["handles"], t["angle"], t["mirrored"], t["isPart"])
                  for t in search["twins"])


def words(window):
    return " ".join(map(str, window))


@pytest.mark.parametrize("name, rules, area, window, count, with_handles", FIND_CASES,
                         ids=[case[0] for case in FIND_CASES])
def test_find_gives_the_twins_of_twinfind_run(tool, name, rules, area, window, count,
                                              with_handles):
    drawing_path = REAL / name
    script = f"range {words(area)}\nrange {words(window)}\nend\nend\n"
    (tool.folder / "run.script").write_text(script)
    report = tool.report("run", drawing_path, rules, "--script", tool.folder / "run.script")
    (search,) = report["searches"]
    expected = report_twins(search)

    drawing = twinfind.open(drawing_path)
    by_window = drawing.find(window, range=area, **rules)
    assert module_twins(by_window) == expected
    assert len(by_window) == count
    assert sum(t.is_part for t in by_window) == 1

    # The same part named by the handles of the entities it came from, where the exporter
    # wrote handles.
    handles = search["part"]["handles"]
    assert bool(handles) == with_handles
    if handles:
        assert module_twins(drawing.find(handles, range=area, **rules)) == expected


# Drawing, twin rules, range (None: the whole drawing), what else the survey takes in (strokes,
# layers that are off or frozen).
SURVEY_CASES = [
    ("Ceco.NET-Architecture-Tm-53.dxf", TURNS, None, {}),
    ("crkbd-Edge.Cuts.dxf", dict(TURNS, tolerance=0.001), None, {}),
    ("crkbd-F.Cu.dxf", TURNS, None, {}),
    ("JR-3099-V2-LTCSL-4X-S.DXF", {}, None, {"all": True}),
    ("api-cw750-details.dxf", TURNS, (100, 100, 800, 600), {}),
    ("api-cw750-details.dxf", TURNS, None, {"hidden_layers": True}),
    ("floorplan.dxf", TURNS, None, {}),
    ("floorplan.dxf", TURNS, None, {"all": True}),
    ("wipeout_door.dxf", TURNS, None, {}),
]
OPTIONS = {"all": "--all", "hidden_layers": "--hidden-layers"}


@pytest.mark.parametrize("name, rules, area, more", SURVEY_CASES,
                         ids=[name + "".join(OPTIONS[k] for k in more)
                              for name, _, _, more in SURVEY_CASES])
def test_survey_gives_the_families_of_twinfind_survey(tool, name, rules, area, more):
    args = (["--range", *area] if area else []) + [OPTIONS[k] for k in more]
    report = tool.report("survey", REAL / name, rules, *args)
    expected = [(len(s["twins"]), sum(t["mirrored"] for t in s["twins"]), report_twins(s))
                for s in report["searches"]]

    families = twinfind.open(REAL / name).survey(range=area, **rules, **more)
    found = [(f.count, f.mirrored_count, module_twins(f.members)) for f in families]
    assert found == expected
    assert len(found) >= 2
    for family in families:
        assert family.box == family.members[0].box or not family.members[0].is_part
        assert family.figures > 0
