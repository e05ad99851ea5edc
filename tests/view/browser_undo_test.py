#!/usr/bin/python3
"""Undo and redo in the view, driven through a real browser (headless chromium).

    /usr/bin/python3 browser_undo_test.py --tool TWINFIND --samples SAMPLES [--shots DIR] [TEST ...]

The general method on the demo plate with the twins deleted and a row laid out: the Undo
button takes both back at once, Ctrl+Y brings them again, Ctrl+Z takes them back, and the
saved file (read with ezdxf) is the plate as it was read; an undo while the twins blink is
refused with a message. The balloon method: a run of balloons undone by Ctrl+Z, and the file
saved after it holds none. Each state is photographed (--shots DIR is how docs/view/ is made).
"""
import os
import unittest

import ezdxf
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

from browser_page import ViewPage, run_tests

ARGS = None
GENERAL_RANGE = (-20, -20, 440, 280)
BRACKET = (18, 18, 62, 52)
FLANGE = (28, 178, 68, 218)


def plate():
    return os.path.join(ARGS.samples, "demo-plate.dxf")


def entities(path):
    """What a DXF file's model space holds: (type, handle) of each entity."""
    return sorted((e.dxftype(), e.dxf.handle) for e in ezdxf.readfile(path).modelspace())


class UndoInBrowserTest(unittest.TestCase):
    def open(self, **kwargs):
        page = ViewPage(ARGS.tool, plate(), shots=ARGS.shots, **kwargs)
        self.addCleanup(page.close)
        return page

    def keys(self, page, *chord):
        """A key chord at the page (Ctrl+Z, say), as a user presses it over the drawing."""
        chain = ActionChains(page.driver)
        for k in chord[:-1]:
            chain.key_down(k)
        chain.send_keys(chord[-1])
        for k in reversed(chord[:-1]):
            chain.key_up(k)
        chain.perform()
        page.settle()

    def figures(self, page):
        return page.js("return document.querySelectorAll('#lasting path, #lasting circle').length")

    def test_undo_general(self):
        out = "undone.dxf"
        page = self.open(settings={"mIsSymmetry": "1", "mFigure": "1"}, out=out)
        self.assertTrue(page.element("#undo").get_attribute("disabled"), "nothing to undo yet")
        before = self.figures(page)
        page.drag(*GENERAL_RANGE)
        page.drag(*BRACKET)
        self.assertIn("총 5개의 동일한 부품을 발견하였습니다.", page.history())
        # While the twins blink the command is in a result step: an undo waits, and says so.
        self.keys(page, Keys.CONTROL, "z")
        self.assertIn("undo waits until the command asks for a range, a part or typed input",
                      page.history())
        page.button("end")
        page.button("fit")
        page.wheel(210, 130, 3)
        page.click(0, -90)
        self.assertIn("부품형상 범위지시 :", page.prompt())
        done = self.figures(page)
        self.assertLess(page.state()["extent"]["minY"], -60, "the row lies below the plate")
        page.shot("undo-1-row-and-deleted-twins")

        # Undo: the twins come back and the row goes, in one step.
        page.button("undo")
        self.assertIn("undone: the drawing is back as it was before the last result action",
                      page.history())
        self.assertEqual(self.figures(page), before)
        self.assertGreater(page.state()["extent"]["minY"], -60)
        self.assertIn("부품형상 범위지시 :", page.prompt())
        self.assertFalse(page.element("#redo").get_attribute("disabled"))
        page.shot("undo-2-undone")
        # Redo (Ctrl+Y), and undo once more (Ctrl+Z).
        self.keys(page, Keys.CONTROL, "y")
        self.assertEqual(self.figures(page), done)
        self.keys(page, Keys.CONTROL, "z")
        self.assertEqual(self.figures(page), before)

        # Save writes the drawing as it stands: the plate as it was read.
        page.button("save")
        self.assertIn("wrote undone.dxf: 51 entities kept, 0 deleted, 0 changed, 0 added",
                      page.history())
        saved = os.path.join(page.folder, out)
        self.assertEqual(entities(saved), entities(plate()))
        self.assertEqual(len(ezdxf.readfile(saved).audit().errors), 0)

        # The same part searched again over the same range finds all five once more.
        page.drag(*BRACKET)
        self.assertEqual(page.history().count("총 5개의 동일한 부품을 발견하였습니다."), 2)

    def test_undo_balloons(self):
        out = "balloons.dxf"
        page = self.open(settings={"mMethod": "1", "mIsBalloonAutoArrange": "0",
                                   "mBalloonSize": "16"}, out=out)
        page.drag(-5, -5, 425, 265)
        page.type("SS400\n")
        page.type("A-009\n")
        page.type("12\n")
        page.drag(*FLANGE)
        page.move_to(48, 240)
        page.click(48, 240)
        self.assertIn("A-009", page.js("return document.getElementById('lasting').textContent"))
        page.shot("undo-3-balloon-placed")
        self.keys(page, Keys.CONTROL, "z")
        self.assertNotIn("A-009", page.js("return document.getElementById('lasting').textContent"))
        self.assertIn("undone:", page.history())
        page.shot("undo-4-balloon-undone")
        self.keys(page, Keys.CONTROL, Keys.SHIFT, "z")
        self.assertIn("A-009", page.js("return document.getElementById('lasting').textContent"))
        self.keys(page, Keys.CONTROL, "z")
        page.button("save")
        self.assertIn("wrote balloons.dxf: 51 entities kept, 0 deleted, 0 changed, 0 added",
                      page.history())
        saved = ezdxf.readfile(os.path.join(page.folder, out))
        self.assertEqual([e for e in saved.modelspace().query("INSERT") if e.has_xdata("TWINFIND")], [])


if __name__ == "__main__":
    run_tests()
