#!/usr/bin/python3
"""A part picked with a click, and what a search found, in a real browser (headless chromium).

    /usr/bin/python3 browser_pick_test.py --tool TWINFIND --samples SAMPLES [--shots DIR] [TEST ...]

On the plan: a click at the search range's prompt takes nothing and says that the range is a
drag; at the part prompt the pointer over a chair highlights the part a click would take, and
the click finds as many chairs as the window dragged around it; the list of the chairs found,
a row zooming to its chair, Zoom framing them all, the row preview gone once the row is
placed. On the keyboard's copper board (some 40,000 segments) the pads found, seen at fit zoom.
Each state is photographed (--shots DIR is how docs/view/ is made).
"""
import os
import unittest

from browser_page import ViewPage, run_tests

ARGS = None
PLAN_RANGE = (-0.5, -0.5, 43.6, 33.1)  # the whole plan, within the window at fit zoom
CHAIR = (17.2, 12.6, 18.1, 13.5)  # the window a user drags around the first chair
ON_CHAIR = (17.3, 13.3)           # a point on one of its lines


def real(name):
    return os.path.join(ARGS.samples, "real", name)


class PickInBrowserTest(unittest.TestCase):
    def open(self, drawing, **kwargs):
        page = ViewPage(ARGS.tool, drawing, shots=ARGS.shots, **kwargs)
        self.addCleanup(page.close)
        return page

    def found_rows(self, page):
        return [[td.text for td in row.find_elements("css selector", "td")]
                for row in page.driver.find_elements("css selector", "#foundRows tr")]

    def test_pick_plan(self):
        page = self.open(real("Ceco.NET-Architecture-Tm-53.dxf"),
                         settings={"mIsRotate": "1", "mIsSymmetry": "1"})
        # A click at the search range's prompt: nothing is taken, and the line says why.
        page.click(*ON_CHAIR)
        self.assertIn("the search range is a window: drag it", page.history())
        self.assertIn("검색대상 범위지시", page.prompt())
        page.drag(*PLAN_RANGE)

        # The pointer over a chair's line highlights the chair; a click takes it.
        page.button("fit")
        for _ in range(4):
            page.wheel(*ON_CHAIR, -3)
        page.move_to(ON_CHAIR[0] + 0.01, ON_CHAIR[1])
        page.move_to(*ON_CHAIR)
        page.wait(lambda: page.js("return document.querySelectorAll('#hover path').length") > 0,
                  "the chair highlighted under the pointer")
        page.shot("pick-1-hover")
        page.click(*ON_CHAIR)
        history = page.history()
        self.assertIn("picked: the part of", history)
        self.assertIn("총 10개의 동일한 부품을 발견하였습니다.", history)
        self.assertEqual(page.js("return document.querySelectorAll('#hover path').length"), 0)

        # The list of the chairs: ten rows, the part among them, five mirrored.
        rows = self.found_rows(page)
        self.assertEqual(len(rows), 10, rows)
        self.assertEqual(sum(1 for r in rows if r[3] == "예"), 5)
        self.assertEqual(sum(1 for r in rows if "(부품)" in r[0]), 1)
        # Zoom frames them all; a row zooms to its chair.
        page.button("zoomFound")
        page.shot("found-1-zoom")
        fit = page.js("return window.twinfindView.toScreen(0, 0).x - window.twinfindView.toScreen(1, 0).x")
        page.driver.find_elements("css selector", "#foundRows tr")[3].click()
        page.settle()
        closer = page.js("return window.twinfindView.toScreen(0, 0).x - window.twinfindView.toScreen(1, 0).x")
        self.assertGreater(abs(closer), abs(fit) * 2, "a row zooms in to its chair")
        page.shot("found-2-one-chair")

        # The same chair dragged finds the same ten.
        page.button("start")
        page.button("fit")
        page.drag(*PLAN_RANGE)
        for _ in range(4):
            page.wheel(*ON_CHAIR, -3)
        page.drag(*CHAIR)
        self.assertEqual(page.history().count("총 10개의 동일한 부품을 발견하였습니다."), 2)

        # End confirms; the row's preview follows the pointer, and is gone once the row is down.
        page.button("end")
        page.button("fit")
        for _ in range(6):
            if page.on_canvas(5, -10):
                break
            page.wheel(21, 16, 2)
        page.move_to(5, -7)
        page.move_to(5, -8)
        page.settle()
        self.assertGreater(page.js("return document.querySelectorAll('#temp path').length"), 0)
        page.click(5, -8)
        self.assertIn("부품형상 범위지시", page.prompt())
        self.assertEqual(page.js("return document.querySelectorAll('#temp path').length"), 0,
                         "no preview rectangle is left over the row")
        page.shot("found-3-row-placed")

    def test_found_board(self):
        # Pads on a copper board of some 40,000 segments, seen at fit zoom: drawn in the twins'
        # colour, and ringed where they are a few pixels.
        page = self.open(real("crkbd-F.Cu.dxf"),
                         settings={"mIsRotate": "1", "mTolerance": "0.001", "mIsArrange": "0"})
        page.drag(128, -108, 162, -60)
        page.drag(140.27, -68.6927, 141.29, -67.6573)
        self.assertIn("총 11개의 동일한 부품을 발견하였습니다.", page.history())
        page.button("fit")
        self.assertEqual(page.js("return document.querySelectorAll('#rings circle').length"), 11)
        colour = page.js("return getComputedStyle(document.querySelector('#blink path:not(.halo)')).stroke")
        self.assertEqual(colour, "rgb(255, 77, 255)")
        page.element("#foundFold").click()
        page.shot("found-4-board-fit")


if __name__ == "__main__":
    run_tests()
