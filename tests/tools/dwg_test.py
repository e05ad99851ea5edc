#!/usr/bin/python3
"""DWG drawings, as a user opens them: `run`, `survey` read a DWG through the reader program in
Node, a DWG is never written, and every way the reading can go wrong ends in one clear message,
nothing hanging. The reader's own answer on a real DWG is stood in for by reader programs of the
test's own (TWINFIND_DWG_READER) that write a known DXF, crash, hang or grow; the real reader
reads a damaged DWG, and its layer correction is checked on DXF text.

    /usr/bin/python3 tests/tools/dwg_test.py TOOL
"""
import json
import os
import random
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

import ezdxf

TOOL = None
SOURCE = Path(__file__).resolve().parents[2]
READER = SOURCE / "tools" / "dwg" / "dwg_to_dxf.mjs"
HEAD = b"AC1032" + bytes(122)  # what a DWG of R2018 starts with, the rest no drawing

# Reader programs of the test's own: each is run as the real one is (node --liftoff-only
# SCRIPT DRAWING OUT).
FAKES = {
    # Writes the DXF it was given beside it, as the reader writes the drawing's.
    "copies": "import {copyFileSync} from 'node:fs';\n"
              "copyFileSync(process.env.FAKE_DXF, process.argv[3]);\n",
    "crashes": "process.kill(process.pid, 'SIGSEGV');\n",
    "hangs": "setInterval(() => {}, 1000);\n",
    "grows": "const kept = [];\n"
             "setInterval(() => { kept.push(Buffer.alloc(64 << 20, 1)); }, 10);\n",
    "refuses": "process.stderr.write('twinfind-dwg: the drawing is damaged\\n');\n"
               "process.exit(2);\n",
}


def run(folder, *args, env=None, typed=""):
    # The reader's scratch folder goes into the test's own.
    (folder / "tmp").mkdir(exist_ok=True)
    environment = dict(os.environ, HOME=str(folder), TWINFIND_SETTINGS=str(folder / "s.reg"),
                       TMPDIR=str(folder / "tmp"))
    environment.update(env or {})
    return subprocess.run([TOOL, *map(str, args)], input=typed, capture_output=True, text=True,
                          cwd=folder, env=environment, timeout=120)


class DwgTest(unittest.TestCase):
    def setUp(self):
        self.folder = Path(tempfile.mkdtemp())
        self.addCleanup(shutil.rmtree, self.folder)
        (self.folder / "plan.dwg").write_bytes(HEAD)
        for name, text in FAKES.items():
            (self.folder / f"{name}.mjs").write_text(text)

    def fake(self, name, **more):
        return {"TWINFIND_DWG_READER": str(self.folder / f"{name}.mjs"), **more}

    def test_a_dwg_is_read_as_the_dxf_its_reader_writes_and_never_written(self):
        # The reader's DXF: the demo plate.
        shutil.copy(SOURCE / "samples" / "demo-plate.dxf", self.folder / "reader.dxf")
        env = self.fake("copies", FAKE_DXF=str(self.folder / "reader.dxf"))
        survey = run(self.folder, "survey", "plan.dwg", "--report", "families.json", env=env)
        self.assertEqual(survey.returncode, 0, survey.stderr)
        self.assertIn("drawing: plan.dwg: 51 segments", survey.stdout)
        self.assertEqual(len(json.loads((self.folder / "families.json").read_text())["searches"]),
                         4, survey.stdout)
        # An output named .dwg is refused before anything is read; a .dxf one keeps the
        # reader's file with the changes (here none).
        refused = run(self.folder, "run", "plan.dwg", "--out", "plan-out.dwg", env=env)
        self.assertEqual(refused.returncode, 2)
        self.assertIn("--out plan-out.dwg: DWG is never written; give a .dxf name",
                      refused.stderr)
        self.assertFalse((self.folder / "plan-out.dwg").exists())
        saved = run(self.folder, "run", "plan.dwg", "--out", "plan-out.dxf", env=env)
        self.assertEqual(saved.returncode, 0, saved.stderr)
        self.assertEqual((self.folder / "plan-out.dxf").read_bytes(),
                         (self.folder / "reader.dxf").read_bytes())

    def test_every_way_reading_fails_ends_in_one_message(self):
        empty = self.folder / "no-node"
        empty.mkdir()
        (self.folder / "reader-folder").mkdir()
        (self.folder / "reader-folder" / "package.json").write_text("{}")
        shutil.copy(READER, self.folder / "reader-folder" / "dwg_to_dxf.mjs")
        (self.folder / "old.dwg").write_bytes(b"AC1009" + bytes(122))
        (self.folder / "text.dwg").write_text("0\nSECTION\n")
        rng = random.Random(7)
        (self.folder / "damaged.dwg").write_bytes(
            b"AC1032" + bytes(rng.randrange(256) for _ in range(20000)))
        cases = {
            "no DWG at all": ("text.dwg", {}, [],
                              "it is named .dwg but is no DWG file"),
            "a version the reader refuses": ("old.dwg", {}, [],
                                             "DWG file of version AC1009 (R11/R12); the DWG "
                                             "reader takes R14 (AC1014) to R2018 (AC1032)"),
            "no Node": ("plan.dwg", {"PATH": str(empty)}, [],
                        "no node is on the PATH: ./dev dwg installs it"),
            "no reader package": ("plan.dwg",
                                  {"TWINFIND_DWG_READER":
                                   str(self.folder / "reader-folder" / "dwg_to_dxf.mjs")}, [],
                                  "is not installed: ./dev dwg installs it"),
            "a reader that crashes": ("plan.dwg", self.fake("crashes"), [],
                                      "the DWG reader crashed (signal 11)"),
            "a reader that hangs": ("plan.dwg", self.fake("hangs", TWINFIND_DWG_SECONDS="1"), [],
                                    "the DWG reader ran past 1 s and was stopped"),
            "a reader that grows": ("plan.dwg", self.fake("grows"), ["--memory-limit", "300"],
                                    "the DWG reader held more than 300 MB and was stopped"),
            "a drawing the reader refuses": ("plan.dwg", self.fake("refuses"), [],
                                             "the DWG reader: the drawing is damaged"),
            "a damaged DWG, the real reader": ("damaged.dwg", {}, [], "(DWG R2018): the DWG reader: LibreDWG could not "),
        }
        for name, (drawing, env, more, said) in cases.items():
            with self.subTest(name):
                done = run(self.folder, "survey", drawing, *more, env=env)
                self.assertEqual(done.returncode, 2, done.stdout + done.stderr)
                self.assertIn(f"cannot read the drawing {drawing}", done.stderr)
                self.assertIn(said, done.stderr)
                self.assertEqual(done.stderr.count("\n"), 1, done.stderr)
                self.assertEqual(list((self.folder / "tmp").iterdir()), [],
                                 "the reader's scratch folder is removed")

    def test_the_reader_turns_the_layers_on_that_its_writer_marks_off(self):
        # The writer's LAYER entries all off (negative colours); the drawing's states say which
        # are off and frozen; a layer the states do not name is on.
        text = ("0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n"
                "0\nLAYER\n2\nWALLS\n70\n0\n62\n-3\n"
                "0\nLAYER\n2\nHIDDEN\n70\n0\n62\n-5\n"
                "0\nLAYER\n2\nICE\n70\n0\n62\n-1\n"
                "0\nLAYER\n2\nOTHER\n70\n1\n62\n-2\n"
                "0\nENDTAB\n0\nENDSEC\n0\nEOF\n")
        states = {"WALLS": {"off": False, "frozen": False}, "HIDDEN": {"off": True, "frozen": False},
                  "ICE": {"off": False, "frozen": True}}
        script = (f"import {{setLayerStates}} from {json.dumps(READER.as_uri())};\n"
                  f"const states = new Map(Object.entries({json.dumps(states)}));\n"
                  f"process.stdout.write(setLayerStates({json.dumps(text)}, states));\n")
        done = subprocess.run(["node", "--input-type=module", "-e", script], capture_output=True,
                              text=True, timeout=60)
        self.assertEqual(done.returncode, 0, done.stderr)
        (self.folder / "layers.dxf").write_text(done.stdout)
        doc = ezdxf.readfile(self.folder / "layers.dxf")
        got = {layer.dxf.name: (layer.dxf.color, layer.is_off(), layer.is_frozen())
               for layer in doc.layers}
        self.assertEqual(got["WALLS"], (3, False, False))
        self.assertEqual(got["HIDDEN"], (-5, True, False))
        self.assertEqual(got["ICE"], (1, False, True))
        self.assertEqual(got["OTHER"], (2, False, True))  # unnamed: on, its flags kept


if __name__ == "__main__":
    TOOL = sys.argv.pop(1)
    unittest.main()
