#!/usr/bin/python3
"""Twinfind inside the real LibreCAD, driven as a person drives it, under Xvfb.

LibreCAD starts on a copy of the demo plate with the plug-in in its plug-ins folder (in a home
folder of the test's own); the Plugins menu's Twinfind entry runs the command. The range is the
whole drawing (LibreCAD's select-all, then the keypad's Enter), the part is picked by three
clicks on the first bracket's outline and holes and taken with the right button, the twins shown
are confirmed with the right button, the row's place is typed into LibreCAD's command line, and
the right button at the next part prompt, with nothing selected, ends the command. File > Save writes the drawing; ezdxf reads it.

The saved drawing must be the one `twinfind run` makes of the same file with the same answers:
every line, arc and circle (polylines taken apart into their spans) the same, within 1e-4. The
twins (five brackets, one mirrored) are deleted, their copies lie in a row below the plate.

Where the clicks go: the drawing is zoomed to fit; the red centre lines (x = 210, y = 130) and
LibreCAD's red cross at the origin show on the screen where drawing coordinates lie.

    librecad_window_test.py PLUGIN TOOL SAMPLE OUT_DIR [--keep SCREENSHOT_DIR]
"""
import math
import os
import shutil
import subprocess
import sys
import tempfile
import time

import ezdxf
import ezdxf.colors

WIDTH, HEIGHT = 1200, 800  # LibreCAD's window, at the top left of a 1280 x 900 screen
COMMAND_LINE = (1040, 682)  # LibreCAD's command line input in that window
PLUGINS_MENU = (235, 10)
TWINFIND_ENTRY = (262, 44)
SURVEY_ENTRY = (286, 69)
SETTINGS_ENTRY = (290, 94)
FILE_MENU = (36, 10)
SAVE_ITEM = (65, 121)
EMPTY = (48, 102)  # the drawing area's top left corner, beside the fitted drawing: nothing there
SETTINGS = {"mMethod": "0", "mIsRotate": "1", "mIsSymmetry": "1", "mFigure": "1",
            "mIsArrange": "1", "mIsLayer": "0", "mIsColor": "0"}
ROW_POINT = (0, -40)


def run(*args, **kwargs):
    return subprocess.run(args, check=True, **kwargs)


class Screen:
    def __init__(self, display, env):
        self.display = display
        self.env = env

    def xdotool(self, *args):
        run("xdotool", *args, env=self.env)

    def click(self, x, y, button=1):
        self.xdotool("mousemove", str(round(x)), str(round(y)))
        time.sleep(0.15)
        self.xdotool("click", str(button))
        time.sleep(0.4)

    def command(self, text):
        """Types a line into LibreCAD's command line."""
        self.click(*COMMAND_LINE)
        self.xdotool("type", "--delay", "30", text)
        self.xdotool("key", "Return")
        time.sleep(0.8)

    def key(self, name):
        self.xdotool("key", name)
        time.sleep(0.8)

    def pixels(self):
        """The screen as (width, height, rgb bytes)."""
        ppm = run("import", "-window", "root", "-depth", "8", "ppm:-", env=self.env,
                  stdout=subprocess.PIPE).stdout
        # P6\n<w> <h>\n<max>\n<data>
        parts = ppm.split(b"\n", 3)
        w, h = (int(v) for v in parts[1].split())
        return w, h, parts[3]

    def shot(self, path, window="root"):
        run("import", "-window", window, path, env=self.env)

    def window(self, title):
        """The id and place (x, y) of a top-level window with this title."""
        for _ in range(20):
            ids = subprocess.run(["xdotool", "search", "--name", title], env=self.env,
                                 stdout=subprocess.PIPE, text=True).stdout.split()
            if ids:
                geometry = subprocess.run(["xdotool", "getwindowgeometry", ids[-1]],
                                          env=self.env, stdout=subprocess.PIPE, text=True).stdout
                x, y = geometry.split("Position:")[1].split()[0].split(",")
                return ids[-1], int(x), int(y)
            time.sleep(0.5)
        raise AssertionError(f"no window {title!r}")


def mapping(screen):
    """Drawing coordinates to screen pixels: the red columns and rows of the drawing area with
    the most red pixels are the centre lines (x = 210, y = 130), the next ones LibreCAD's cross
    at the origin."""
    w, h, data = screen.pixels()
    columns, rows = {}, {}
    for y in range(90, 690):
        for x in range(40, 880):
            i = 3 * (y * w + x)
            if data[i] > 200 and data[i + 1] < 60 and data[i + 2] < 60:
                columns[x] = columns.get(x, 0) + 1
                rows[y] = rows.get(y, 0) + 1
    (x210, _), (x0, _) = sorted(columns.items(), key=lambda item: -item[1])[:2]
    (y130, _), (y0, _) = sorted(rows.items(), key=lambda item: -item[1])[:2]
    sx, sy = (x210 - x0) / 210.0, (y0 - y130) / 130.0
    if abs(sx - sy) > 0.05 * sx:
        raise AssertionError(f"the centre lines and the origin give two scales: {sx} and {sy}")
    s = (sx + sy) / 2
    return lambda x, y: (x0 + x * s, y0 - y * s)


def primitives(path):
    """Every line, arc and circle of the file's model space (polylines as their spans, block
    references as what they draw), rounded, with its colour, as a sorted list: what the drawing
    shows, whoever wrote the file."""
    doc = ezdxf.readfile(path)
    found = []

    def add_line(a, b, color):
        a, b = (round(a[0], 4), round(a[1], 4)), (round(b[0], 4), round(b[1], 4))
        found.append(("line",) + tuple(sorted([a, b])) + (color,))

    def add_arc(cx, cy, r, start, end, color):
        found.append(("arc", round(cx, 4), round(cy, 4), round(r, 4),
                      round(start % 360, 3) % 360, round(end % 360, 3) % 360, color))

    def color_of(e, outer):
        """The colour the entity is drawn in, as an RGB triple."""
        if e.dxf.hasattr("true_color"):
            return ezdxf.colors.int2rgb(e.dxf.true_color)
        aci = e.dxf.get("color", 256)
        if aci == 0:
            return outer
        if aci == 256:
            layer = doc.layers.get(e.dxf.layer) if doc.layers.has_entry(e.dxf.layer) else None
            if layer is not None and layer.dxf.hasattr("true_color"):
                return ezdxf.colors.int2rgb(layer.dxf.true_color)
            aci = abs(layer.dxf.color) if layer is not None else 7
        return ezdxf.colors.aci2rgb(aci)

    def walk(entities, outer):
        for e in entities:
            if e.dxftype() == "INSERT":
                yield from walk(e.virtual_entities(), color_of(e, outer))
            else:
                yield e, color_of(e, outer)

    for e, color in walk(doc.modelspace(), (255, 255, 255)):
        kind = e.dxftype()
        if kind == "LINE":
            add_line(e.dxf.start, e.dxf.end, color)
        elif kind == "CIRCLE":
            found.append(("circle", round(e.dxf.center[0], 4), round(e.dxf.center[1], 4),
                          round(e.dxf.radius, 4), color))
        elif kind == "ARC":
            add_arc(e.dxf.center[0], e.dxf.center[1], e.dxf.radius, e.dxf.start_angle,
                    e.dxf.end_angle, color)
        elif kind in ("LWPOLYLINE", "POLYLINE"):
            for piece in e.virtual_entities():
                if piece.dxftype() == "LINE":
                    add_line(piece.dxf.start, piece.dxf.end, color)
                else:
                    add_arc(piece.dxf.center[0], piece.dxf.center[1], piece.dxf.radius,
                            piece.dxf.start_angle, piece.dxf.end_angle, color)
    return sorted(found)


def write_settings(path):
    with open(path, "w", encoding="utf-8") as f:
        f.write("Windows Registry Editor Version 5.00\n\n"
                "[HKEY_CURRENT_USER\\SOFTWARE\\Norvane\\VEX\\Twinfind]\n")
        for name, value in SETTINGS.items():
            f.write(f'"{name}"="{value}"\n')


def main():
    plugin, tool, sample, out_dir = sys.argv[1:5]
    keep = sys.argv[sys.argv.index("--keep") + 1] if "--keep" in sys.argv else None
    work = tempfile.mkdtemp(prefix="twinfind-librecad-", dir=out_dir)
    try:
        home = os.path.join(work, "home")
        os.makedirs(os.path.join(home, ".librecad", "plugins"))
        shutil.copy(plugin, os.path.join(home, ".librecad", "plugins"))
        os.makedirs(os.path.join(home, ".config", "LibreCAD"))
        with open(os.path.join(home, ".config", "LibreCAD", "LibreCAD.conf"), "w") as f:
            f.write("[Startup]\nFirstLoad=0\nShowSplash=0\nMaximize=0\n"
                    f"[Geometry]\nWindowWidth={WIDTH}\nWindowHeight={HEIGHT}\n"
                    "WindowX=0\nWindowY=0\n")
        drawing = os.path.join(work, "plate.dxf")
        shutil.copy(sample, drawing)
        settings = os.path.join(work, "settings.reg")
        write_settings(settings)

        # What the tool makes of the same drawing with the same answers.
        expected = os.path.join(work, "expected.dxf")
        script = os.path.join(work, "answers.txt")
        with open(script, "w") as f:
            f.write("range -1000 -1000 1000 1000\nrange 15 15 65 55\nend\n"
                    f"point {ROW_POINT[0]} {ROW_POINT[1]}\nend\n")
        run(tool, "run", sample, "--script", script, "--out", expected, "--settings", settings,
            stdout=subprocess.DEVNULL)
        write_settings(settings)  # as the plug-in will read it

        display_pipe = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(display_pipe[1]), "-screen", "0",
                                 "1280x900x24", "-nolisten", "tcp"], pass_fds=[display_pipe[1]],
                                stderr=subprocess.DEVNULL)
        os.close(display_pipe[1])
        display = ":" + os.read(display_pipe[0], 16).decode().strip()
        env = dict(os.environ, DISPLAY=display, HOME=home, TWINFIND_SETTINGS=settings,
                   XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   XDG_RUNTIME_DIR=work, LANG="C.UTF-8")
        env.pop("QT_QPA_PLATFORM", None)
        librecad = subprocess.Popen(["librecad", drawing], env=env, stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL)
        screen = Screen(display, env)
        try:
            for _ in range(60):
                found = subprocess.run(["xdotool", "search", "--name", "LibreCAD"], env=env,
                                       stdout=subprocess.PIPE).stdout.strip()
                if found:
                    break
                time.sleep(0.5)
            time.sleep(3)
            screen.click(600, 400)
            screen.key("Escape")
            screen.command("za")  # the drawing fitted to the window
            for attempt in range(10):  # until LibreCAD has drawn it
                try:
                    at = mapping(screen)
                    break
                except (AssertionError, ValueError):
                    if attempt == 9:
                        raise
                    time.sleep(1)

            screen.click(*PLUGINS_MENU)
            if keep:
                screen.shot(os.path.join(keep, "librecad-0-menu.png"))
            screen.click(*TWINFIND_ENTRY)
            time.sleep(1)
            screen.command("sa")  # the range: everything, by LibreCAD's select-all
            screen.click(*EMPTY)  # into the drawing area, on nothing
            screen.key("KP_Enter")
            time.sleep(1)
            # The part: the first bracket's outline and its two holes.
            for x, y in [(40, 20), (50.5, 25), (27.5, 42)]:
                screen.click(*at(x, y))
            if keep:
                screen.shot(os.path.join(keep, "librecad-1-part-picked.png"))
            screen.click(*EMPTY, button=3)  # the part taken, with the right button this time
            time.sleep(2)
            if keep:
                screen.shot(os.path.join(keep, "librecad-2-twins-shown.png"))
            screen.click(*EMPTY, button=3)  # the twins confirmed
            time.sleep(1)
            screen.command(f"{ROW_POINT[0]},{ROW_POINT[1]}")  # the row's place
            time.sleep(2)
            screen.command("za")
            if keep:
                screen.shot(os.path.join(keep, "librecad-3-row-placed.png"))
            screen.click(*EMPTY, button=3)  # the next part: none, the command ends
            time.sleep(1)
            screen.click(*FILE_MENU)
            screen.click(*SAVE_ITEM)
            time.sleep(2)
            # The survey's dialog and the settings dialog, opened and closed again: they
            # change nothing that was saved.
            screen.click(*PLUGINS_MENU)
            screen.click(*SURVEY_ENTRY)
            survey, x, y = screen.window("Twinfind")
            screen.click(x + 40, y + 45)  # the first family: shown in the drawing
            time.sleep(1)
            if keep:
                screen.shot(os.path.join(keep, "librecad-4-survey.png"))
            screen.key("Escape")
            screen.click(*PLUGINS_MENU)
            screen.click(*SETTINGS_ENTRY)
            dialog, x, y = screen.window("동일부품검색")
            if keep:
                screen.shot(os.path.join(keep, "librecad-5-settings.png"), dialog)
            screen.click(x + 20, y + 5)
            screen.key("Escape")
        finally:
            librecad.terminate()
            librecad.wait(timeout=20)
            xvfb.terminate()
            xvfb.wait(timeout=20)

        got, want = primitives(drawing), primitives(expected)
        if got != want:
            missing = [p for p in want if p not in got]
            extra = [p for p in got if p not in want]
            print(f"the drawing LibreCAD saved differs from the tool's: {len(missing)} missing, "
                  f"{len(extra)} extra", file=sys.stderr)
            for p in missing[:10]:
                print("  missing", p, file=sys.stderr)
            for p in extra[:10]:
                print("  extra", p, file=sys.stderr)
            return 1
        below = [p for p in got if p[0] != "line" and p[2] < -10]
        if len(below) < 10:
            print(f"no row of copies below the plate: {below}", file=sys.stderr)
            return 1
        print(f"LibreCAD's drawing matches the tool's: {len(got)} lines, arcs and circles")
        return 0
    finally:
        if keep is None:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
