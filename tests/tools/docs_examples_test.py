#!/usr/bin/python3
"""The examples README.md and docs/ print, run as they stand on the drawings of samples/: each
command runs in a folder of its own (its home and settings there, samples/ beside it), and every
line the example shows comes out, in its order; a line ending in "..." shows how a longer one
starts, and a line "..." stands for lines left out. The README's laser example and its Python
example are run by parts_test.py and python/tests/test_with_ezdxf.py.

    /usr/bin/python3 tests/tools/docs_examples_test.py TOOL
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

TOOL = None
SOURCE = Path(__file__).resolve().parents[2]
TURNS_AND_MIRRORS = ("Windows Registry Editor Version 5.00\n\n"
                     "[HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind]\n"
                     "\"mIsRotate\"=\"1\"\n\"mIsSymmetry\"=\"1\"\n")
# The first words of the lines the tool prints in a session; the other lines are typed.
PRINTED = ("warning:", "drawing:", "prompt:", "cursor:", "wrote", "selected", "info:", "error:",
           "ended:", "dialog:", "help:", "view:", "family", "total:", "searched:", "parts:",
           "alike:", "  range", "not listed:")


def section(path, heading):
    """The text of a document from a heading line to the next heading."""
    text = (SOURCE / path).read_text(encoding="utf-8")
    start = text.index(heading + "\n")
    rest = text[start + len(heading) + 1:]
    end = re.search(r"^#{1,3} ", rest, re.M)
    return rest[:end.start()] if end else rest


def blocks(text):
    """The indented blocks of a text, each as its lines without the indent."""
    found, block = [], []
    for line in text.splitlines():
        if line.startswith("    "):
            block.append(line[4:])
        elif block and line.strip() == "":
            found.append(block)
            block = []
        elif block:
            found.append(block)
            block = []
    if block:
        found.append(block)
    return found


def run(folder, arguments, settings="", typed=""):
    """The tool run in `folder` with samples/ beside it, the settings file written first."""
    samples = folder / "samples"
    if not samples.exists():
        shutil.copytree(SOURCE / "samples", samples)
    if settings:
        (folder / "s.reg").write_text(settings)
    env = dict(os.environ, HOME=str(folder), TWINFIND_SETTINGS=str(folder / "s.reg"))
    done = subprocess.run([TOOL, *arguments], input=typed, capture_output=True, text=True,
                          cwd=folder, env=env, timeout=300)
    return done.stdout + done.stderr


class DocsExamplesTest(unittest.TestCase):
    def shows(self, output, shown):
        """Every shown line comes out, in its order."""
        lines = output.splitlines()
        at = 0
        for want in shown:
            if want == "...":
                continue
            start = want[:-3].rstrip() if want.endswith("...") else None
            while at < len(lines) and not (lines[at] == want or
                                           (start is not None and lines[at].startswith(start))):
                at += 1
            self.assertLess(at, len(lines), f"{want!r} is not printed (in order):\n{output}")
            at += 1

    def test_every_printed_example_comes_out_as_shown(self):
        survey_md = (SOURCE / "docs" / "survey.md").read_text(encoding="utf-8")
        cases = {
            "the survey's lines (docs/survey.md)": (
                ["survey", "samples/real/Ceco.NET-Architecture-Tm-53.dxf"], TURNS_AND_MIRRORS,
                next(b for b in blocks(survey_md) if b[0].startswith("family 1:"))),
            "the alike families (docs/survey.md)": (
                ["survey", "samples/real/crkbd-Edge.Cuts.dxf"], "",
                [line for b in blocks(survey_md) for line in b if line.startswith("alike:")]),
            "the survey's first family (README.md)": (
                ["survey", "samples/real/Ceco.NET-Architecture-Tm-53.dxf"], TURNS_AND_MIRRORS,
                re.findall(r"`(family 1:[^`]*)`",
                           section("README.md", "### The survey: what repeats in a drawing")
                           .replace("\n", " "))),
            "the parts line (docs/parts.md)": (
                ["survey", "samples/part-sheet.dxf", "--split", "parts"], TURNS_AND_MIRRORS,
                [b[0] for b in blocks((SOURCE / "docs" / "parts.md").read_text())
                 if b[0].startswith("parts:")]),
            "the load line (docs/view.md)": (
                ["survey", "samples/demo-plate.dxf"], "",
                [line for b in blocks((SOURCE / "docs" / "view.md").read_text())
                 for line in b if line.startswith("drawing:")]),
        }
        for name, (arguments, settings, shown) in cases.items():
            with self.subTest(name), tempfile.TemporaryDirectory() as folder:
                self.assertTrue(shown, f"{name}: the example is not where the test looks")
                self.shows(run(Path(folder), arguments, settings), shown)

    def test_the_readmes_first_session_runs_as_shown(self):
        # The session typed at the terminal, its lines typed in the same order: what it prints
        # comes out, and the files it names are written.
        session = blocks(section("README.md", "### A first session"))[0]
        command, lines = session[0], session[1:]
        self.assertTrue(command.startswith("$ build/default/bin/twinfind "), command)
        arguments = command.split()[2:]
        typed = [line for line in lines if not line.startswith(PRINTED) and line != "^D"]
        shown = [line for line in lines if line.startswith(PRINTED)]
        with tempfile.TemporaryDirectory() as folder:
            output = run(Path(folder), arguments, "", "\n".join(typed) + "\n")
            self.shows(output, shown)
            for line in shown:
                if line.startswith("wrote "):
                    self.assertTrue((Path(folder) / line.split()[1].rstrip(":")).exists(), line)


if __name__ == "__main__":
    TOOL = sys.argv.pop(1)
    unittest.main()
