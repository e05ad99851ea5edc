#!/usr/bin/python3
"""twinfind view on a large drawing: the time from starting the tool to the first picture in
the browser, and how smoothly the drawing pans.

    /usr/bin/python3 bench/view_bench.py [TOOL] [DRAWING]

defaults: build/default/bin/twinfind, samples/real/crkbd-F.Cu.dxf (3 MB, 40,810 segments).

Start-up: headless chromium is started first (its own start is no part of the tool's), then
the clock starts, the tool is started, and its printed address is opened; the page notes the
moment two animation frames have passed after the drawing was put into it (the picture is on
the screen). Split into the tool's start (reading the drawing, up to the printed address) and
the page's (fetching the page and the drawing's SVG, parsing and painting it).

Panning: 240 animation frames, each moving the drawing by a few pixels through the page's own
drag path (a CSS transform on the composited layer, committed when it nears the layer's edge),
against the same frames moving it by setting the SVG group's transform each frame (what a pan
that repaints the SVG costs). Frame intervals: median and 95th percentile, and their ratio.
"""
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
tool = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build/default/bin/twinfind")
drawing = sys.argv[2] if len(sys.argv) > 2 else os.path.join(ROOT, "samples/real/crkbd-F.Cu.dxf")

REPAINTING_PAN = """
const done = arguments[arguments.length - 1];
const g = document.getElementById('view');
const base = g.getAttribute('transform');
const times = [];
let n = 0, x = 0, y = 0;
const tick = (t) => {
  times.push(t);
  if (n++ >= arguments[0]) { g.setAttribute('transform', base); done(times); return; }
  x += 3; y += 2;
  g.setAttribute('transform', `translate(${x} ${y}) ` + base);
  requestAnimationFrame(tick);
};
requestAnimationFrame(tick);
"""


def intervals(times):
    return [b - a for a, b in zip(times, times[1:])]


def main():
    with tempfile.TemporaryDirectory(prefix="twinfind-view-bench-") as folder:
        env = dict(os.environ, HOME=folder)
        env.pop("TWINFIND_SETTINGS", None)
        options = webdriver.ChromeOptions()
        for a in ("--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=1400,900",
                  f"--user-data-dir={folder}/chromium", "--force-device-scale-factor=1"):
            options.add_argument(a)
        driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver", env=env),
                                  options=options)
        driver.get("about:blank")
        start = time.time()
        view = subprocess.Popen([tool, "view", drawing, "--settings", f"{folder}/s.reg"],
                                cwd=folder, env=env, text=True, stdout=subprocess.PIPE,
                                stderr=subprocess.STDOUT)
        url = None
        while url is None:
            line = view.stdout.readline()
            if not line:
                sys.exit("the tool printed no address")
            m = re.search(r"(http://127\.0\.0\.1:\d+/[0-9a-f]{32}/)", line)
            url = m and m.group(1)
        printed = time.time()
        driver.get(url)
        first = None
        while first is None:
            first = driver.execute_script("return window.twinfindFirstPicture || null")
            time.sleep(0.005)
        first /= 1000.0
        svg = driver.execute_script("return document.getElementById('lasting').childElementCount")
        print(f"start-up to first picture: {first - start:.3f} s "
              f"(the tool to its address {printed - start:.3f} s, the page {first - printed:.3f} s); "
              f"{svg} SVG elements in the drawing's layer")

        frames = 240
        smooth = intervals(driver.execute_async_script(
            "window.twinfindView.benchPan(arguments[0], 3, 2).then(arguments[arguments.length - 1])",
            frames))
        repaint = intervals(driver.execute_async_script(REPAINTING_PAN, frames))
        for name, v in (("pan by the layer's transform", smooth),
                        ("pan repainting the SVG each frame", repaint)):
            q = statistics.quantiles(v, n=20)
            print(f"{name}: frame interval median {statistics.median(v):.1f} ms, "
                  f"95th percentile {q[18]:.1f} ms, longest {max(v):.1f} ms")
        print(f"ratio, repainting to layer: median "
              f"{statistics.median(repaint) / statistics.median(smooth):.2f}, 95th percentile "
              f"{statistics.quantiles(repaint, n=20)[18] / statistics.quantiles(smooth, n=20)[18]:.2f}")
        driver.quit()
        view.terminate()
        view.wait(10)


if __name__ == "__main__":
    main()
