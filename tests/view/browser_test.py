#!/usr/bin/python3
"""twinfind view driven through a real browser (headless chromium) as a user drives it.

    /usr/bin/python3 browser_test.py --tool TWINFIND --samples SAMPLES [--shots DIR] [TEST ...]

The general method on the demo plate (drag the range and the part, see the count, End, the row
following the pointer, a click for its place, the copies on screen, Save read back with ezdxf,
the report downloaded, a second page refused); the balloon method with typed answers and
balloons placed by clicking, the second one snapped into line with the first; the settings
dialog and both pickers changed and saved. Each state is photographed: into the scratch folder,
or into --shots DIR (how docs/view/ is made).
"""
import os
import re
import unittest

import ezdxf
from ezdxf import bbox

from selenium.webdriver.common.keys import Keys

from browser_page import ViewPage, run_tests

ARGS = None
GENERAL_RANGE = (-20, -20, 440, 280)
BRACKET = (18, 18, 62, 52)
FLANGE = (28, 178, 68, 218)


def plate():
    return os.path.join(ARGS.samples, "demo-plate.dxf")


def balloons(path):
    """The balloons of a DXF file as our extended data tells them: (centre x, centre y, rows)."""
    found = []
    for e in ezdxf.readfile(path).modelspace().query("INSERT"):
        if not e.has_xdata("TWINFIND"):
            continue
        tags = [(t.code, t.value) for t in e.get_xdata("TWINFIND")]
        if (1000, "balloon") not in tags:
            continue
        points = [v for c, v in tags if c == 1040]
        texts = [v for c, v in tags if c == 1000 and v != "balloon"]
        found.append((points[2], points[3], texts))
    return found


class ViewInBrowserTest(unittest.TestCase):
    def open(self, **kwargs):
        page = ViewPage(ARGS.tool, kwargs.pop("drawing", plate()), shots=ARGS.shots, **kwargs)
        self.addCleanup(page.close)
        return page

    def test_general_run(self):
        out = "plate-out.dxf"
        page = self.open(settings={"mIsSymmetry": "1", "mIsLayer": "1"}, out=out)
        self.assertIn("검색대상 범위지시(종료버튼:Dialog) :", page.prompt())
        page.shot("general-1-loaded")

        # The search range: a window dragged over the plate, its rubber band on the way.
        page.drag(*GENERAL_RANGE, shot="general-2-rubber-band")
        self.assertIn("selected 49 segments", page.history())
        self.assertIn("부품형상 범위지시 :", page.prompt())
        # The part: one bracket. Five twins (one mirrored) blink.
        page.drag(*BRACKET)
        self.assertIn("총 5개의 동일한 부품을 발견하였습니다.", page.history())
        self.assertGreater(page.js("return document.querySelectorAll('#blink path').length"), 0)
        page.shot("general-3-twins")

        # End confirms; the row's place is asked for, below the plate: zoom out to see room there.
        page.button("end")
        self.assertIn("배치좌표", page.prompt())
        for _ in range(6):
            if page.on_canvas(0, -100):
                break
            page.wheel(210, 130, 2)
        self.assertTrue(page.on_canvas(0, -100), "zooming out shows the room below the plate")
        page.move_to(20, -80)
        page.move_to(0, -90)
        page.settle()
        self.assertGreater(page.js("return document.querySelectorAll('#temp path').length"), 0,
                           "the row's preview follows the pointer")
        page.shot("general-4-row-preview")
        lasting = page.state()["layers"]["lasting"]
        page.click(0, -90)
        state = page.state()
        self.assertGreater(state["layers"]["lasting"], lasting)
        self.assertLess(state["extent"]["minY"], -60, "the copies lie below the plate")
        self.assertIn("부품형상 범위지시 :", page.prompt())
        page.button("fit")
        page.shot("general-5-copies")

        # Save writes --out, only the command's changes added to the plate as it was.
        page.button("save")
        m = re.search(r"wrote plate-out\.dxf: 51 entities kept, 0 deleted, 0 changed, (\d+) added",
                      page.history())
        self.assertIsNotNone(m, page.history())
        added = int(m.group(1))
        before = {e.dxf.handle for e in ezdxf.readfile(plate()).modelspace()}
        saved = ezdxf.readfile(os.path.join(page.folder, out))
        self.assertEqual(len(saved.audit().errors), 0)
        new = [e for e in saved.modelspace() if e.dxf.handle not in before]
        self.assertEqual(len(new), added)
        self.assertEqual(len(list(saved.modelspace())), len(before) + added)
        for e in new:
            self.assertLess(bbox.extents([e]).extmax.y, -10, e.dxftype())
        # Five brackets copied, outlines and two holes each; the mirrored one framed (a frame of
        # four lines is written as a block and its reference).
        self.assertEqual(sorted(e.dxftype() for e in new),
                         ["CIRCLE"] * 10 + ["INSERT"] + ["LWPOLYLINE"] * 5)
        self.assertIn("저장하지 않은 변경 없음", page.element("#saved").text)

        # The report of the search so far.
        page.button("report")
        report = page.downloaded("twinfind-report.json")
        self.assertEqual(len(report["searches"]), 1)
        twins = report["searches"][0]["twins"]
        self.assertEqual(len(twins), 5)
        self.assertEqual(sum(1 for t in twins if t["mirrored"]), 1)
        self.assertTrue(all(t["copy"] for t in twins))

        # A second page is told that this one drives the command.
        first = page.driver.current_window_handle
        page.driver.switch_to.new_window("tab")
        page.driver.get(page.url)
        page.wait(lambda: page.element("#blocked").is_displayed(), "the second page's message")
        self.assertIn("Another page is already driving this command", page.element("#blocked").text)
        page.shot("general-6-second-page")
        page.driver.close()
        page.driver.switch_to.window(first)

        # Quit stops the tool.
        page.element("#quit").click()
        self.assertEqual(page.wait_exit(), 0)
        self.assertIn("stopped: quit in the page", page.printed)

    def test_balloon_run(self):
        out = "balloons.dxf"
        page = self.open(settings={"mMethod": "1", "mIsBalloonAutoArrange": "0",
                                   "mBalloonSize": "16", "mBalloonLeaderSize": "6"}, out=out)
        page.drag(-5, -5, 425, 265)
        # The material, the part number and the depth are typed at the command line.
        self.assertIn("재질", page.prompt())
        page.type("SS400")
        page.shot("balloon-1-typing")
        page.type("\n")
        page.type("A-009\n")
        page.type("12\n")
        page.drag(*FLANGE)
        self.assertIn("풍선배치위치지시", page.prompt())
        self.assertIn("총 4개의 동일한 부품을 발견하였습니다.", page.history())
        # The balloon follows the pointer until a click places it.
        page.move_to(60, 240)
        page.move_to(48, 240)
        page.settle()
        self.assertIn("A-009", page.js("return document.getElementById('temp').textContent"))
        page.shot("balloon-2-preview")
        page.click(48, 240)
        self.assertIn("A-009", page.js("return document.getElementById('lasting').textContent"))
        page.shot("balloon-3-placed")

        # The next part, a bracket: the end button (Escape) keeps the material and the advanced
        # part number the prompts propose.
        self.assertIn("(현재:SS400)", page.prompt())
        page.type(Keys.ESCAPE)
        self.assertIn("(현재:A-010)", page.prompt())
        page.type(Keys.ESCAPE)
        page.type("12\n")
        page.drag(*BRACKET)  # the flanges are marked found now
        # Near the first balloon's column the second one snaps into line with it.
        page.move_to(51, 150)
        page.settle()
        page.shot("balloon-4-snapped")
        page.click(51, 150)
        self.assertFalse(page.element("#modal").is_displayed(), page.history())
        page.button("save")
        self.assertIn("wrote balloons.dxf", page.history())
        placed = balloons(os.path.join(page.folder, out))
        self.assertEqual(len(placed), 2, placed)
        (x1, y1, rows1), (x2, y2, rows2) = sorted(placed, key=lambda b: -b[1])
        self.assertAlmostEqual(y1, 240, delta=1.5)
        self.assertAlmostEqual(x2, x1, delta=1e-9)  # snapped: the click was 3 units beside it
        self.assertIn("A-009", rows1)
        self.assertIn("A-010", rows2)
        self.assertIn("SS400", rows1 + rows2)

    def test_settings_dialog(self):
        page = self.open()
        page.button("end")
        page.wait(lambda: page.element("#dialogs").is_displayed(), "the settings dialog")
        self.assertEqual(page.element(".window .caption").text, "동일부품검색")
        page.shot("settings-1-dialog")
        # A check box, an edit box, the drop-down list and a radio button.
        page.dialog_control(23000, 12024).click()
        edit = page.dialog_control(23000, 12000)
        edit.clear()
        edit.send_keys("7.5")
        page.dialog_control(23000, 12004).click()
        from selenium.webdriver.support.ui import Select
        Select(page.dialog_control(23000, 12022)).select_by_index(2)
        page.settle()
        # The colour picker over it: a click frames a swatch, OK takes it.
        page.dialog_control(23000, 12010).click()
        page.settle()
        page.dialog_control(17079, 17042).click()
        page.settle()
        page.shot("settings-2-color-picker")
        page.dialog_control(17079, 1).click()
        page.settle()
        self.assertEqual(page.dialog_control(23000, 12010).value_of_css_property("background-color"),
                         "rgba(0, 0, 255, 1)")
        # The line-type picker: a double-click chooses and closes it.
        page.dialog_control(23000, 12011).click()
        page.settle()
        page.shot("settings-3-linetype-picker")
        from selenium.webdriver.common.action_chains import ActionChains
        ActionChains(page.driver).double_click(page.dialog_control(17080, 17081)).perform()
        page.settle()
        self.assertEqual(len(page.driver.find_elements("css selector", ".window")), 1)
        page.shot("settings-4-changed")
        page.dialog_control(23000, 1).click()
        page.settle()
        self.assertFalse(page.element("#dialogs").is_displayed())
        self.assertIn("ended: the command has ended", page.history())
        stored = {name: page.run_tool("settings", "get", name).strip()
                  for name in ("mIsSymmetry", "mArrangeWidth", "mFigure", "mMaterial",
                               "m_ColorMain", "mLTypeName")}
        self.assertEqual(stored, {"mIsSymmetry": "1", "mArrangeWidth": "7.5", "mFigure": "2",
                                  "mMaterial": "2", "m_ColorMain": "MAINCOLOR12",
                                  "mLTypeName": "LINETYPE05"})


if __name__ == "__main__":
    run_tests()
