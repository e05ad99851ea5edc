#!/usr/bin/python3
"""A whole session of twinfind view in a real browser, in English (mLanguage en) and in Korean
(the default): the settings dialog, a range too large and the range limit its line suggests
applied with a button, a range, the part picked by a click inside its outline, the count,
the confirmation, a row of copies placed, undo, the survey, and Save as over a file that
stands there. In English no screen, dialog, box or line holds a Korean character; in Korean
the command says what it always said, and the language button then turns the command and the
page to English, the lines already shown with them.

    /usr/bin/python3 browser_language_test.py --tool TWINFIND --samples SAMPLES [--shots DIR]
"""
import os
import re
import unittest

import ezdxf

from selenium.webdriver.common.keys import Keys

from browser_page import ViewPage, run_tests

ARGS = None
WHOLE = (-20, -20, 440, 280)
INSIDE_FLANGE = (48, 182)  # inside the flange's outline, in none of its holes
HANGUL = re.compile("[\u1100-\u11ff\u3130-\u318f\uac00-\ud7a3]")

# Everything the page says outside the drawing itself (whose texts are the user's): the text
# of the bar, the command line, the panels, the dialogs and the boxes, and every title,
# placeholder and label.
SAID = """
const parts = ['#bar', '#commandArea', '#sidePanels', '#foundPanel', '#dialogs', '#modal',
               '#loading', '#cursorText'];
const texts = parts.map((s) => document.querySelector(s)).filter((e) => e)
                   .map((e) => e.innerText || e.textContent);
for (const el of document.querySelectorAll('body *')) {
  if (el.closest('svg')) continue;
  for (const a of ['title', 'placeholder', 'aria-label']) if (el.getAttribute(a)) texts.push(el.getAttribute(a));
}
return texts.join('\\n');
"""


class LanguageInBrowserTest(unittest.TestCase):
    def korean_in(self, page):
        return sorted(set(HANGUL.findall(page.js(SAID))))

    def read(self, path):
        with open(path, encoding="utf-8") as f:
            return f.read()

    def close_box(self, page):
        page.wait(lambda: not page.element("#modal").get_attribute("hidden"), "the message box")
        text = page.element("#modalText").text
        page.element("#modalOk").click()
        page.settle()
        return text

    def session(self, language):
        """The whole session; the page at its end and what it said on the way."""
        settings = {"mIsArrange": "1", "mRangeLimit": "30"}
        page = ViewPage(ARGS.tool, os.path.join(ARGS.samples, "demo-plate.dxf"),
                        settings=settings, shots=ARGS.shots, language=language)
        self.addCleanup(page.close)
        english = language == "en"
        seen = []  # what every screen said, for the Korean check
        shot = lambda name: (seen.append(page.js(SAID)), page.shot(f"session-{language or 'ko'}-{name}"))
        self.assertEqual(page.js("return document.documentElement.lang"), "en" if english else "ko")
        self.assertIn("Indicate the search range" if english else "검색대상 범위지시", page.prompt())
        shot("1-loaded")

        # The end button at the first prompt: the settings dialog, closed as cancelled.
        page.button("end")
        page.wait(lambda: page.js("return document.querySelectorAll('.window').length") == 1, "the dialog")
        self.assertEqual(page.element(".window .caption").text,
                         "Identical Part Search" if english else "동일부품검색")
        shot("2-dialog")
        page.element(".window .titlebar .close").click()
        page.settle()
        page.button("start")

        # A range over the limit: the box, and the limit the line suggests, applied.
        page.drag(*WHOLE)
        box = self.close_box(page)
        self.assertIn("(T01)", box)
        suggest = page.element("#history .suggest button")
        self.assertEqual(suggest.text, "Use mRangeLimit 49" if english else "mRangeLimit 49 사용")
        shot("3-suggestion")
        suggest.click()
        page.settle()
        self.assertIn("setting: mRangeLimit 49 (for this session)", page.history())
        held = {s["name"]: s for s in page.state()["settings"]}["mRangeLimit"]
        self.assertEqual((held["value"], held["held"]), ("49", True))
        self.assertIn('"mRangeLimit"="30"', self.read(page.settings))

        # The range, the part by a click inside it, the count, the row.
        page.button("start")
        page.drag(*WHOLE)
        self.assertIn("selected 49 segments", page.history())
        page.click(*INSIDE_FLANGE)
        self.assertIn("selected 6 segments", page.history())
        self.assertIn("Found 4 identical parts in all." if english else "총 4개의 동일한 부품을 발견하였습니다.",
                      page.history())
        page.button("end")
        self.assertIn("Layout point" if english else "배치좌표", page.prompt())
        while not page.on_canvas(0, -100):  # zoomed out to see room below the plate
            page.wheel(210, 130, 2)
        page.move_to(0, -90)
        page.click(0, -90)
        self.assertIn("done: 4 copies laid out in 1 row", page.history())
        shot("4-row")
        page.button("undo")
        self.assertEqual(page.state()["history"], {"undo": 0, "redo": 1})
        shot("5-undone")

        # The survey.
        page.button("survey")
        page.wait(lambda: page.js("return document.querySelectorAll('#surveyRows tr').length") > 0,
                  "the survey's rows")
        shot("6-survey")

        # Save as, over a file that stands there: asked first, then written and told.
        other = os.path.join(page.folder, "other.dxf")
        with open(other, "w", encoding="utf-8") as f:
            f.write("not a drawing\n")
        page.button("saveAs")
        box = page.element("#modalInput")
        self.assertEqual(page.js("const b = arguments[0]; return [b.selectionStart, b.selectionEnd, b.value.length]", box),
                         [0, len(box.get_attribute("value")), len(box.get_attribute("value"))])
        box.send_keys("other.dxf")  # typed over the selected name
        self.assertEqual(box.get_attribute("value"), "other.dxf")
        box.send_keys(Keys.ENTER)
        page.wait(lambda: "other.dxf" in page.element("#modalText").text, "the question to replace")
        shot("7-replace")
        page.element("#modalOk").click()
        page.settle()
        page.wait(lambda: "other.dxf" in page.element("#info").text, "the saved line")
        self.assertEqual(len(ezdxf.readfile(other).modelspace().query("LWPOLYLINE CIRCLE LINE")), 49)
        self.assertIn("wrote other.dxf", page.history())
        shot("8-saved")
        return page, seen

    def test_session_english(self):
        page, seen = self.session("en")
        for screen in seen:
            self.assertEqual(sorted(set(HANGUL.findall(screen))), [], screen)
        self.assertEqual(page.element("#language").text, "Korean")

    def test_session_korean(self):
        page, seen = self.session(None)
        self.assertIn("검색대상 범위지시(종료버튼:Dialog) :", page.history())
        self.assertEqual(page.element("#save").text, "저장")
        # The language button: the command and the page in English, kept in the settings; the
        # lines shown are said again in English.
        page.element("#language").click()
        page.wait(lambda: page.js("return document.documentElement.lang") == "en", "the English page")
        page.wait(lambda: page.js("return document.body.dataset.ready") == "1", "the page again")
        page.settle()
        self.assertIn('"mLanguage"="en"', self.read(page.settings))
        self.assertIn("Found 4 identical parts in all.", page.history())
        # The command waited for a part: it starts again, in English.
        self.assertIn("Indicate the search range", page.prompt())
        self.assertEqual(self.korean_in(page), [])
        page.shot("session-ko-9-english")


if __name__ == "__main__":
    run_tests()
