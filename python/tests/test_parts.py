"""The module's parts outputs are the tool's: Drawing.split writes the files `twinfind survey
--split` writes, byte for byte, and Drawing.save(blocks=...) the file `survey --out --blocks`
saves; families chosen by the caller make blocks of those alone; what cannot be done raises."""

import sys
from collections import Counter

import ezdxf
import pytest

import twinfind
from conftest import SOURCE, settings_text

sys.path.insert(0, str(SOURCE / "tests" / "tools"))
import part_sheet  # noqa: E402

RULES = {"rotate": True, "mirror": True}


@pytest.fixture
def sheet(tmp_path):
    path = tmp_path / "sheet.dxf"
    part_sheet.write_sheet(path)
    (tmp_path / "s.reg").write_text(settings_text(**RULES))
    return path


def files_of(folder):
    """The files' bytes, the folder's own path in the lists written as FOLDER."""
    return {p.name: p.read_bytes().replace(bytes(folder.resolve()), b"FOLDER")
            for p in folder.iterdir()}


@pytest.mark.parametrize("hands", [False, True])
def test_split_writes_the_files_of_survey_split(tool, sheet, hands):
    tool.run("survey", sheet, "--settings", tool.folder / "s.reg", "--split",
             tool.folder / "by-tool", *(["--split-hands"] if hands else []))
    drawing = twinfind.open(sheet)
    families = drawing.parts(**RULES)
    rows = drawing.split(families, tool.folder / "by-module", hands=hands)
    written = files_of(tool.folder / "by-module")
    assert written == files_of(tool.folder / "by-tool")
    assert sorted(row["file"] for row in rows) == sorted(set(written) - {"parts.csv",
                                                                          "parts.json"})
    assert sum(row["count"] for row in rows) == sum(f.count for f in families)
    # Every family of the survey is a family of parts; the part drawn once is one more.
    surveyed = drawing.survey(**RULES)
    assert [f.count for f in families] == [f.count for f in surveyed] + [1]
    assert {(row["path"], row["unit"]) for row in rows} == {
        (str((tool.folder / "by-module" / row["file"]).resolve()), "mm") for row in rows}


def test_save_as_blocks_saves_what_survey_out_blocks_saves(tool, sheet):
    tool.run("survey", sheet, "--settings", tool.folder / "s.reg", "--out",
             tool.folder / "by-tool.dxf", "--blocks")
    drawing = twinfind.open(sheet)
    families = drawing.survey(**RULES)
    counts = drawing.save(tool.folder / "by-module.dxf", blocks=True)
    assert (tool.folder / "by-module.dxf").read_bytes() == (tool.folder / "by-tool.dxf").read_bytes()
    assert counts["blocks"] == len(families)
    assert counts["references"] == sum(f.count for f in families)


def test_blocks_of_the_families_given_alone(tmp_path, sheet):
    drawing = twinfind.open(sheet)
    families = drawing.survey(**RULES)
    chosen = families[1]
    # The twins of a find are a family too; given twice, its twins are taken once.
    found = drawing.find(chosen.members[0].handles, **RULES)
    counts = drawing.save(tmp_path / "out.dxf", blocks=[chosen, found])
    assert (counts["blocks"], counts["references"]) == (1, chosen.count)
    doc = ezdxf.readfile(tmp_path / "out.dxf")
    assert not doc.audit().has_errors
    references = Counter(e.dxf.name for e in doc.modelspace().query("INSERT"))
    assert references["TWINFIND_PART_1"] == chosen.count
    assert not any(name.startswith("TWINFIND_PART_2") for name in references)


def test_split_and_blocks_refuse_what_they_cannot_do(tmp_path, sheet):
    drawing = twinfind.open(sheet)
    other = twinfind.open(sheet)
    families = drawing.survey(**RULES)
    (tmp_path / "full").mkdir()
    (tmp_path / "full" / "mine.txt").write_text("mine")
    with pytest.raises(twinfind.Error, match="is not empty"):
        drawing.split(families, tmp_path / "full")
    with pytest.raises(TypeError, match="put the twins of one family in a list"):
        drawing.split(families[0].members, tmp_path / "new")
    with pytest.raises(ValueError, match="another drawing"):
        other.split(families, tmp_path / "new")
    with pytest.raises(ValueError, match="another drawing"):
        other.save(tmp_path / "out.dxf", blocks=families)
    assert not (tmp_path / "new").exists() and not (tmp_path / "out.dxf").exists()
    assert [p.name for p in (tmp_path / "full").iterdir()] == ["mine.txt"]
    assert drawing.split([], tmp_path / "none") == [] and not (tmp_path / "none").exists()
