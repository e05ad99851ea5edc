"""Bad input gets a clear message and loses nothing: drawings that cannot be read refused with
the tool's own message, the import's warnings as the tool's warning lines, bad windows and
arguments refused before anything changes, saves that would write over the input refused."""

import os
import warnings

import pytest

import twinfind
from conftest import REAL, SOURCE

PLAN = REAL / "Ceco.NET-Architecture-Tm-53.dxf"
PLATE = SOURCE / "samples" / "demo-plate.dxf"


def make_missing(folder):
    return folder / "none.dxf"


def make_folder(folder):
    return folder


def make_fifo(folder):
    os.mkfifo(folder / "pipe.dxf")  # opening it to read would wait for a writer
    return folder / "pipe.dxf"


def make_empty(folder):
    (folder / "empty.dxf").write_bytes(b"")
    return folder / "empty.dxf"


def make_cut_short(folder):
    text = PLAN.read_bytes()
    (folder / "cut.dxf").write_bytes(text[: len(text) // 3])
    return folder / "cut.dxf"


def make_old_dwg(folder):
    (folder / "old.dwg").write_bytes(b"AC1009" + bytes(122))  # R12: the DWG reader takes none
    return folder / "old.dwg"


def make_text_named_dwg(folder):
    (folder / "text.dwg").write_text("0\nSECTION\n")
    return folder / "text.dwg"


@pytest.mark.parametrize("make", [make_missing, make_folder, make_fifo, make_empty, make_cut_short,
                                  make_old_dwg, make_text_named_dwg])
def test_an_unreadable_drawing_raises_the_message_of_twinfind_run(tool, make):
    path = make(tool.folder)
    with pytest.raises(twinfind.Error) as raised:
        twinfind.open(path)
    run = tool.run("run", path, "--settings", tool.folder / "none.reg", check=False)
    assert run.returncode == 2
    assert run.stderr.splitlines() == [f"twinfind: {raised.value}"]
    assert str(raised.value).startswith(f"cannot read the drawing {path}: ")


def test_the_import_warns_as_twinfind_run_does(tool):
    with warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        twinfind.open(PLAN)
    told = [str(w.message) for w in caught if w.category is twinfind.TwinfindWarning]
    run = tool.run("run", PLAN, "--settings", tool.folder / "none.reg")
    expected = [line[len("warning: "):] for line in run.stdout.splitlines()
                if line.startswith("warning: ")]
    assert told == expected and len(told) >= 2


def test_a_memory_limit_refuses_a_drawing_beyond_it():
    with pytest.raises(twinfind.Error, match="not enough memory.*limit of 1 MB"):
        twinfind.open(PLAN, memory_limit_mb=1)
    assert twinfind.open(PLAN, memory_limit_mb=4096).find(
        (17.2, 12.6, 18.1, 13.5), rotate=True, mirror=True)
    for bad in (0, -5, 1.5, "64", True):
        with pytest.raises(ValueError, match="memory_limit_mb takes"):
            twinfind.open(PLAN, memory_limit_mb=bad)


SOFA = (17.2, 12.6, 18.1, 13.5)

# Arguments of find, the exception and what its message says.
BAD_FINDS = [
    (dict(part=(0, 0, 1)), ValueError, "four numbers"),
    (dict(part=(0, 0, float("nan"), 1)), ValueError, "finite"),
    (dict(part=(0, 0, "x", 1)), TypeError, "four numbers"),
    (dict(part="C87"), TypeError, r"\['C87'\]"),
    (dict(part=42), TypeError, "window"),
    (dict(part=[]), ValueError, "empty"),
    (dict(part=["NOSUCH"]), ValueError, "handle NOSUCH"),
    (dict(part=(100, 100, 101, 101)), twinfind.Error, "selects no part"),
    (dict(part=SOFA, range=(0, 0, float("inf"), 1)), ValueError, "finite"),
    (dict(part=SOFA, range=(0, 0, 1)), ValueError, "range takes a window"),
    (dict(part=SOFA, tolerance=0), ValueError, "above 0"),
    (dict(part=SOFA, tolerance=float("nan")), ValueError, "above 0"),
]


@pytest.mark.parametrize("arguments, error, message", BAD_FINDS)
def test_a_bad_part_or_range_is_refused(arguments, error, message):
    drawing = twinfind.open(PLAN)
    with pytest.raises(error, match=message):
        drawing.find(**arguments)
    assert len(drawing.find(SOFA, rotate=True, mirror=True)) == 10  # the drawing as it was


def test_a_range_beyond_what_one_search_takes_is_refused():
    board = twinfind.open(REAL / "crkbd-F.Cu.dxf")
    with pytest.raises(twinfind.Error, match="more than the 10000 one search takes"):
        board.find((140.27, -68.6927, 141.29, -67.6573))
    assert len(board.survey(range=(128, -108, 162, -60))) >= 2


def test_changes_and_saves_refused_lose_nothing(tmp_path):
    plate, other = twinfind.open(PLATE), twinfind.open(PLATE)
    families = plate.survey(rotate=True, mirror=True)
    original = PLATE.read_bytes()

    # A twin of another drawing, a colour the settings do not know, nothing of the kind.
    with pytest.raises(ValueError, match="another drawing"):
        plate.delete(other.survey()[0])
    with pytest.raises(ValueError, match="MAINCOLOR"):
        plate.recolour(families[0], "red", "LINETYPE01")
    with pytest.raises(ValueError, match="the colour 17 is none of 1 to 16"):
        plate.recolour(families[0], 17, 1)
    with pytest.raises(ValueError, match="the line type 0 is none of 1 to 10"):
        plate.recolour(families[0], 6, 0)
    # Not DXF: refused before anything is written.
    with pytest.raises(ValueError, match="save writes DXF: give a name that ends in .dxf"):
        plate.save(tmp_path / "out.txt")
    assert not (tmp_path / "out.txt").exists()
    with pytest.raises(TypeError, match="twins"):
        plate.delete([families[0], "C87"])
    assert plate.save(tmp_path / "same.dxf")["deleted"] == 0

    # A twin deleted twice: the second delete changes nothing, the first one's twins included.
    first = families[0].members
    assert plate.delete(families[0]) == sum(len(t.segments) for t in first)
    with pytest.raises(ValueError, match="no longer in the drawing"):
        plate.delete([families[2], first[0]])
    saved = plate.save(tmp_path / "once.dxf")
    assert saved["deleted"] == len({h for t in first for h in t.handles})

    # Never over the input, by any name; never half a file.
    os.symlink(PLATE, tmp_path / "link.dxf")
    for name in (str(PLATE), tmp_path / "link.dxf", os.path.relpath(PLATE)):
        with pytest.raises(twinfind.Error, match="is the input drawing"):
            plate.save(name)
    with pytest.raises(twinfind.Error, match="does not exist"):
        plate.save(tmp_path / "no" / "such.dxf")
    with pytest.raises(TypeError, match="a list of families"):
        plate.save(tmp_path / "blocks.dxf", blocks="the brackets")
    # A name with a NUL or another control character is refused before anything is read or
    # written: a system call would end the name at the NUL and replace another file.
    victim = tmp_path / "victim.txt"
    victim.write_text("keep me")
    for name in (str(victim) + "\x00.dxf", str(tmp_path / "line\nbreak.dxf")):
        with pytest.raises(twinfind.Error, match="control character"):
            plate.save(name)
        with pytest.raises(twinfind.Error, match="control character"):
            twinfind.open(name)
    assert victim.read_text() == "keep me"
    assert PLATE.read_bytes() == original
    assert sorted(p.name for p in tmp_path.iterdir()) == ["link.dxf", "once.dxf", "same.dxf",
                                                           "victim.txt"]


def test_handles_and_paths_that_are_no_utf8_go_back_in_as_they_came(tmp_path):
    def line(handle, y):
        return b"0\nLINE\n5\n%s\n8\n0\n10\n0\n20\n%d\n11\n1\n21\n%d\n" % (handle, y, y)

    path = os.fsencode(tmp_path) + b"/caf\xe9.dxf"
    with open(path, "wb") as file:
        file.write(b"0\nSECTION\n2\nENTITIES\n" + line(b"\xff1", 0) + line(b"A\xe92", 5) +
                   b"0\nENDSEC\n0\nEOF\n")
    drawing = twinfind.open(path)
    assert os.fsencode(drawing.path) == path and "caf\\xe9.dxf" in repr(drawing)
    twins = drawing.find((-0.1, -0.1, 1.1, 0.1))
    assert [t.handles for t in twins] == [["\udcff1"], ["A\udce92"]]
    assert "\\xff1" in repr(twins[0])
    assert [t.is_part for t in drawing.find(twins[1].handles)] == [False, True]
    with pytest.raises(twinfind.Error, match=r"caf\\xe9\.dxf is the input drawing"):
        drawing.save(path)
    assert drawing.save(os.fsencode(tmp_path) + b"/out\xe9.dxf")["kept"] == 2


def test_layers_off_in_the_file_are_taken_only_when_asked_for(tmp_path):
    def line(handle, layer, y):
        return f"0\nLINE\n5\n{handle}\n8\n{layer}\n10\n0\n20\n{y}\n11\n1\n21\n{y}\n"

    path = tmp_path / "layers.dxf"
    path.write_text("0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n70\n2\n"
                    "0\nLAYER\n2\n0\n70\n0\n62\n7\n6\nCONTINUOUS\n"
                    "0\nLAYER\n2\nOFF\n70\n0\n62\n-7\n6\nCONTINUOUS\n0\nENDTAB\n0\nENDSEC\n"
                    "0\nSECTION\n2\nENTITIES\n" + line("A1", "0", 0) + line("A2", "0", 5) +
                    line("B1", "OFF", 10) + line("B2", "OFF", 15) + "0\nENDSEC\n0\nEOF\n")
    drawing = twinfind.open(path)
    shown, hidden = (-0.1, -0.1, 1.1, 0.1), (-0.1, 9.9, 1.1, 10.1)
    assert [t.handles for t in drawing.find(shown)] == [["A1"], ["A2"]]
    assert len(drawing.find(shown, hidden_layers=True)) == 4
    with pytest.raises(twinfind.Error, match="selects no part"):
        drawing.find(hidden)
    with pytest.raises(ValueError, match="B1 lies on a layer that is off.*hidden_layers=True"):
        drawing.find(["B1"])
    assert len(drawing.find(["B1"], hidden_layers=True)) == 4
    # Single lines are strokes, which the survey lists with all=True.
    assert drawing.survey() == []
    assert [f.count for f in drawing.survey(all=True)] == [2]
    assert [f.count for f in drawing.survey(all=True, hidden_layers=True)] == [4]


def test_a_dwg_is_read_through_its_reader_and_saved_as_dxf_only(tmp_path, monkeypatch):
    # A reader program of the test's own stands in for the real one: it writes the plate's DXF.
    (tmp_path / "reader.mjs").write_text(
        "import {copyFileSync} from 'node:fs';\n"
        f"copyFileSync({str(PLATE)!r}, process.argv[3]);\n")
    monkeypatch.setenv("TWINFIND_DWG_READER", str(tmp_path / "reader.mjs"))
    (tmp_path / "plate.dwg").write_bytes(b"AC1032" + bytes(122))
    drawing = twinfind.open(tmp_path / "plate.dwg")
    assert [f.count for f in drawing.survey(rotate=True, mirror=True)] == \
        [f.count for f in twinfind.open(PLATE).survey(rotate=True, mirror=True)]
    with pytest.raises(twinfind.Error, match="DWG is never written; give a .dxf name"):
        drawing.save(tmp_path / "plate-out.dwg")
    assert not (tmp_path / "plate-out.dwg").exists()
    drawing.save(tmp_path / "plate-out.dxf")
    assert (tmp_path / "plate-out.dxf").read_bytes() == PLATE.read_bytes()
