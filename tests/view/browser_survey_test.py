#!/usr/bin/python3
"""The view's Survey button driven through a real browser (headless chromium), as a user uses it.

    /usr/bin/python3 browser_survey_test.py --tool TWINFIND --samples SAMPLES [--shots DIR] [TEST ...]

A generated drawing of known families: the rows, the highlight under the pointer, a pick that
has the command find the family and go on to its result step, a pick refused in the middle of
a search and after the drawing changed; the balloon method; a drawing without repeated parts;
the plan's sofas (photographed into --shots DIR, how docs/view/ is made); every family of the
plan and of the board picked in turn.
"""
import math
import os
import re
import subprocess
import tempfile
import unittest

import ezdxf
from selenium.webdriver.common.action_chains import ActionChains

from browser_page import ViewPage, run_tests

ARGS = None


def families_drawing(path, copies=True):
    """Four L-shaped plates (one turned a quarter, one mirrored) and two bars, among a lone
    line and a circle; without copies one plate and one bar only."""
    doc = ezdxf.new("R2010")
    msp = doc.modelspace()
    ell = [(0, 0), (12, 0), (12, 4), (4, 4), (4, 9), (0, 9)]
    bar = [(0, 0), (20, 0), (20, 7), (0, 7)]

    def place(points, dx, dy, turn=0.0, mirror=False):
        c, s = math.cos(turn), math.sin(turn)
        msp.add_lwpolyline([((-x if mirror else x) * c - y * s + dx,
                             (-x if mirror else x) * s + y * c + dy) for x, y in points],
                           close=True)

    place(ell, 0, 0)
    place(bar, 0, 40)
    if copies:
        place(ell, 30, 0)
        place(ell, 70, 0, turn=math.pi / 2)
        place(ell, 110, 20, mirror=True)
        place(bar, 40, 40)
    msp.add_line((0, 60), (50, 75))
    msp.add_circle((90, 50), 6)
    doc.saveas(path)


class SurveyInBrowserTest(unittest.TestCase):
    def open(self, drawing, **kwargs):
        page = ViewPage(ARGS.tool, drawing, shots=ARGS.shots, **kwargs)
        self.addCleanup(page.close)
        return page

    def survey_rows(self, page):
        page.element("#survey").click()
        page.wait(lambda: "조사하는 중" not in page.element("#surveyNote").text, "the survey",
                  seconds=120)
        page.settle()
        return [[td.text for td in row.find_elements("css selector", "td")]
                for row in page.driver.find_elements("css selector", "#surveyRows tr")]

    def test_survey(self):
        folder = tempfile.TemporaryDirectory(prefix="twinfind-survey-")
        self.addCleanup(folder.cleanup)
        drawing = os.path.join(folder.name, "families.dxf")
        families_drawing(drawing)
        page = self.open(drawing=drawing, settings={"mIsRotate": "1", "mIsSymmetry": "1"})
        # The families, largest first: parts and mirrored ones.
        rows = self.survey_rows(page)
        self.assertEqual([(r[1], r[2]) for r in rows], [("4", "1"), ("2", "0")], rows)
        self.assertEqual(rows[0][4], "12 × 9")
        # The pointer over a row shows its members, and nothing once it leaves.
        first = page.element("#surveyRows tr")
        ActionChains(page.driver).move_to_element(first).perform()
        page.wait(lambda: page.js("return document.querySelectorAll('#surveyed path').length") > 0,
                  "the family highlighted")
        ActionChains(page.driver).move_to_element(page.element("#title")).perform()
        page.wait(lambda: page.js("return document.querySelectorAll('#surveyed path').length") == 0,
                  "the highlight gone")

        # A pick from the range step: the command is told a window over each member for the
        # range and the first member's window for the part, and finds the four plates, which
        # blink.
        first.click()
        page.settle()
        self.assertIn("selected 4 segments", page.history())
        self.assertIn("총 4개의 동일한 부품을 발견하였습니다.", page.history())
        self.assertIn("형상확인을 하셨습니까?", page.prompt())
        self.assertGreater(page.js("return document.querySelectorAll('#blink path').length"), 0)
        # In the middle of a search a pick is refused, and the search goes on.
        page.driver.find_elements("css selector", "#surveyRows tr")[1].click()
        page.settle()
        self.assertIn("the command is in the middle of a search", page.history())
        self.assertIn("형상확인을 하셨습니까?", page.prompt())
        # A survey in the middle of a search leaves the search as it was (the twins blinking,
        # the host's lists kept), and the copies below come out whole.
        self.assertEqual(len(self.survey_rows(page)), 2)
        self.assertIn("형상확인을 하셨습니까?", page.prompt())
        self.assertGreater(page.js("return document.querySelectorAll('#blink path').length"), 0)
        # The result step goes on as usual: the row of copies, placed by a click.
        page.button("end")
        self.assertIn("배치좌표", page.prompt())
        for _ in range(6):
            if page.on_canvas(0, -30):
                break
            page.wheel(55, 37, 2)
        page.click(0, -30)
        self.assertIn("부품형상 범위지시 :", page.prompt())
        self.assertLess(page.state()["extent"]["minY"], -20, "the copies lie below the drawing")
        # The copies changed the drawing: the list says so and a pick asks for a new survey.
        page.wait(lambda: "바뀌었습니다" in page.element("#surveyNote").text, "the stale note")
        page.element("#surveyRows tr").click()
        page.settle()
        self.assertIn("the drawing has changed since the survey", page.history())
        # From the part step a pick leaves the command as the end button does and starts it
        # again: the bars, now with the survey of the drawing with its copies.
        rows = self.survey_rows(page)
        self.assertEqual(rows[0][1:3], ["8", "2"], rows)
        bars = next(i for i, r in enumerate(rows) if r[4] == "20 × 7")
        page.driver.find_elements("css selector", "#surveyRows tr")[bars].click()
        page.settle()
        self.assertIn("총 2개의 동일한 부품을 발견하였습니다.", page.history().split("family")[-1])
        page.button("end")
        self.assertIn("배치좌표", page.prompt())

    def test_survey_balloons_and_none(self):
        folder = tempfile.TemporaryDirectory(prefix="twinfind-survey-")
        self.addCleanup(folder.cleanup)
        drawing = os.path.join(folder.name, "families.dxf")
        families_drawing(drawing)
        # The balloon method: the pick gives the range, the user answers the material and the
        # number, and the part is indicated when the command asks for it.
        page = self.open(drawing=drawing, settings={"mIsRotate": "1", "mIsSymmetry": "1",
                                                    "mMethod": "1", "mIsBalloonAutoArrange": "0"})
        self.survey_rows(page)
        page.element("#surveyRows tr").click()
        page.settle()
        self.assertIn("재질", page.prompt())
        page.type("SS400\n")
        page.type("P-1\n")
        if "깊이" in page.prompt():
            page.type("\n")
        self.assertIn("총 4개의 동일한 부품을 발견하였습니다.", page.history())
        self.assertIn("풍선배치위치지시", page.prompt())
        page.close()

        # A drawing without repeated parts: the list says so.
        alone = os.path.join(folder.name, "alone.dxf")
        families_drawing(alone, copies=False)
        page = self.open(drawing=alone)
        self.assertEqual(self.survey_rows(page), [])
        self.assertIn("반복되는 부품이 없습니다", page.element("#surveyNote").text)

    def test_survey_plan(self):
        # The plan's sofas, turned and mirrored: the largest family, highlighted under the
        # pointer, and the command's count when it is picked.
        page = self.open(drawing=os.path.join(ARGS.samples, "real", "Ceco.NET-Architecture-Tm-53.dxf"),
                         settings={"mIsRotate": "1", "mIsSymmetry": "1"})
        rows = self.survey_rows(page)
        sofas = [i for i, r in enumerate(rows) if r[1:4] == ["10", "5", "17"]]
        self.assertEqual(len(sofas), 1, rows[:5])
        sofa_row = page.driver.find_elements("css selector", "#surveyRows tr")[sofas[0]]
        ActionChains(page.driver).move_to_element(sofa_row).perform()
        page.wait(lambda: page.js("return document.querySelectorAll('#surveyed path').length") > 0,
                  "the sofas highlighted")
        page.shot("survey-1-sofas")
        sofa_row.click()
        page.settle()
        self.assertIn("총 10개의 동일한 부품을 발견하였습니다.", page.history())
        page.shot("survey-2-sofas-found")

    def test_survey_every_family(self):
        # On the plan and on the board, turns and mirror images on, each family of the list
        # picked in turn: the command reports the family's count every time, and the drawing
        # is unchanged (no rows of copies). A family whose part window takes more segments
        # than the part (its line says so) is no family a window can indicate, and is skipped.
        settings = {"mIsRotate": "1", "mIsSymmetry": "1", "mIsArrange": "0"}
        for name in ("Ceco.NET-Architecture-Tm-53.dxf", "crkbd-F.Cu.dxf"):
            drawing = os.path.join(ARGS.samples, "real", name)
            page = self.open(drawing=drawing, settings=settings)
            listed = subprocess.run([ARGS.tool, "survey", drawing, "--settings", page.settings],
                                    capture_output=True, text=True, env=page.env, check=True).stdout
            lines = re.findall(r"^family (\d+): (\d+) parts?,.*$", listed, re.M)
            boxed = {int(n) for n, _ in re.findall(r"^family (\d+): (\d+) parts?,.*lying in its "
                                                   r"box$", listed, re.M)}
            rows = self.survey_rows(page)
            self.assertEqual([r[1] for r in rows], [count for _, count in lines], name)
            picked = 0
            for index, row in enumerate(rows):
                if index + 1 in boxed:
                    continue
                page.driver.find_elements("css selector", "#surveyRows tr")[index].click()
                page.settle()
                told = page.history().split(f"survey: family {index + 1},")[-1]
                self.assertIn(f"총 {row[1]}개의 동일한 부품을 발견하였습니다.", told,
                              f"{name}, family {index + 1}")
                page.button("end")
                page.settle()
                picked += 1
            self.assertEqual(picked, len(rows) - len(boxed), name)
            self.assertGreater(picked, len(rows) // 2, name)
            self.assertNotIn("바뀌었습니다", page.element("#surveyNote").text, name)
            page.close()


if __name__ == "__main__":
    run_tests()
