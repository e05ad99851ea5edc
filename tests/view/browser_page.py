"""twinfind view in a real browser, for the browser tests: the tool started in a scratch
folder, headless chromium driven by selenium through chromium-driver, and what a user does
with the page (drags, clicks, pointer motion, the wheel, typing, buttons), in drawing units.

Everything lives in the scratch folder: the tool's settings and outputs, the browser's profile
and downloads, and HOME for both.
"""
import argparse
import json
import os
import re
import shutil
import subprocess
import tempfile
import sys
import time
import unittest

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.wheel_input import ScrollOrigin
from selenium.webdriver.common.by import By

CHROMEDRIVER = "/usr/bin/chromedriver"
CHROMIUM = "/usr/bin/chromium"


class ViewPage:
    def __init__(self, tool, drawing, settings=None, out=None, shots=None, size=(1400, 900),
                 language=None):
        """language: the mLanguage setting of the command and the page ("en", "ko"), or None
        for none stored (the default, Korean)."""
        self.scratch = tempfile.TemporaryDirectory(prefix="twinfind-browser-")
        self.folder = self.scratch.name
        self.home = os.path.join(self.folder, "home")
        os.makedirs(self.home)
        self.settings = os.path.join(self.folder, "settings.reg")
        self.downloads = os.path.join(self.folder, "downloads")
        os.makedirs(self.downloads)
        self.shots = shots or os.path.join(self.folder, "shots")
        os.makedirs(self.shots, exist_ok=True)
        self.tool = tool
        self.env = {k: v for k, v in os.environ.items()
                    if k not in ("TWINFIND_SETTINGS", "XDG_CONFIG_HOME")}
        self.env["HOME"] = self.home
        self.env["TMPDIR"] = self.folder  # the view's session settings
        settings = dict(settings or {})
        if language:
            settings["mLanguage"] = language
        for name, value in settings.items():
            self.run_tool("settings", "set", name, value)
        if drawing and not os.path.abspath(drawing).startswith(self.folder + os.sep):
            # The view works on a copy in the test's own folder: a view stopped with changes
            # unsaved keeps them beside its drawing.
            copy = os.path.join(self.folder, os.path.basename(drawing))
            shutil.copyfile(drawing, copy)
            drawing = copy
        args = [tool, "view"] + ([drawing] if drawing else []) + ["--settings", self.settings]
        if out:
            args += ["--out", out]
        self.process = subprocess.Popen(args, cwd=self.folder, env=self.env, text=True,
                                        stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        self.printed = ""
        self.url = None
        deadline = time.time() + 30
        while self.url is None and time.time() < deadline:
            line = self.process.stdout.readline()
            if not line:
                break
            self.printed += line
            m = re.search(r"(http://127\.0\.0\.1:\d+/[0-9a-f]{32}/)", line)
            if m:
                self.url = m.group(1)
        if self.url is None:
            raise RuntimeError("twinfind view printed no address:\n" + self.printed)
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        for a in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                  f"--window-size={size[0]},{size[1]}", "--hide-scrollbars",
                  f"--user-data-dir={os.path.join(self.folder, 'chromium')}",
                  "--no-first-run", "--disable-extensions", "--disable-background-networking",
                  "--disable-component-update", "--disable-sync", "--metrics-recording-only",
                  "--force-device-scale-factor=1", "--lang=ko"):
            options.add_argument(a)
        options.add_experimental_option("prefs", {"download.default_directory": self.downloads,
                                                  "download.prompt_for_download": False})
        service = Service(CHROMEDRIVER, env=self.env)
        self.driver = webdriver.Chrome(service=service, options=options)
        self.driver.execute_cdp_cmd("Page.setDownloadBehavior",
                                    {"behavior": "allow", "downloadPath": self.downloads})
        self.driver.get(self.url)
        self.wait(lambda: self.js("return document.body.dataset.ready") == "1", "the first picture")
        self.settle()

    # The tool and the process.
    def run_tool(self, *args):
        return subprocess.run([self.tool, *args, "--settings", self.settings], env=self.env,
                              cwd=self.folder, check=True, capture_output=True, text=True).stdout

    def close(self):
        if self.driver is None:
            return
        driver, self.driver = self.driver, None
        try:
            driver.quit()
        finally:
            if self.process.poll() is None:
                self.process.terminate()
                self.process.wait(10)
            self.scratch.cleanup()

    def wait_exit(self, seconds=15):
        status = self.process.wait(seconds)
        self.printed += self.process.stdout.read()
        return status

    # The page.
    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def wait(self, condition, what, seconds=20):
        deadline = time.time() + seconds
        while time.time() < deadline:
            if condition():
                return
            time.sleep(0.05)
        raise AssertionError("waited in vain for " + what)

    def state(self):
        return self.js("return window.twinfindView.state()")

    def settle(self):
        """Waits until every request made so far was answered and the drawing shown is the
        drawing's latest."""
        self.driver.execute_async_script(
            "window.twinfindView.settled().then(arguments[arguments.length - 1])")
        want = str(self.state()["layers"]["lasting"])
        self.wait(lambda: self.js("return document.body.dataset.lasting") == want, "the drawing")

    def element(self, selector):
        return self.driver.find_element(By.CSS_SELECTOR, selector)

    def history(self):
        return self.element("#history").text

    def prompt(self):
        return self.element("#prompt").text

    def shot(self, name):
        time.sleep(0.3)  # the commit of a zoom, the blink's phase
        path = os.path.join(self.shots, name + ".png")
        self.driver.save_screenshot(path)
        return path

    # The mouse and the keyboard, in drawing units.
    def screen(self, x, y):
        p = self.js("return window.twinfindView.toScreen(arguments[0], arguments[1])", x, y)
        return int(round(p["x"])), int(round(p["y"]))

    def _pointer(self):
        chain = ActionChains(self.driver, duration=50)
        return chain, chain.w3c_actions.pointer_action

    def press_at(self, x, y):
        chain, pointer = self._pointer()
        pointer.move_to_location(*self.screen(x, y))
        pointer.pointer_down()
        chain.perform()

    def move_to(self, x, y):
        chain, pointer = self._pointer()
        pointer.move_to_location(*self.screen(x, y))
        chain.perform()

    def release_at(self, x, y):
        chain, pointer = self._pointer()
        pointer.move_to_location(*self.screen(x, y))
        pointer.pointer_up()
        chain.perform()
        self.settle()

    def drag(self, x1, y1, x2, y2, shot=None):
        self.press_at(x1, y1)
        self.move_to((x1 + x2) / 2, (y1 + y2) / 2)
        self.move_to(x2, y2)
        if shot:
            self.shot(shot)
        self.release_at(x2, y2)

    def click(self, x, y):
        chain, pointer = self._pointer()
        pointer.move_to_location(*self.screen(x, y))
        pointer.pointer_down()
        pointer.pointer_up()
        chain.perform()
        self.settle()

    def wheel(self, x, y, notches):
        """Turns the wheel over a drawing point: negative notches zoom in, positive out."""
        sx, sy = self.screen(x, y)
        canvas = self.element("#canvas")
        rect = canvas.rect
        origin = ScrollOrigin.from_element(canvas, int(sx - rect["x"] - rect["width"] / 2),
                                           int(sy - rect["y"] - rect["height"] / 2))
        ActionChains(self.driver).scroll_from_origin(origin, 0, int(notches * 100)).perform()
        time.sleep(0.4)  # the zoom is committed after the wheel rests

    def on_canvas(self, x, y):
        sx, sy = self.screen(x, y)
        r = self.element("#canvas").rect
        return r["x"] + 10 < sx < r["x"] + r["width"] - 10 and r["y"] + 10 < sy < r["y"] + r["height"] - 10

    def type(self, text):
        """Types at the page, as a user types without clicking the command line first."""
        ActionChains(self.driver).send_keys(text).perform()
        self.settle()

    def button(self, ident):
        self.element("#" + ident).click()
        self.settle()

    def dialog_control(self, template, ident):
        return self.element(f'.window[data-template="{template}"] [data-id="{ident}"]')

    def downloaded(self, name, seconds=10):
        path = os.path.join(self.downloads, name)
        self.wait(lambda: os.path.exists(path), "the download of " + name, seconds)
        with open(path, encoding="utf-8") as f:
            return json.load(f)


def run_tests():
    """Reads --tool, --samples and --shots, hands the rest to unittest and runs the calling
    script's tests, which read the options from the script's ARGS."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True)
    parser.add_argument("--samples", required=True)
    parser.add_argument("--shots")
    args, rest = parser.parse_known_args()
    if args.shots:
        os.makedirs(args.shots, exist_ok=True)
    sys.modules["__main__"].ARGS = args
    unittest.main(module="__main__", argv=[sys.argv[0]] + rest)
