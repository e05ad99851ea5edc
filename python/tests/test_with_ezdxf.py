"""Twinfind and ezdxf side by side: the twins' handles are the entities ezdxf reads where the
twins lie, and a drawing changed and saved by twinfind reads back in ezdxf with exactly those
changes; the README's example runs as printed and prints what the README shows."""

import re
import shutil
import subprocess
import sys

import ezdxf
import pytest
from ezdxf import bbox

import twinfind
from conftest import REAL, SOURCE

PLAN = REAL / "Ceco.NET-Architecture-Tm-53.dxf"
FASTENERS = REAL / "api-cw750-details.dxf"


def entity_handles(doc):
    return {e.dxf.handle for e in doc.modelspace()}


# Drawing, part, range, layers: the fastener symbols lie on layers that are off in the file.
@pytest.mark.parametrize("path, part, area, hidden", [
    (PLAN, (17.2, 12.6, 18.1, 13.5), None, False),
    (FASTENERS, (514.986, 334.972, 516.131, 336.117), (100, 100, 800, 600), True),
])
def test_twins_found_deleted_and_recoloured_read_back_in_ezdxf(tmp_path, path, part, area,
                                                               hidden):
    drawing = twinfind.open(path)
    twins = drawing.find(part, range=area, rotate=True, mirror=True, hidden_layers=hidden)
    doc = ezdxf.readfile(path)
    for twin in twins:
        # The entities of its handles lie where the twin lies (ezdxf draws block references
        # whole, texts included, so their box holds the twin's figures).
        entities = [doc.entitydb[handle] for handle in twin.handles]
        assert entities and all(e is not None for e in entities)
        box = bbox.extents(entities)
        x1, y1, x2, y2 = twin.box
        slack = 1e-6 * max(1.0, abs(x1), abs(y1))
        assert box.extmin.x <= x1 + slack and box.extmin.y <= y1 + slack
        assert box.extmax.x >= x2 - slack and box.extmax.y >= y2 - slack
    half = len(twins) // 2
    deleted = {h for twin in twins[:half] for h in twin.handles}
    recoloured = {h for twin in twins[half:] for h in twin.handles}

    assert drawing.delete(twins[:half]) == sum(len(t.segments) for t in twins[:half])
    drawing.recolour(twins[half:], 6, 5)  # MAINCOLOR06 and LINETYPE05, by their numbers
    counts = drawing.save(tmp_path / "out.dxf")
    assert counts["deleted"] == len(deleted) and counts["changed"] == len(recoloured)

    after = ezdxf.readfile(tmp_path / "out.dxf")
    assert not after.audit().has_errors
    assert entity_handles(after) == entity_handles(doc) - deleted
    # MAINCOLOR06, the host's red, is written as ACI 1 (docs/dxf.md); LINETYPE05 as one dashed
    # line type.
    assert {after.entitydb[h].dxf.color for h in recoloured} == {1}
    (line_type,) = {after.entitydb[h].dxf.linetype for h in recoloured}
    assert line_type.upper() not in ("BYLAYER", "BYBLOCK", "CONTINUOUS")
    # What twinfind finds in its own output: the twins left, recoloured, no more.
    again = twinfind.open(tmp_path / "out.dxf")
    left = again.find(twins[half].handles, range=area, rotate=True, mirror=True, same_line=True,
                      hidden_layers=hidden)
    assert {h for t in left for h in t.handles} == recoloured


def readme_example():
    """The Python example of the README and the output it shows, as printed there."""
    text = (SOURCE / "README.md").read_text(encoding="utf-8")
    section = text.split("## Twinfind from Python", 1)[1].split("\n## ", 1)[0]
    blocks = re.findall(r"(?:^    .*\n?)+", section, flags=re.M)
    code = next(i for i, block in enumerate(blocks) if block.startswith("    import "))
    unindent = lambda block: "".join(line[4:] + "\n" for line in block.splitlines())  # noqa: E731
    return unindent(blocks[code]), unindent(blocks[code + 1])


def test_the_readme_example_runs_as_printed(tmp_path):
    code, shown = readme_example()
    assert len(code.splitlines()) == 10
    (tmp_path / "samples").mkdir()
    shutil.copy(SOURCE / "samples" / "demo-plate.dxf", tmp_path / "samples")
    done = subprocess.run([sys.executable, "-c", code], cwd=tmp_path, capture_output=True,
                          text=True, timeout=120)
    assert done.returncode == 0, done.stderr
    assert done.stdout == shown
    saved = [p for p in tmp_path.iterdir() if p.suffix == ".dxf"]
    assert len(saved) == 1
    # The file lacks the entities of the family the example deleted, and nothing else.
    plate = tmp_path / "samples" / "demo-plate.dxf"
    mirrored = [f for f in twinfind.open(plate).survey(rotate=True, mirror=True)
                if f.mirrored_count]
    gone = {h for twin in mirrored[0].members for h in twin.handles}
    assert len(gone) > 1
    kept = entity_handles(ezdxf.readfile(saved[0]))
    assert kept == entity_handles(ezdxf.readfile(plate)) - gone
