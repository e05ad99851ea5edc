#!/usr/bin/python3
"""The layer panel of the view, driven through a real browser (headless chromium).

    /usr/bin/python3 browser_layers_test.py --tool TWINFIND --samples SAMPLES [--shots DIR] [TEST ...]

The demo plate with its SPARE layer (the fourth flange, the only green figures) off in the
file: the panel lists every layer with its colour, its switch and its segments, SPARE off; the
flange is neither drawn nor selected by the range's window, and the search finds three
flanges. Switched on, it is drawn, the window selects it and the search finds four. The survey
leaves it out unless its "hidden layers" box is ticked, and a family with parts on it is not
picked while it is off. Save keeps each layer as the file has it (read back with ezdxf). Each
state is photographed (--shots DIR is how docs/view/ is made).
"""
import os
import tempfile
import unittest

import ezdxf

from browser_page import ViewPage, run_tests

ARGS = None
WHOLE = (-20, -20, 440, 280)
FLANGE = (25, 175, 71, 221)
SPARE_GREEN = "#3cff50"  # the host colour the SPARE layer's green is drawn in


class LayersInBrowserTest(unittest.TestCase):
    def plate_with_spare_off(self):
        folder = tempfile.TemporaryDirectory(prefix="twinfind-layers-")
        self.addCleanup(folder.cleanup)
        doc = ezdxf.readfile(os.path.join(ARGS.samples, "demo-plate.dxf"))
        doc.layers.get("SPARE").off()
        path = os.path.join(folder.name, "plate.dxf")
        doc.saveas(path)
        return path

    def rows(self, page):
        return page.js("""return [...document.querySelectorAll('#layerRows tr')].map((r) => ({
            layer: Number(r.dataset.layer), on: r.querySelector('input').checked,
            text: r.textContent, colour: r.querySelector('.swatch').style.background}));""")

    def drawn_green(self, page):
        return SPARE_GREEN in page.js("return document.getElementById('lasting').innerHTML").lower()

    def switch(self, page, layer):
        page.element(f'#layerRows tr[data-layer="{layer}"] input').click()
        page.settle()

    def search(self, page):
        """The search range over the whole plate and the flange as the part: the selection
        line of the range and the count."""
        page.button("start")
        page.button("fit")
        page.drag(*WHOLE)
        page.drag(*FLANGE)
        lines = page.history().splitlines()
        selected = [l for l in lines if l.startswith("selected ")]
        found = [l for l in lines if "개의 동일한 부품을 발견하였습니다" in l]
        return selected[-2].split(":")[0], found[-1]

    def test_layers(self):
        drawing = self.plate_with_spare_off()
        page = ViewPage(ARGS.tool, drawing, shots=ARGS.shots, out="saved.dxf")
        self.addCleanup(page.close)
        page.button("layersButton")
        rows = self.rows(page)
        self.assertEqual([r["layer"] for r in rows], [0, 1, 2, 3, 4, 5, 6])
        spare = rows[4]
        self.assertIn("SPARE", spare["text"])
        self.assertTrue(spare["text"].endswith("6"), spare)
        self.assertFalse(spare["on"], "a layer off in the file starts off")
        self.assertTrue(all(r["on"] for r in rows if r["layer"] != 4))
        self.assertEqual(spare["colour"], "rgb(60, 255, 80)")

        # Off: not drawn, not selected, not found.
        self.assertFalse(self.drawn_green(page))
        self.assertEqual(self.search(page), ("selected 43 segments", "총 3개의 동일한 부품을 발견하였습니다."))
        page.button("end")
        page.shot("layers-1-spare-off")

        # On: drawn, selected, found.
        self.switch(page, 4)
        self.assertIn("layer: 4 SPARE on", page.history())
        self.assertTrue(self.drawn_green(page))
        self.assertTrue(self.rows(page)[4]["on"])
        self.assertEqual(self.search(page), ("selected 49 segments", "총 4개의 동일한 부품을 발견하였습니다."))
        page.shot("layers-2-spare-on-found")
        page.button("end")  # the row of copies is asked for; no row
        page.button("end")

        # Off again, and the survey: the flanges' family has three parts, four with the hidden
        # layers ticked, and then it is not picked while SPARE is off.
        self.switch(page, 4)
        self.assertFalse(self.drawn_green(page))
        flanges = self.survey(page).get("36 × 36")
        page.element("#surveyHidden").click()
        page.wait(lambda: "숨은 레이어 포함" in page.element("#surveyNote").text,
                  "the survey with the hidden layers")
        page.settle()
        rows = self.survey_rows(page)
        self.assertEqual((flanges, rows.get("36 × 36")), (3, 4))
        flanges = list(rows).index("36 × 36")
        page.driver.find_elements("css selector", "#surveyRows tr")[flanges].click()
        page.settle()
        self.assertIn("has parts on layers that are off (4 SPARE)", page.history())

        # Save: SPARE is off in the file although shown, PARTS on although hidden. Switching
        # layers changes nothing that Save writes.
        self.switch(page, 4)
        self.switch(page, 3)
        self.assertIn("저장하지 않은 변경 없음", page.element("#saved").text)
        page.button("save")
        page.wait(lambda: os.path.exists(os.path.join(page.folder, "saved.dxf")), "the saved file")
        doc = ezdxf.readfile(os.path.join(page.folder, "saved.dxf"))
        self.assertTrue(doc.layers.get("SPARE").is_off())
        self.assertFalse(doc.layers.get("PARTS").is_off())

    def survey(self, page):
        page.button("survey")
        page.wait(lambda: page.js("return document.querySelectorAll('#surveyRows tr').length") > 0,
                  "the survey's rows")
        return self.survey_rows(page)

    def survey_rows(self, page):
        """The families listed: their box's size, and their count of parts."""
        rows = {}
        for r in page.driver.find_elements("css selector", "#surveyRows tr"):
            cells = [td.text for td in r.find_elements("css selector", "td")]
            rows.setdefault(cells[4], int(cells[1]))
        return rows


if __name__ == "__main__":
    run_tests()
